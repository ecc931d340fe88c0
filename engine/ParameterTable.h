// What a parameter is, in one table: for each of the twelve automatable parameters its index,
// its VST 2 name and label, its LV2 symbol and name, the program slot that stores it (or none:
// the threshold), its default (the init program's value), how the signal path derives its
// working value and how a host's text and the editor show it. The parameters, the working
// values, the core's derivations, the slider bank, the LV2 description and the tests read it;
// nothing else keeps these facts (only tests/binary pins, as literals, what the released VST 2
// build shows a host, so that a change here that would change it is caught).
//
// Also here: the settings that only the editor makes in the VST 2 build (the filter types and
// the sequence length), as far as other code needs them without the engine.
//
// Portable C++17, constexpr throughout, no OS headers: build-time generators include it alone.
#pragma once

#include <array>
#include <cstdint>

#include "engine/ChunkLayout.h"

// --- the parameters ---

constexpr int32_t kNumParams = 12;

// Every parameter's value is 0..1 as a host automates it; the plug-in keeps whatever a host
// stores (NaN, huge, negative) and limits only what it derives.
constexpr float kParameterMinimum = 0.0f;
constexpr float kParameterMaximum = 1.0f;

enum : int32_t {
    kParamAttack = 0,
    kParamRelease = 1,
    kParamSize = 2,
    kParamKnak = 3,
    kParamDryWet = 4,
    kParamBits = 5,
    kParamRepeat = 6,
    kParamThreshold = 7,
    kParamPreCutoff = 8,
    kParamPreReso = 9,
    kParamPostCutoff = 10,
    kParamPostReso = 11,
};

// The slot of a parameter that no program slot stores: the threshold has its own field of the
// program record (engine/ChunkLayout.h).
constexpr int32_t kThresholdSlot = -1;

// How the signal path derives a working value w from the stored value v. Each rule is the
// arithmetic the engine has always done, operand for operand, so that the audio stays bit for
// bit as it was; deriveSingle and deriveDouble below carry it out.
enum class Derivation : int32_t {
    Direct,           // w = v, as stored (the threshold, compared with the envelope)
    Unit,             // w = v limited to 0..1 (NaN 0)
    UnitThenAffine,   // x = v limited to 0..1 (NaN 0); w = x * scale + offset
    AffineThenLimit,  // w = v * scale + offset, limited to lo..hi (NaN: ifNaN)
    SquareThenLimit,  // w = v * v, limited to lo..hi (NaN: ifNaN)
};

// The arithmetic's width: single (float) or double precision, the operands taken exactly.
enum class Precision : int32_t { Single, Double };

struct WorkingRule {
    Derivation derivation;
    Precision precision;
    double scale;
    double offset;
    double lo;
    double hi;
    double ifNaN;
    // The working value is a whole number, truncated toward zero after the rule.
    bool whole;
    // What w is, in words, for readers and generated documentation.
    const char* meaning;
};

// What a host's parameter text (VST 2 getParameterDisplay) shows: the stored value, or the
// working value (as a float), each written by floatToText.
enum class HostText : int32_t { StoredValue, WorkingValue };

// Where the editor shows a parameter: a bar slider (position = slider from the left, which is
// the program slot), or the threshold line of the meter (position 0).
enum class EditorControl : int32_t { Slider, Meter };

struct EditorView {
    EditorControl control;
    int32_t position;
    const char* label;  // under the slider or the meter
    // A slider's number: truncated toward zero (bounded, NaN 0) of numberScale * v +
    // numberOffset, in double precision. The meter shows no number.
    double numberScale;
    double numberOffset;
};

struct ParameterInfo {
    int32_t index;
    const char* vstName;   // effGetParamName
    const char* vstLabel;  // effGetParamLabel
    const char* lv2Symbol;
    const char* lv2Name;
    int32_t slot;  // program slot 0..10, or kThresholdSlot
    float defaultValue;
    WorkingRule working;
    HostText hostText;
    EditorView editor;
};

