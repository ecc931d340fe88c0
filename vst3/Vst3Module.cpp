// Vst3Module: the factory and what it says of the module and its class.
#include "vst3/Vst3Module.h"

#include <cstring>
#include <mutex>
#include <new>

#include "plugin/PluginInfo.h"
#include "vst3/Vst3Effect.h"
#include "vst3/Vst3Ids.h"
#include "vst3/Vst3Strings.h"

using namespace v3;

namespace {
Vst3Module* theModule = nullptr;
std::mutex moduleLock;

void writeCommon(TUID cid, int32& cardinality, char8 (&category)[32]) {
    std::memcpy(cid, kProcessorUid.bytes, 16);
    cardinality = kManyInstances;
    vst3text::copy(category, kClassCategory);
}
}  // namespace

IPluginFactory* Vst3Module::acquire() {
    std::lock_guard<std::mutex> hold(moduleLock);
    if (theModule) {
        theModule->addRef();
        return theModule;
    }
    theModule = new (std::nothrow) Vst3Module();
    return theModule;
}

FUnknown* Vst3Module::hostContext() { return theModule ? theModule->context : nullptr; }

Vst3Module::~Vst3Module() {
    if (context) context->release();
}

tresult V3CALL Vst3Module::queryInterface(const TUID iid, void** obj) {
    if (!obj) return kInvalidArgument;
    if (kFUnknownIid.is(iid) || kIPluginFactoryIid.is(iid) || kIPluginFactory2Iid.is(iid) ||
        kIPluginFactory3Iid.is(iid)) {
        *obj = static_cast<IPluginFactory3*>(this);
        addRef();
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

uint32 V3CALL Vst3Module::addRef() { return ++references; }

uint32 V3CALL Vst3Module::release() {
    std::lock_guard<std::mutex> hold(moduleLock);
    const uint32_t left = --references;
    if (left == 0) {
        if (theModule == this) theModule = nullptr;
        delete this;
    }
    return left;
}

tresult V3CALL Vst3Module::getFactoryInfo(PFactoryInfo* info) {
    if (!info) return kInvalidArgument;
    std::memset(info, 0, sizeof *info);
    vst3text::copy(info->vendor, kVendorName);
    vst3text::copy(info->url, kVendorUrl);
    info->flags = kFactoryUnicode;
    return kResultOk;
}

int32 V3CALL Vst3Module::countClasses() { return 1; }

tresult V3CALL Vst3Module::getClassInfo(int32 index, PClassInfo* info) {
    if (index != 0 || !info) return kInvalidArgument;
    std::memset(info, 0, sizeof *info);
    writeCommon(info->cid, info->cardinality, info->category);
    vst3text::copy(info->name, kPluginName);
    return kResultOk;
}

tresult V3CALL Vst3Module::getClassInfo2(int32 index, PClassInfo2* info) {
    if (index != 0 || !info) return kInvalidArgument;
    std::memset(info, 0, sizeof *info);
    writeCommon(info->cid, info->cardinality, info->category);
    vst3text::copy(info->name, kPluginName);
    info->classFlags = 0;
    vst3text::copy(info->subCategories, kClassSubCategories);
    vst3text::copy(info->vendor, kVendorName);
    vst3text::copy(info->version, kVersionString);
    vst3text::copy(info->sdkVersion, kSdkVersion);
    return kResultOk;
}

tresult V3CALL Vst3Module::getClassInfoUnicode(int32 index, PClassInfoW* info) {
    if (index != 0 || !info) return kInvalidArgument;
    std::memset(info, 0, sizeof *info);
    writeCommon(info->cid, info->cardinality, info->category);
    vst3text::toUtf16(info->name, 64, kPluginName);
    info->classFlags = 0;
    vst3text::copy(info->subCategories, kClassSubCategories);
    vst3text::toUtf16(info->vendor, 64, kVendorName);
    vst3text::toUtf16(info->version, 64, kVersionString);
    vst3text::toUtf16(info->sdkVersion, 64, kSdkVersion);
    return kResultOk;
}

tresult V3CALL Vst3Module::createInstance(FIDString cid, FIDString iid, void** obj) {
    if (!obj) return kInvalidArgument;
    *obj = nullptr;
    if (!cid || !iid || !kProcessorUid.is(cid)) return kNoInterface;
    Vst3Effect* effect = nullptr;
    try {
        effect = new Vst3Effect();
    } catch (...) {
        return kOutOfMemory;
    }
    const tresult result = effect->queryInterface(iid, obj);
    effect->release();
    return result;
}

tresult V3CALL Vst3Module::setHostContext(FUnknown* host) {
    if (host) host->addRef();
    if (context) context->release();
    context = host;
    return kResultOk;
}
