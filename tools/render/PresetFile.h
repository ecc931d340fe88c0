// VST 2 preset (.fxp) and bank (.fxb) files: big-endian containers around a program's
// parameter list, a list of programs, or a program or bank chunk as the plug-in gave it.
// Bytes only: what the render session does with them is its own business.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class PresetKind {
    programParameters,  // 'FxCk': one program as a list of parameter values
    programChunk,       // 'FPCh': one program as the plug-in's opaque chunk
    bankPrograms,       // 'FxBk': a bank as a list of 'FxCk' programs
    bankChunk,          // 'FBCh': a bank as the plug-in's opaque chunk
};

inline bool isBankKind(PresetKind kind) {
    return kind == PresetKind::bankPrograms || kind == PresetKind::bankChunk;
}

struct PresetProgram {
    std::string name;  // at most 28 characters
    std::vector<float> parameters;
};

struct PresetFile {
    PresetKind kind = PresetKind::programChunk;
    int32_t formatVersion = 1;  // 1; 2 for a bank that carries its current program
    int32_t pluginId = 0;       // the plug-in's unique ID
    int32_t pluginVersion = 0;
    int32_t count = 0;            // chunk kinds: the plug-in's parameters (program) or programs (bank)
    int32_t currentProgram = -1;  // a version 2 bank's current program; -1 for none
    PresetProgram program;        // the program kinds' name; FxCk's values
    std::vector<PresetProgram> programs;  // FxBk
    std::vector<unsigned char> chunk;     // FPCh, FBCh
};

// What a file may hold for the plug-in that is to load it.
struct PresetLimits {
    int32_t pluginId = 0;
    int32_t numParams = 0;
    int32_t numPrograms = 0;
};

constexpr int32_t fourCharCode(const char (&text)[5]) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<unsigned char>(text[0])) << 24 |
                                static_cast<uint32_t>(static_cast<unsigned char>(text[1])) << 16 |
                                static_cast<uint32_t>(static_cast<unsigned char>(text[2])) << 8 |
                                static_cast<uint32_t>(static_cast<unsigned char>(text[3])));
}
// 'ABCD' for messages; bytes that are not printable are shown as \xNN.
std::string fourCharText(int32_t code);
const char* presetKindCode(PresetKind kind);

// True when the bytes begin as every preset and bank file does ('CcnK').
bool looksLikePresetFile(const std::vector<unsigned char>& bytes);
// Reads a whole file; on a file that is damaged or not meant for the plug-in returns false with
// a message saying what is wrong (without the file's name).
bool parsePresetFile(const std::vector<unsigned char>& bytes, const PresetLimits& limits, PresetFile& file,
                     std::string& error);
// The file's bytes; sizes and counts are taken from the contents (count only for chunk kinds).
std::vector<unsigned char> writePresetFile(const PresetFile& file);