namespace parameterTableDetail {

constexpr WorkingRule direct(const char* meaning) {
    return {Derivation::Direct, Precision::Single, 1.0, 0.0, 0.0, 1.0, 0.0, false, meaning};
}
constexpr WorkingRule unit(const char* meaning) {
    return {Derivation::Unit, Precision::Single, 1.0, 0.0, 0.0, 1.0, 0.0, false, meaning};
}
constexpr WorkingRule unitThenAffine(Precision precision, double scale, double offset, bool whole,
                                     const char* meaning) {
    return {Derivation::UnitThenAffine, precision, scale, offset, 0.0, 1.0, 0.0, whole, meaning};
}
constexpr WorkingRule affineThenLimit(double scale, double offset, double lo, double hi, double ifNaN,
                                      bool whole, const char* meaning) {
    return {Derivation::AffineThenLimit, Precision::Single, scale, offset, lo, hi, ifNaN, whole, meaning};
}
constexpr WorkingRule squareThenLimit(const char* meaning) {
    return {Derivation::SquareThenLimit, Precision::Single, 1.0, 0.0, 0.0, 1.0, 1.0, false, meaning};
}
constexpr EditorView slider(int32_t position, const char* label, double scale = 100.0, double offset = 0.0) {
    return {EditorControl::Slider, position, label, scale, offset};
}
constexpr EditorView meter(const char* label) { return {EditorControl::Meter, 0, label, 0.0, 0.0}; }

constexpr WorkingRule kCutoff =
    squareThenLimit("filter cutoff value v squared (0..1); the design's centre is 9000 w + 50 Hz");
constexpr WorkingRule kReso =
    affineThenLimit(-0.9, 1.0, 0.1, 1.0, 1.0, false, "filter bandwidth in octaves, 1 - 0.9 v (0.1..1)");

}  // namespace parameterTableDetail

// In index order: kParameterTable[i].index == i.
inline constexpr std::array<ParameterInfo, kNumParams> kParameterTable = [] {
    using namespace parameterTableDetail;
    using P = Precision;
    return std::array<ParameterInfo, kNumParams>{{
        {kParamAttack, "attack", "attack", "attack", "Attack", 0, 0.0f,
         unitThenAffine(P::Double, 200.0, 2.0, false, "envelope attack time in ms, 200 v + 2"),
         HostText::StoredValue, slider(0, "Atk")},
        {kParamRelease, "release", "release", "release", "Release", 1, 0.2f,
         unitThenAffine(P::Double, 500.0, 2.0, false, "envelope release time in ms, 500 v + 2"),
         HostText::StoredValue, slider(1, "Dcy")},
        {kParamSize, "size", "size", "size", "Size", 2, 0.25f,
         affineThenLimit(15.0, 1.0, 1.0, 16.0, 1.0, true,
                         "loop length in grid units of 1/256 bar, trunc(15 v + 1) (1..16)"),
         HostText::WorkingValue, slider(2, "Size", 15.0, 1.0)},
        {kParamKnak, "knak", "knak", "knak", "Knak", 3, 0.1f,
         unitThenAffine(P::Double, 0.9, 0.0, false,
                        "fade zone at the loop's end as a part of the loop, 0.9 v (at least 40 samples)"),
         HostText::StoredValue, slider(3, "Smth")},
        {kParamDryWet, "dry/wet", "dry/wet", "dry_wet", "Dry/Wet", 4, 1.0f,
         unit("wet gain v (0..1), dry gain 1 - v"), HostText::StoredValue, slider(4, "Wet")},
        {kParamBits, "bits", "bits", "bits", "Bits", 5, 1.0f,
         affineThenLimit(31.0, 1.0, 1.0, 32.0, 32.0, false, "bit depth of the loop, 31 v + 1 (1..32)"),
         HostText::StoredValue, slider(5, "Bits", 31.0, 1.0)},
        {kParamRepeat, "repeat", "repeat", "repeat", "Repeat", 6, 0.5f,
         unitThenAffine(P::Single, 31.0, 2.0, true,
                        "repeat limit trunc(31 v + 2): the loop plays that many passes less one"),
         HostText::StoredValue, slider(6, "Rep", 31.0, 1.0)},
        {kParamThreshold, "threshold", "threshold", "threshold", "Threshold", kThresholdSlot, 0.15f,
         direct("trigger level, compared with the envelope"), HostText::StoredValue, meter("Threshold")},
        {kParamPreCutoff, "pre-cutoff", "pre-cutoff", "pre_cutoff", "Pre-filter cutoff", 7, 1.0f, kCutoff,
         HostText::StoredValue, slider(7, "Cut")},
        {kParamPreReso, "pre-reso", "pre-reso", "pre_reso", "Pre-filter resonance", 8, 0.0f, kReso,
         HostText::StoredValue, slider(8, "Rez")},
        {kParamPostCutoff, "post-cutoff", "post-cutoff", "post_cutoff", "Post-filter cutoff", 9, 1.0f,
         kCutoff, HostText::StoredValue, slider(9, "Cut")},
        {kParamPostReso, "post-reso", "post-reso", "post_reso", "Post-filter resonance", 10, 0.0f, kReso,
         HostText::StoredValue, slider(10, "Rez")},
    }};
}();

