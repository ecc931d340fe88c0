// Vst3Effect as edit controller: the parameter list from the plug-in's tables, texts, plain
// values, the program list, and the editor's edits to the host.
#include <cstdio>
#include <cstring>

#include "engine/ParameterTable.h"
#include "engine/SettingTable.h"
#include "vst3/Vst3Effect.h"
#include "vst3/Vst3State.h"
#include "vst3/Vst3Strings.h"

using namespace v3;

namespace {

bool isControl(ParamID id) { return id < static_cast<ParamID>(kNumControls); }
bool isKnown(ParamID id) { return id < static_cast<ParamID>(kNumVst3Params); }

double clampUnit(double value) { return value != value ? 0.0 : value < 0.0 ? 0.0 : value > 1.0 ? 1.0 : value; }

int32_t stepCountOf(int32_t id) {
    if (id == kProgramParamId) return kNumPrograms - 1;
    if (id == kBypassControl) return 1;
    if (isSettingControl(id)) {
        const SettingInfo& info = settingInfo(settingOfControl(id));
        return info.maximum - info.minimum;
    }
    return 0;
}

}  // namespace

void Vst3Effect::readValuesFromPlugin() {
    forgetEditorChanges();
    for (int32_t control = 0; control < kNumControls; ++control)
        values[control] = FreezePlugin::normalisedOf(control, neutral.getControl(control));
    values[kProgramParamId] = static_cast<double>(neutral.getProgram()) / (kNumPrograms - 1);
}

// The one object's component has taken these bytes already (hosts give the component its
// state first); the controller checks them and shows what the plug-in now holds.
tresult V3CALL Vst3Effect::setComponentState(IBStream* state) {
    const int32_t size = vst3state::readStream(state, stateBytes);
    vst3state::Parsed parsed;
    if (size < 0 || !vst3state::parse(stateBytes, size, parsed)) return kResultFalse;
    readValuesFromPlugin();
    return kResultOk;
}

int32 V3CALL Vst3Effect::getParameterCount() { return kNumVst3Params; }

tresult V3CALL Vst3Effect::getParameterInfo(int32 index, v3::ParameterInfo& info) {
    if (index < 0 || index >= kNumVst3Params) return kInvalidArgument;
    std::memset(&info, 0, sizeof info);
    info.id = static_cast<ParamID>(index);
    info.stepCount = stepCountOf(index);
    info.unitId = kRootUnitId;
    const char* title = "";
    const char* shortTitle = "";
    if (isParameter(index)) {
        title = parameterInfo(index).lv2Name;
        shortTitle = parameterInfo(index).vstName;
        info.flags = kCanAutomate;
    } else if (isSettingControl(index)) {
        const SettingInfo& setting = settingInfo(settingOfControl(index));
        title = shortTitle = setting.name;
        info.flags = kCanAutomate | (setting.kind == SettingKind::filterType ? kIsList : 0);
    } else if (index == kBypassControl) {
        title = shortTitle = "Bypass";
        info.flags = kCanAutomate | kIsBypass;
    } else {
        title = shortTitle = "Program";
        info.flags = kIsProgramChange | kIsList;
    }
    info.defaultNormalizedValue =
        index == kProgramParamId ? 0.0 : FreezePlugin::normalisedOf(index, FreezePlugin::defaultOf(index));
    vst3text::toUtf16(info.title, 128, title);
    vst3text::toUtf16(info.shortTitle, 128, shortTitle);
    return kResultOk;
}

tresult V3CALL Vst3Effect::getParamStringByValue(ParamID id, ParamValue normalised, String128 string) {
    if (!string || !isKnown(id)) return kInvalidArgument;
    char text[32];
    if (id == static_cast<ParamID>(kProgramParamId)) {
        neutral.getProgramNameOf(programOfNormalised(normalised), text);
    } else {
        const int32_t control = static_cast<int32_t>(id);
        if (!FreezePlugin::controlText(control, FreezePlugin::valueOfNormalised(control, normalised), text,
                                       sizeof text))
            return kResultFalse;
    }
    vst3text::toUtf16(string, 128, text);
    return kResultOk;
}

tresult V3CALL Vst3Effect::getParamValueByString(ParamID id, TChar* string, ParamValue& normalised) {
    char text[64];
    if (!isKnown(id) || !vst3text::fromUtf16(string, text, sizeof text)) return kResultFalse;
    if (id == static_cast<ParamID>(kProgramParamId)) {
        for (int32_t program = 0; program < kNumPrograms; ++program) {
            char name[32];
            neutral.getProgramNameOf(program, name);
            if (std::strcmp(name, text) == 0) {
                normalised = static_cast<double>(program) / (kNumPrograms - 1);
                return kResultOk;
            }
        }
        return kResultFalse;
    }
    float value = 0.0f;
    const int32_t control = static_cast<int32_t>(id);
    if (!FreezePlugin::controlFromText(control, text, value)) return kResultFalse;
    normalised = FreezePlugin::normalisedOf(control, value);
    return kResultOk;
}

