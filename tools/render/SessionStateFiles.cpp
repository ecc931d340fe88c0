// The render session's preset and bank files: loads .fxp/.fxb files of the four kinds and raw
// chunks into the plug-in as a host would, and saves what it holds as chunk files.
#include <algorithm>
#include <cstring>

#include "engine/ChunkLayout.h"
#include "tools/render/FileBytes.h"
#include "tools/render/RenderSession.h"

bool RenderSession::loadStateFile(const std::string& path, bool bank, std::string& error) {
    const char* const what = bank ? "bank" : "preset";
    std::vector<unsigned char> bytes;
    if (!readFileBytes(path, bytes)) {
        error = std::string("cannot read ") + what + " file " + path;
        return false;
    }
    const auto before = static_cast<int32_t>(dispatch(effGetProgram));
    if (!looksLikePresetFile(bytes)) {
        // A raw chunk, as the plug-in gives it to hosts.
        const size_t expected = bank ? kBankChunkSize : kPresetChunkSize;
        if (bytes.size() != expected) {
            error = path + ": neither a VST " + what + " file (" + (bank ? ".fxb" : ".fxp") +
                    ", beginning with CcnK) nor a raw " + what + " chunk: it holds " +
                    std::to_string(bytes.size()) + " bytes, a " + what + " chunk has " +
                    std::to_string(expected);
            return false;
        }
        return applyChunk(bytes, bank, before, path, error);
    }

    PresetLimits limits;
    limits.pluginId = effect->uniqueID;
    limits.numParams = effect->numParams;
    limits.numPrograms = effect->numPrograms;
    PresetFile file;
    if (!parsePresetFile(bytes, limits, file, error)) {
        error = path + ": " + error;
        return false;
    }
    if (isBankKind(file.kind) != bank) {
        error = path + " is a " + (bank ? "program" : "bank") + " file (" + presetKindCode(file.kind) +
                "); give it to " + (bank ? "--preset" : "--bank");
        return false;
    }
    switch (file.kind) {
    case PresetKind::programParameters: applyProgramParameters(file.program); return true;
    case PresetKind::programChunk: return applyChunk(file.chunk, false, before, path, error);
    case PresetKind::bankChunk:
        return applyChunk(file.chunk, true, file.currentProgram >= 0 ? file.currentProgram : before, path,
                          error);
    case PresetKind::bankPrograms:
        // Each program in turn, as hosts load such banks; then the bank's current program.
        for (size_t i = 0; i < file.programs.size(); ++i) {
            dispatch(effSetProgram, 0, static_cast<intptr_t>(i));
            applyProgramParameters(file.programs[i]);
        }
        dispatch(effSetProgram, 0, file.currentProgram >= 0 ? file.currentProgram : before);
        return true;
    }
    return false;
}

bool RenderSession::applyChunk(const std::vector<unsigned char>& chunk, bool bank, int32_t current,
                               const std::string& path, std::string& error) {
    const size_t expected = bank ? kBankChunkSize : kPresetChunkSize;
    if (chunk.size() != expected) {
        error = path + ": its " + (bank ? "bank" : "program") + " chunk has " + std::to_string(chunk.size()) +
                " bytes; the plug-in's has " + std::to_string(expected);
        return false;
    }
    std::vector<unsigned char> copy = chunk;  // the plug-in takes a non-const pointer
    dispatch(effSetChunk, bank ? 0 : 1, static_cast<intptr_t>(copy.size()), copy.data());
    // A loaded bank reaches the working values only when a program is selected, as hosts do
    // after restoring one; without it the render would play the values from before the load.
    if (bank) dispatch(effSetProgram, 0, current);
    return true;
}

void RenderSession::applyProgramParameters(const PresetProgram& program) {
    char name[kVstMaxProgNameLen] = {};
    program.name.copy(name, sizeof name - 1);
    dispatch(effSetProgramName, 0, 0, name);
    for (size_t i = 0; i < program.parameters.size(); ++i)
        effect->setParameter(effect, static_cast<int32_t>(i), program.parameters[i]);
}

bool RenderSession::saveStateFile(bool bank, std::vector<unsigned char>& bytes, std::string& error) {
    if ((effect->flags & effFlagsProgramChunks) == 0) {
        error = "the plug-in keeps no chunks to save";
        return false;
    }
    void* data = nullptr;
    const intptr_t size = dispatch(effGetChunk, bank ? 0 : 1, 0, &data);
    if (size <= 0 || !data) {
        error = std::string("the plug-in gave no ") + (bank ? "bank" : "program") + " chunk";
        return false;
    }
    PresetFile file;
    file.kind = bank ? PresetKind::bankChunk : PresetKind::programChunk;
    file.formatVersion = bank ? 2 : 1;  // a bank keeps its current program
    file.pluginId = effect->uniqueID;
    file.pluginVersion = effect->version;
    file.count = bank ? effect->numPrograms : effect->numParams;
    file.currentProgram = static_cast<int32_t>(dispatch(effGetProgram));
    const auto* chunk = static_cast<const unsigned char*>(data);
    file.chunk.assign(chunk, chunk + size);
    // Room beyond the 24 bytes a program name may take: some plug-ins write more.
    char name[256] = {};
    dispatch(effGetProgramName, 0, 0, name);
    file.program.name.assign(name, std::min<size_t>(std::strlen(name), 28));
    bytes = writePresetFile(file);
    return true;
}