// --- looking parameters up ---

constexpr bool isParameter(int32_t index) { return index >= 0 && index < kNumParams; }

// The row of a parameter index (which must be a parameter), and its working-value rule.
constexpr const ParameterInfo& parameterInfo(int32_t index) {
    return kParameterTable[static_cast<size_t>(index)];
}
constexpr const WorkingRule& workingRuleOf(int32_t index) { return parameterInfo(index).working; }

// The program slot of a parameter index; kThresholdSlot (-1) for the threshold and for an index
// that is no parameter.
constexpr int32_t slotOfParameter(int32_t index) {
    return isParameter(index) ? kParameterTable[static_cast<size_t>(index)].slot : kThresholdSlot;
}

// The parameter a program slot stores, or -1 for a slot outside 0..10.
constexpr int32_t parameterOfSlot(int32_t slot) {
    for (const ParameterInfo& info : kParameterTable)
        if (info.slot >= 0 && info.slot == slot) return info.index;
    return -1;
}

// The threshold's index.
constexpr int32_t thresholdParameter() {
    for (const ParameterInfo& info : kParameterTable)
        if (info.slot == kThresholdSlot) return info.index;
    return -1;
}

namespace parameterTableDetail {
constexpr bool sameText(const char* a, const char* b) {
    if (!a || !b) return false;
    while (*a && *a == *b) ++a, ++b;
    return *a == *b;
}
}  // namespace parameterTableDetail

// The parameter with this LV2 symbol, or null.
constexpr const ParameterInfo* parameterBySymbol(const char* symbol) {
    for (const ParameterInfo& info : kParameterTable)
        if (parameterTableDetail::sameText(info.lv2Symbol, symbol)) return &info;
    return nullptr;
}

// The parameter with this VST 2 name, or null.
constexpr const ParameterInfo* parameterByVstName(const char* name) {
    for (const ParameterInfo& info : kParameterTable)
        if (parameterTableDetail::sameText(info.vstName, name)) return &info;
    return nullptr;
}

// The program slots' defaults, by slot (the init program).
constexpr std::array<float, kNumProgramValues> defaultProgramValues() {
    std::array<float, kNumProgramValues> values{};
    for (const ParameterInfo& info : kParameterTable)
        if (info.slot >= 0) values[static_cast<size_t>(info.slot)] = info.defaultValue;
    return values;
}

// --- working values ---

