// The VST 3 factory interfaces and their records: what a module tells a host about itself
// and its classes, and IPluginBase, the start of every component and controller.
#pragma once

#include <cstddef>

#include "vst3/Vst3Base.h"

namespace v3 {

struct PFactoryInfo {
    char8 vendor[64];
    char8 url[256];
    char8 email[128];
    int32 flags;
};
constexpr int32 kFactoryUnicode = 16;
static_assert(sizeof(PFactoryInfo) == 452 && alignof(PFactoryInfo) == 4);
static_assert(offsetof(PFactoryInfo, url) == 64 && offsetof(PFactoryInfo, email) == 320 &&
              offsetof(PFactoryInfo, flags) == 448);

struct PClassInfo {
    TUID cid;
    int32 cardinality;
    char8 category[32];
    char8 name[64];
};
static_assert(sizeof(PClassInfo) == 116 && alignof(PClassInfo) == 4);
static_assert(offsetof(PClassInfo, cardinality) == 16 && offsetof(PClassInfo, category) == 20 &&
              offsetof(PClassInfo, name) == 52);

struct PClassInfo2 {
    TUID cid;
    int32 cardinality;
    char8 category[32];
    char8 name[64];
    uint32 classFlags;
    char8 subCategories[128];
    char8 vendor[64];
    char8 version[64];
    char8 sdkVersion[64];
};
static_assert(sizeof(PClassInfo2) == 440 && alignof(PClassInfo2) == 4);
static_assert(offsetof(PClassInfo2, classFlags) == 116 && offsetof(PClassInfo2, subCategories) == 120 &&
              offsetof(PClassInfo2, vendor) == 248 && offsetof(PClassInfo2, version) == 312 &&
              offsetof(PClassInfo2, sdkVersion) == 376);

struct PClassInfoW {
    TUID cid;
    int32 cardinality;
    char8 category[32];
    char16 name[64];
    uint32 classFlags;
    char8 subCategories[128];
    char16 vendor[64];
    char16 version[64];
    char16 sdkVersion[64];
};
static_assert(sizeof(PClassInfoW) == 696 && alignof(PClassInfoW) == 4);
static_assert(offsetof(PClassInfoW, name) == 52 && offsetof(PClassInfoW, classFlags) == 180 &&
              offsetof(PClassInfoW, subCategories) == 184 && offsetof(PClassInfoW, vendor) == 312 &&
              offsetof(PClassInfoW, version) == 440 && offsetof(PClassInfoW, sdkVersion) == 568);

constexpr int32 kManyInstances = 0x7FFFFFFF;
constexpr uint32 kDistributable = 1;

class IPluginFactory : public FUnknown {
protected:
    ~IPluginFactory() = default;

public:
    virtual tresult V3CALL getFactoryInfo(PFactoryInfo* info) = 0;
    virtual int32 V3CALL countClasses() = 0;
    virtual tresult V3CALL getClassInfo(int32 index, PClassInfo* info) = 0;
    virtual tresult V3CALL createInstance(FIDString cid, FIDString iid, void** obj) = 0;
};
class IPluginFactory2 : public IPluginFactory {
protected:
    ~IPluginFactory2() = default;

public:
    virtual tresult V3CALL getClassInfo2(int32 index, PClassInfo2* info) = 0;
};
class IPluginFactory3 : public IPluginFactory2 {
protected:
    ~IPluginFactory3() = default;

public:
    virtual tresult V3CALL getClassInfoUnicode(int32 index, PClassInfoW* info) = 0;
    virtual tresult V3CALL setHostContext(FUnknown* context) = 0;
};
inline constexpr Uid kIPluginFactoryIid{0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F};
inline constexpr Uid kIPluginFactory2Iid{0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB};
inline constexpr Uid kIPluginFactory3Iid{0x4555A2AB, 0xC1234E57, 0x9B122910, 0x36878931};

class IPluginBase : public FUnknown {
protected:
    ~IPluginBase() = default;

public:
    virtual tresult V3CALL initialize(FUnknown* context) = 0;
    virtual tresult V3CALL terminate() = 0;
};
inline constexpr Uid kIPluginBaseIid{0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625};

class IHostApplication : public FUnknown {
protected:
    ~IHostApplication() = default;

public:
    virtual tresult V3CALL getName(String128 name) = 0;
    virtual tresult V3CALL createInstance(TUID cid, TUID iid, void** obj) = 0;
};
inline constexpr Uid kIHostApplicationIid{0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5};

}  // namespace v3
