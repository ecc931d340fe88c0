// The module's factory: one audio effect class, made on request.
#pragma once

#include <atomic>

#include "vst3/Vst3Factory.h"

class Vst3Module final : public v3::IPluginFactory3 {
public:
    // The module's one factory with a reference for the caller (made at the first call; null
    // when it cannot be made).
    static v3::IPluginFactory* acquire();

    v3::tresult V3CALL queryInterface(const v3::TUID iid, void** obj) override;
    v3::uint32 V3CALL addRef() override;
    v3::uint32 V3CALL release() override;
    v3::tresult V3CALL getFactoryInfo(v3::PFactoryInfo* info) override;
    v3::int32 V3CALL countClasses() override;
    v3::tresult V3CALL getClassInfo(v3::int32 index, v3::PClassInfo* info) override;
    v3::tresult V3CALL createInstance(v3::FIDString cid, v3::FIDString iid, void** obj) override;
    v3::tresult V3CALL getClassInfo2(v3::int32 index, v3::PClassInfo2* info) override;
    v3::tresult V3CALL getClassInfoUnicode(v3::int32 index, v3::PClassInfoW* info) override;
    v3::tresult V3CALL setHostContext(v3::FUnknown* context) override;

    // The host context given through setHostContext (borrowed; null without one).
    static v3::FUnknown* hostContext();

private:
    Vst3Module() = default;
    ~Vst3Module();
    std::atomic<uint32_t> references{1};
    v3::FUnknown* context = nullptr;
};

// What the class reports (tests read them back through the factory).
inline constexpr char kClassCategory[] = "Audio Module Class";
inline constexpr char kClassSubCategories[] = "Fx|Delay|Stereo";
inline constexpr char kSdkVersion[] = "VST 3.7.14";