// The rule in single precision (Precision::Single): the operands are converted to float and
// combined in the order the rule names. A whole working value is truncated by the caller's
// conversion to an integer.
constexpr float deriveSingle(const WorkingRule& rule, float v) {
    const auto scale = static_cast<float>(rule.scale);
    const auto offset = static_cast<float>(rule.offset);
    const auto lo = static_cast<float>(rule.lo);
    const auto hi = static_cast<float>(rule.hi);
    const auto ifNaN = static_cast<float>(rule.ifNaN);
    switch (rule.derivation) {
    case Derivation::Unit: return v != v ? 0.0f : (v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v));
    case Derivation::UnitThenAffine: {
        const float x = v != v ? 0.0f : (v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v));
        return x * scale + offset;
    }
    case Derivation::AffineThenLimit: {
        const float w = v * scale + offset;
        return w != w ? ifNaN : (w < lo ? lo : (w > hi ? hi : w));
    }
    case Derivation::SquareThenLimit: {
        const float w = v * v;
        return w != w ? ifNaN : (w < lo ? lo : (w > hi ? hi : w));
    }
    default: return v;
    }
}

// The rule in double precision (Precision::Double): v limited in float, then widened.
constexpr double deriveDouble(const WorkingRule& rule, float v) {
    switch (rule.derivation) {
    case Derivation::Unit:
        return static_cast<double>(v != v ? 0.0f : (v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v)));
    case Derivation::UnitThenAffine: {
        const float x = v != v ? 0.0f : (v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v));
        return static_cast<double>(x) * rule.scale + rule.offset;
    }
    case Derivation::AffineThenLimit: {
        const double w = static_cast<double>(v) * rule.scale + rule.offset;
        return w != w ? rule.ifNaN : (w < rule.lo ? rule.lo : (w > rule.hi ? rule.hi : w));
    }
    case Derivation::SquareThenLimit: {
        const double w = static_cast<double>(v) * static_cast<double>(v);
        return w != w ? rule.ifNaN : (w < rule.lo ? rule.lo : (w > rule.hi ? rule.hi : w));
    }
    default: return static_cast<double>(v);
    }
}

// A parameter's working value in the precision of its rule, as a double (exact for Single).
constexpr double workingValueOf(const ParameterInfo& info, float v) {
    return info.working.precision == Precision::Single ? static_cast<double>(deriveSingle(info.working, v))
                                                       : deriveDouble(info.working, v);
}

// A whole working value (WorkingRule::whole, single precision): the rule's result truncated
// toward zero. Every whole rule is bounded, so the conversion is always defined.
constexpr int32_t wholeWorkingValue(const WorkingRule& rule, float v) {
    return static_cast<int32_t>(deriveSingle(rule, v));
}

// The number a host's parameter text shows for a stored value (written by floatToText).
constexpr float hostTextValue(const ParameterInfo& info, float stored) {
    if (info.hostText == HostText::StoredValue) return stored;
    if (info.working.whole) return static_cast<float>(wholeWorkingValue(info.working, stored));
    return static_cast<float>(workingValueOf(info, stored));
}

// --- the settings only the editor makes (the host sees no parameter for them) ---

enum class FilterType : int32_t { OFF = 0, LP = 1, HP = 2, BP = 3 };
constexpr int32_t kMaxFilterType = 3;
constexpr int32_t kNumFilterTypes = kMaxFilterType + 1;
// As the editor's type boxes show them, by type.
inline constexpr std::array<const char*, kNumFilterTypes> kFilterTypeNames = {"OFF", "LP", "HP", "BP"};

// A stored type that runs a filter: LP, HP or BP. Anything else, OFF included, runs none.
constexpr bool isRealType(int32_t type) { return type >= 1 && type <= kMaxFilterType; }

// A stored type as the editor shows it: outside 0..3 it acts as OFF.
constexpr FilterType filterTypeOf(int32_t stored) {
    return stored >= 0 && stored <= kMaxFilterType ? static_cast<FilterType>(stored) : FilterType::OFF;
}

// The type a click on a type box selects after the stored one: OFF, LP, HP, BP, OFF, ...
// (a stored type outside 0..3 counts as OFF).
constexpr int32_t nextFilterType(int32_t stored) {
    const int32_t next = static_cast<int32_t>(filterTypeOf(stored)) + 1;
    return next > kMaxFilterType ? 0 : next;
}

