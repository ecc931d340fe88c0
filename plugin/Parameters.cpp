// Controls: the twelve parameters (engine/ParameterTable.h), the editor-only settings
// (engine/SettingTable.h) and bypass; their texts and normalised values for hosts.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/Ranges.h"
#include "plugin/FreezePlugin.h"
#include "plugin/ValueText.h"

namespace {

// The nearest whole value within lo..hi (NaN: lo).
int32_t wholeValue(float value, int32_t lo, int32_t hi) {
    return truncToInt(static_cast<double>(value) + 0.5, lo, hi);
}

bool sameWord(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        const char x = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a - 'A' + 'a') : *a;
        const char y = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b - 'A' + 'a') : *b;
        if (x != y) return false;
    }
    return *a == *b;
}

bool copyText(const char* source, char* text, int32_t size) {
    if (!text || size <= 0 || std::strlen(source) >= static_cast<size_t>(size)) return false;
    std::strcpy(text, source);
    return true;
}

// A whole number or a decimal, with nothing but blanks around it.
bool readNumber(const char* text, double& number) {
    if (!text) return false;
    char* end = nullptr;
    number = std::strtod(text, &end);
    if (end == text) return false;
    while (*end == ' ' || *end == '\t') ++end;
    return *end == '\0' && std::isfinite(number);
}

}  // namespace

void FreezePlugin::setParameter(int32_t index, float value) {
    if (!isParameter(index)) return;
    const int32_t slot = slotOfParameter(index);
    if (slot == kThresholdSlot)
        setThreshold(value);
    else
        setProgramValue(slot, value);
}

float FreezePlugin::getParameter(int32_t index) const {
    if (!isParameter(index)) return 0.0f;
    const int32_t slot = slotOfParameter(index);
    return slot == kThresholdSlot ? signal.values.threshold.load() : signal.values.programValues[slot].load();
}

void FreezePlugin::setControl(int32_t control, float value) {
    if (isParameter(control))
        setParameter(control, value);
    else if (isSettingControl(control))
        applySetting(settingOfControl(control), wholeValue(value, settingInfo(settingOfControl(control)).minimum,
                                                           settingInfo(settingOfControl(control)).maximum));
    else if (control == kBypassControl)
        setBypass(value > 0.5f);
}

float FreezePlugin::getControl(int32_t control) const {
    if (isParameter(control)) return getParameter(control);
    if (control == kBypassControl) return isBypassed() ? 1.0f : 0.0f;
    if (!isSettingControl(control)) return 0.0f;
    switch (settingOfControl(control)) {
    case Setting::preFilterType: return static_cast<float>(getPreFilterType());
    case Setting::postFilterType: return static_cast<float>(getPostFilterType());
    case Setting::sequenceLength: return static_cast<float>(getSequenceLength());
    case Setting::midiNoteControl: return isMidiNoteControl() ? 1.0f : 0.0f;
    case Setting::noteRecordStart: return isNoteRecordStart() ? 1.0f : 0.0f;
    case Setting::repeatTillNoteOff: return isRepeatTillNoteOff() ? 1.0f : 0.0f;
    case Setting::inverse: return isInverse() ? 1.0f : 0.0f;
    }
    return 0.0f;
}

void FreezePlugin::applySetting(Setting setting, int32_t value) {
    switch (setting) {
    case Setting::preFilterType: setFilterType(1, value); break;
    case Setting::postFilterType: setFilterType(2, value); break;
    case Setting::sequenceLength: setSequenceLength(sequenceLengthValueFor(value)); break;
    case Setting::midiNoteControl: setMidiNoteControl(value != 0); break;
    case Setting::noteRecordStart: setNoteRecordStart(value != 0); break;
    case Setting::repeatTillNoteOff: setRepeatTillNoteOff(value != 0); break;
    case Setting::inverse: setInverse(value != 0); break;
    }
}

float FreezePlugin::defaultOf(int32_t control) {
    if (isParameter(control)) return parameterInfo(control).defaultValue;
    if (isSettingControl(control)) return static_cast<float>(settingInfo(settingOfControl(control)).defaultValue);
    return 0.0f;
}

double FreezePlugin::normalisedOf(int32_t control, float value) {
    const double v = value != value ? 0.0 : static_cast<double>(value);
    double lo = 0.0, hi = 1.0;
    if (isSettingControl(control)) {
        lo = settingInfo(settingOfControl(control)).minimum;
        hi = settingInfo(settingOfControl(control)).maximum;
    }
    const double n = (v - lo) / (hi - lo);
    return n < 0.0 ? 0.0 : (n > 1.0 ? 1.0 : n);
}

float FreezePlugin::valueOfNormalised(int32_t control, double normalised) {
    const double n = normalised != normalised ? 0.0 : (normalised < 0.0 ? 0.0 : (normalised > 1.0 ? 1.0 : normalised));
    if (isSettingControl(control)) {
        const SettingInfo& info = settingInfo(settingOfControl(control));
        return static_cast<float>(wholeValue(static_cast<float>(info.minimum + n * (info.maximum - info.minimum)),
                                             info.minimum, info.maximum));
    }
    if (control == kBypassControl) return n >= 0.5 ? 1.0f : 0.0f;
    return static_cast<float>(n);
}