// Plain values: a parameter's own 0..1, a setting's whole number, bypass 0 or 1, the program
// number. Pure arithmetic: hosts call these on their audio thread.
ParamValue V3CALL Vst3Effect::normalizedParamToPlain(ParamID id, ParamValue normalised) {
    if (id == static_cast<ParamID>(kProgramParamId)) return programOfNormalised(normalised);
    if (!isControl(id)) return clampUnit(normalised);
    return static_cast<double>(FreezePlugin::valueOfNormalised(static_cast<int32_t>(id), normalised));
}

ParamValue V3CALL Vst3Effect::plainParamToNormalized(ParamID id, ParamValue plain) {
    if (id == static_cast<ParamID>(kProgramParamId))
        return clampUnit(static_cast<double>(truncToInt(plain + 0.5, 0, kNumPrograms - 1)) / (kNumPrograms - 1));
    if (!isControl(id)) return clampUnit(plain);
    const int32_t control = static_cast<int32_t>(id);
    if (isParameter(control)) return clampUnit(plain);
    const double limited = plain != plain ? 0.0 : plain < -1e9 ? -1e9 : plain > 1e9 ? 1e9 : plain;
    return FreezePlugin::normalisedOf(control, static_cast<float>(limited));
}

ParamValue V3CALL Vst3Effect::getParamNormalized(ParamID id) { return isKnown(id) ? values[id] : 0.0; }

// The host's value for the controller to show. A program chosen here (a host's program menu)
// is applied at once, so that the values the host reads next are that program's.
tresult V3CALL Vst3Effect::setParamNormalized(ParamID id, ParamValue value) {
    if (!isKnown(id)) return kInvalidArgument;
    values[id] = clampUnit(value);
    if (id == static_cast<ParamID>(kProgramParamId)) {
        const int32_t program = programOfNormalised(value);
        if (program != neutral.getProgram()) {
            neutral.setProgram(program);
            readValuesFromPlugin();
            if (componentHandler) componentHandler->restartComponent(kParamValuesChanged);
        }
    }
    return kResultOk;
}

tresult V3CALL Vst3Effect::setComponentHandler(IComponentHandler* handler) {
    if (handler == componentHandler) return kResultOk;
    if (handler) handler->addRef();
    if (componentHandler) componentHandler->release();
    componentHandler = handler;
    return kResultOk;
}

// --- the program list ---

int32 V3CALL Vst3Effect::getUnitCount() { return 1; }

tresult V3CALL Vst3Effect::getUnitInfo(int32 unitIndex, UnitInfo& info) {
    if (unitIndex != 0) return kInvalidArgument;
    std::memset(&info, 0, sizeof info);
    info.id = kRootUnitId;
    info.parentUnitId = kNoParentUnitId;
    info.programListId = kProgramListId;
    vst3text::toUtf16(info.name, 128, "Root");
    return kResultOk;
}

int32 V3CALL Vst3Effect::getProgramListCount() { return 1; }

tresult V3CALL Vst3Effect::getProgramListInfo(int32 listIndex, ProgramListInfo& info) {
    if (listIndex != 0) return kInvalidArgument;
    std::memset(&info, 0, sizeof info);
    info.id = kProgramListId;
    info.programCount = kNumPrograms;
    vst3text::toUtf16(info.name, 128, "Programs");
    return kResultOk;
}

tresult V3CALL Vst3Effect::getProgramName(ProgramListID listId, int32 programIndex, String128 name) {
    if (listId != kProgramListId || programIndex < 0 || programIndex >= kNumPrograms || !name)
        return kInvalidArgument;
    char text[32];
    neutral.getProgramNameOf(programIndex, text);
    vst3text::toUtf16(name, 128, text);
    return kResultOk;
}

tresult V3CALL Vst3Effect::getProgramInfo(ProgramListID, int32, CString, String128) { return kResultFalse; }

tresult V3CALL Vst3Effect::hasProgramPitchNames(ProgramListID, int32) { return kResultFalse; }

tresult V3CALL Vst3Effect::getProgramPitchName(ProgramListID, int32, int16, String128) { return kResultFalse; }

UnitID V3CALL Vst3Effect::getSelectedUnit() { return kRootUnitId; }

tresult V3CALL Vst3Effect::selectUnit(UnitID unitId) { return unitId == kRootUnitId ? kResultOk : kResultFalse; }

tresult V3CALL Vst3Effect::getUnitByBus(MediaType, BusDirection, int32, int32, UnitID& unitId) {
    unitId = kRootUnitId;
    return kResultOk;
}

tresult V3CALL Vst3Effect::setUnitProgramData(int32, int32, IBStream*) { return kNotImplemented; }

// --- the editor's edits: gestures to the host, which hands the values to process ---

void Vst3Effect::beginEdit(int32_t control) {
    if (componentHandler && isControl(static_cast<ParamID>(control)))
        componentHandler->beginEdit(static_cast<ParamID>(control));
}

void Vst3Effect::performEdit(int32_t control, float value) {
    if (!isControl(static_cast<ParamID>(control))) return;
    // Told here, the edit is not found again by the next report.
    reported[control] = neutral.getControl(control);
    values[control] = FreezePlugin::normalisedOf(control, value);
    if (componentHandler) componentHandler->performEdit(static_cast<ParamID>(control), values[control]);
}

void Vst3Effect::endEdit(int32_t control) {
    if (componentHandler && isControl(static_cast<ParamID>(control)))
        componentHandler->endEdit(static_cast<ParamID>(control));
}