// The init program's filter types and sequence-length value (16 steps of the sequence).
constexpr FilterType kDefaultFilterType = FilterType::OFF;
constexpr float kDefaultSequenceLengthValue = 1.0f;

// The sequence length is stored as a value (the editor's length bar, 0..1); it plays
// trunc(16 v) steps, within 1..16 whatever was stored (NaN: 16).
constexpr int32_t kMaxSequenceLength = 16;
constexpr int32_t sequenceLengthOf(float value) {
    const auto most = static_cast<float>(kMaxSequenceLength);
    const float steps = most * value;
    const float limited = steps != steps ? most : (steps < 1.0f ? 1.0f : (steps > most ? most : steps));
    return static_cast<int32_t>(limited);
}
// The value that plays `steps` steps (1..16): steps / 16, exactly.
constexpr float sequenceLengthValueFor(int32_t steps) {
    return static_cast<float>(steps) / static_cast<float>(kMaxSequenceLength);
}
// An edit of the length stores at least this value (NaN is stored as it is).
constexpr float kMinSequenceLengthValue = 0.07f;
constexpr float editedSequenceLengthValue(float value) {
    return value < kMinSequenceLengthValue ? kMinSequenceLengthValue : value;
}

// --- the table's own consistency, checked when anything includes it ---

namespace parameterTableDetail {
constexpr bool tableIsConsistent() {
    bool slotTaken[kNumProgramValues] = {};
    int32_t thresholds = 0;
    for (size_t i = 0; i < kParameterTable.size(); ++i) {
        const ParameterInfo& info = kParameterTable[i];
        if (info.index != static_cast<int32_t>(i)) return false;
        if (info.slot == kThresholdSlot) {
            ++thresholds;
            if (info.editor.control != EditorControl::Meter) return false;
        } else {
            if (info.slot < 0 || info.slot >= kNumProgramValues || slotTaken[info.slot]) return false;
            slotTaken[info.slot] = true;
            // The editor's sliders are the program slots, from the left.
            if (info.editor.control != EditorControl::Slider || info.editor.position != info.slot)
                return false;
        }
        if (!(info.defaultValue >= kParameterMinimum && info.defaultValue <= kParameterMaximum)) return false;
        if (info.working.precision == Precision::Double &&
            info.working.derivation != Derivation::UnitThenAffine)
            return false;
        // A whole working value is bounded and single precision.
        if (info.working.whole &&
            (info.working.precision != Precision::Single || info.working.derivation == Derivation::Direct ||
             info.working.derivation == Derivation::Unit))
            return false;
        // LV2 symbols: lower-case C identifiers, unique.
        const char* s = info.lv2Symbol;
        if (!s || !(*s >= 'a' && *s <= 'z')) return false;
        for (; *s; ++s)
            if (!((*s >= 'a' && *s <= 'z') || (*s >= '0' && *s <= '9') || *s == '_')) return false;
        for (size_t j = 0; j < i; ++j)
            if (sameText(kParameterTable[j].lv2Symbol, info.lv2Symbol) ||
                sameText(kParameterTable[j].vstName, info.vstName))
                return false;
    }
    for (bool taken : slotTaken)
        if (!taken) return false;
    return thresholds == 1;
}
}  // namespace parameterTableDetail

static_assert(parameterTableDetail::tableIsConsistent(),
              "one row per index in order, every program slot once, one threshold, LV2 symbols unique "
              "lower-case identifiers, defaults 0..1");
static_assert(static_cast<float>(0.9) == 0.9f && static_cast<float>(-0.9) == -0.9f &&
                  static_cast<float>(0.1) == 0.1f,
              "the reso rule's scale is the float the engine has always used");
static_assert(thresholdParameter() == kParamThreshold && slotOfParameter(kParamPreCutoff) == 7 &&
                  parameterOfSlot(7) == kParamPreCutoff,
              "parameters 0..6 keep their index as slot, 8..11 sit one slot lower");