bool FreezePlugin::controlText(int32_t control, float value, char* text, int32_t size) {
    if (!text || size <= 0) return false;
    if (isParameter(control)) {
        if (size < kValueTextSize) return false;
        floatToText(hostTextValue(parameterInfo(control), value), text);
        return true;
    }
    if (control == kBypassControl) return copyText(kToggleTexts[value > 0.5f ? 1 : 0], text, size);
    if (!isSettingControl(control)) return false;
    const SettingInfo& info = settingInfo(settingOfControl(control));
    const int32_t whole = wholeValue(value, info.minimum, info.maximum);
    switch (info.kind) {
    case SettingKind::filterType: return copyText(kFilterTypeNames[static_cast<size_t>(whole)], text, size);
    case SettingKind::toggle: return copyText(kToggleTexts[whole != 0 ? 1 : 0], text, size);
    case SettingKind::steps: {
        char number[16];
        std::snprintf(number, sizeof number, "%d", static_cast<int>(whole));
        return copyText(number, text, size);
    }
    }
    return false;
}

bool FreezePlugin::controlFromText(int32_t control, const char* text, float& value) {
    if (!text) return false;
    while (*text == ' ') ++text;
    double number = 0.0;
    if (isParameter(control)) {
        if (!readNumber(text, number)) return false;
        const ParameterInfo& info = parameterInfo(control);
        const WorkingRule& rule = info.working;
        // A text that shows the working value names the stored value that gives it (a whole
        // one from the middle of its range, clear of the truncation's edges).
        if (info.hostText == HostText::WorkingValue && rule.scale != 0.0)
            number = (number + (rule.whole ? 0.5 : 0.0) - rule.offset) / rule.scale;
        value = static_cast<float>(number < 0.0 ? 0.0 : (number > 1.0 ? 1.0 : number));
        // A text as the plug-in writes it (digits cut, not rounded) reads back as a value that
        // the plug-in writes the same way: the nearest float above whose text it is.
        char shown[kValueTextSize];
        if (std::strlen(text) == kValueTextWidth && controlText(control, value, shown, sizeof shown) &&
            std::strcmp(shown, text) != 0)
            for (float up = value; up < 1.0f && up < value + 1e-5f;) {
                up = std::nextafter(up, 2.0f);
                if (controlText(control, up, shown, sizeof shown) && std::strcmp(shown, text) == 0) {
                    value = up;
                    break;
                }
            }
        return true;
    }
    if (control != kBypassControl && !isSettingControl(control)) return false;
    const SettingKind kind =
        control == kBypassControl ? SettingKind::toggle : settingInfo(settingOfControl(control)).kind;
    const int32_t lo = control == kBypassControl ? 0 : settingInfo(settingOfControl(control)).minimum;
    const int32_t hi = control == kBypassControl ? 1 : settingInfo(settingOfControl(control)).maximum;
    if (kind == SettingKind::filterType)
        for (int32_t type = 0; type < kNumFilterTypes; ++type)
            if (sameWord(text, kFilterTypeNames[static_cast<size_t>(type)])) {
                value = static_cast<float>(type);
                return true;
            }
    if (kind == SettingKind::toggle)
        for (int32_t state = 0; state < 2; ++state)
            if (sameWord(text, kToggleTexts[state])) {
                value = static_cast<float>(state);
                return true;
            }
    if (!readNumber(text, number) || number < lo || number > hi) return false;
    value = static_cast<float>(wholeValue(static_cast<float>(number), lo, hi));
    return true;
}

// --- the editor's operations ---

void FreezePlugin::setProgramValue(int32_t slot, float value) {
    if (slot < 0 || slot >= kNumProgramValues) return;
    programs[currentProgramIndex()].values[slot] = value;
    signal.values.setProgramValue(slot, value);
}

float FreezePlugin::getProgramValue(int32_t slot) const {
    if (slot < 0 || slot >= kNumProgramValues) return 0.0f;
    return signal.values.programValues[slot];
}

void FreezePlugin::setThreshold(float value) {
    programs[currentProgramIndex()].threshold = value;
    signal.values.threshold = value;
}

void FreezePlugin::setStepValue(int32_t step, float value) {
    if (step < 0 || step >= kNumStepValues) return;
    signal.values.stepValues[step] = value;
}

float FreezePlugin::getStepValue(int32_t step) const {
    if (step < 0 || step >= kNumStepValues) return 0.0f;
    return signal.values.stepValues[step];
}

void FreezePlugin::setSequenceLength(float value) {
    value = editedSequenceLengthValue(value);
    programs[currentProgramIndex()].sequenceLengthValue = value;
    signal.values.setSequenceLength(value);
}

void FreezePlugin::setFilterType(int32_t which, int32_t type) {
    (which == 1 ? signal.values.preFilter.type : signal.values.postFilter.type) = type;
    FreezeProgram& program = programs[currentProgramIndex()];
    (which == 1 ? program.preFilterType : program.postFilterType) = type;
}

void FreezePlugin::cycleFilterType(int32_t which) {
    setFilterType(which, nextFilterType(which == 1 ? signal.values.preFilter.type : signal.values.postFilter.type));
}

// --- edits that reach the host ---

void FreezePlugin::beginEdit(int32_t control) {
    if (editSink) editSink->beginEdit(control);
}

void FreezePlugin::edit(int32_t control, float value) {
    if (!(isSettingControl(control) && editSink && editSink->hostAppliesSettings())) setControl(control, value);
    if (editSink) editSink->performEdit(control, value);
}

void FreezePlugin::reportEdit(int32_t control) {
    if (editSink) editSink->performEdit(control, getControl(control));
}

void FreezePlugin::endEdit(int32_t control) {
    if (editSink) editSink->endEdit(control);
}

void FreezePlugin::editOnce(int32_t control, float value) {
    beginEdit(control);
    edit(control, value);
    endEdit(control);
}
