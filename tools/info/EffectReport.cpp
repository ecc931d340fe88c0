// Reads an effect through its record, as a host would, and prints it.
#include "tools/info/EffectReport.h"

#include <cstring>
#include <string>

namespace {

// Host text buffers are generous: a plug-in that writes past the published lengths must
// not corrupt the tool's stack while it is being inspected.
constexpr int kTextBuffer = 256;

std::string askText(AEffect* effect, int32_t opcode, int32_t index) {
    char text[kTextBuffer] = {};
    effect->dispatcher(effect, opcode, index, 0, text, 0.0f);
    text[kTextBuffer - 1] = '\0';
    return text;
}

std::string flagNames(int32_t flags) {
    static const struct {
        int32_t bit;
        const char* name;
    } kNames[] = {
        {effFlagsHasEditor, "HasEditor"},
        {effFlagsHasClip, "HasClip"},
        {effFlagsHasVu, "HasVu"},
        {effFlagsCanMono, "CanMono"},
        {effFlagsCanReplacing, "CanReplacing"},
        {effFlagsProgramChunks, "ProgramChunks"},
        {effFlagsIsSynth, "IsSynth"},
        {effFlagsNoSoundInStop, "NoSoundInStop"},
        {effFlagsExtIsAsync, "ExtIsAsync"},
        {effFlagsExtHasBuffer, "ExtHasBuffer"},
    };
    std::string names;
    int32_t known = 0;
    for (const auto& entry : kNames) {
        known |= entry.bit;
        if (flags & entry.bit) names += (names.empty() ? "" : " ") + std::string(entry.name);
    }
    if (flags & ~known) names += (names.empty() ? "" : " ") + std::string("unknown bits");
    return names;
}

}  // namespace

void fourCharText(int32_t code, char text[5]) {
    const auto bits = static_cast<uint32_t>(code);
    for (int i = 0; i < 4; ++i) {
        const auto c = static_cast<char>((bits >> (24 - 8 * i)) & 0xFF);
        text[i] = (c >= 0x20 && c < 0x7F) ? c : '?';
    }
    text[4] = '\0';
}

bool printEffectReport(AEffect* effect, std::FILE* out) {
    if (!effect || !effect->dispatcher || !effect->getParameter) {
        std::fprintf(out, "the record has no dispatcher or parameter entry\n");
        return false;
    }
    char magic[5], id[5];
    fourCharText(effect->magic, magic);
    fourCharText(effect->uniqueID, id);
    const auto flags = effect->flags;
    std::fprintf(out, "  magic           '%s' (0x%08X)\n", magic, static_cast<unsigned>(effect->magic));
    std::fprintf(out, "  unique ID       '%s' (0x%08X)\n", id, static_cast<unsigned>(effect->uniqueID));
    std::fprintf(out, "  version         %d\n", effect->version);
    std::fprintf(out, "  inputs/outputs  %d/%d\n", effect->numInputs, effect->numOutputs);
    std::fprintf(out, "  programs        %d\n", effect->numPrograms);
    std::fprintf(out, "  parameters      %d\n", effect->numParams);
    std::fprintf(out, "  flags           0x%X (%s)\n", static_cast<unsigned>(flags),
                 flagNames(flags).c_str());
    std::fprintf(out, "  initial delay   %d\n", effect->initialDelay);
    std::fprintf(out, "  record          %u bytes, %u-bit pointers\n", static_cast<unsigned>(sizeof(AEffect)),
                 static_cast<unsigned>(8 * sizeof(void*)));
    std::fprintf(out, "  vendor          %s\n", askText(effect, effGetVendorString, 0).c_str());
    std::fprintf(out, "  product         %s\n", askText(effect, effGetProductString, 0).c_str());
    std::fprintf(out, "  VST version     %ld\n",
                 static_cast<long>(effect->dispatcher(effect, effGetVstVersion, 0, 0, nullptr, 0.0f)));

    std::fprintf(out, "  parameters:\n    %-3s %-13s %-13s %-10s %s\n", "#", "name", "label", "display",
                 "value");
    for (int32_t i = 0; i < effect->numParams; ++i) {
        const std::string name = askText(effect, effGetParamName, i);
        const std::string label = askText(effect, effGetParamLabel, i);
        const std::string display = askText(effect, effGetParamDisplay, i);
        const double value = static_cast<double>(effect->getParameter(effect, i));
        std::fprintf(out, "    %-3d %-13s %-13s %-10s %g\n", i, name.c_str(), label.c_str(), display.c_str(),
                     value);
    }

    // Program names are read by switching programs, as hosts without the indexed request do.
    const auto current = static_cast<int32_t>(effect->dispatcher(effect, effGetProgram, 0, 0, nullptr, 0.0f));
    std::fprintf(out, "  programs (current %d):\n", current);
    for (int32_t p = 0; p < effect->numPrograms; ++p) {
        effect->dispatcher(effect, effSetProgram, 0, p, nullptr, 0.0f);
        std::fprintf(out, "    %-3d %s\n", p, askText(effect, effGetProgramName, 0).c_str());
    }
    effect->dispatcher(effect, effSetProgram, 0, current, nullptr, 0.0f);
    return true;
}
