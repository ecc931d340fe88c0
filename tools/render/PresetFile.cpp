// Reads and writes .fxp and .fxb containers. Every length is checked against what is left
// before anything is read, so no file can lead a read past its end.
#include "tools/render/PresetFile.h"

#include <cstring>

namespace {

constexpr int32_t kContainerMagic = fourCharCode("CcnK");
constexpr size_t kNameBytes = 28;
constexpr size_t kProgramHeaderBytes = 7 * 4 + kNameBytes;  // magic .. count, then the name
constexpr size_t kBankReservedBytes = 128;
constexpr size_t kBankHeaderBytes = 7 * 4 + kBankReservedBytes;

struct KindName {
    PresetKind kind;
    int32_t code;
    const char* text;
};
constexpr KindName kKinds[] = {
    {PresetKind::programParameters, fourCharCode("FxCk"), "FxCk"},
    {PresetKind::programChunk, fourCharCode("FPCh"), "FPCh"},
    {PresetKind::bankPrograms, fourCharCode("FxBk"), "FxBk"},
    {PresetKind::bankChunk, fourCharCode("FBCh"), "FBCh"},
};

// Big-endian reads from a stretch of bytes that knows how much of it is left.
class Reader {
public:
    Reader(const unsigned char* begin, size_t size) : at(begin), end(begin + size) {}
    size_t left() const { return static_cast<size_t>(end - at); }
    const unsigned char* position() const { return at; }
    int32_t int32() {  // callers check left() first
        uint32_t bits = 0;
        for (int i = 0; i < 4; ++i) bits = bits << 8 | at[i];
        at += 4;
        return static_cast<int32_t>(bits);
    }
    float float32() {
        const auto bits = static_cast<uint32_t>(int32());
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    void skip(size_t count) { at += count; }

private:
    const unsigned char* at;
    const unsigned char* end;
};

class Writer {
public:
    void int32(int32_t value) {
        const auto bits = static_cast<uint32_t>(value);
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.push_back(static_cast<unsigned char>(bits >> shift));
    }
    void float32(float value) {
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        int32(static_cast<int32_t>(bits));
    }
    void text(const std::string& value, size_t size) {
        for (size_t i = 0; i < size; ++i)
            bytes.push_back(i < value.size() ? static_cast<unsigned char>(value[i]) : 0);
    }
    void raw(const std::vector<unsigned char>& value) {
        bytes.insert(bytes.end(), value.begin(), value.end());
    }
    // The size field counts everything after itself; it is filled in once the rest is there.
    void patchSize(size_t fieldAt) {
        const auto size = static_cast<uint32_t>(bytes.size() - fieldAt - 4);
        for (size_t i = 0; i < 4; ++i) bytes[fieldAt + i] = static_cast<unsigned char>(size >> (24 - 8 * i));
    }
    std::vector<unsigned char> bytes;
};

std::string counted(size_t count, const char* what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

// One container of `size` bytes: the whole file, or one program of a 'FxBk' bank (nested, which
// must be a parameter list).
bool parseContainer(const unsigned char* data, size_t size, const PresetLimits& limits, bool nested,
                    PresetFile& file, std::string& error) {
    Reader in(data, size);
    if (in.left() < 8) {
        error = "truncated: " + counted(size, "byte") + ", less than the 8 of a header's first fields";
        return false;
    }
    const int32_t magic = in.int32();
    if (magic != kContainerMagic) {
        error = "not a VST preset or bank: it begins with '" + fourCharText(magic) + "', not 'CcnK'";
        return false;
    }
    const int32_t byteSize = in.int32();
    if (byteSize < 0 || static_cast<size_t>(byteSize) != in.left()) {
        error = "the size field says " + std::to_string(byteSize) + " bytes follow it, but " +
                std::to_string(in.left()) + " do";
        return false;
    }
    if (in.left() < 4) {
        error = "truncated: it ends before its kind";
        return false;
    }
    const int32_t kindCode = in.int32();
    const KindName* kind = nullptr;
    for (const KindName& k : kKinds)
        if (k.code == kindCode) kind = &k;
    if (!kind) {
        error = "unknown kind '" + fourCharText(kindCode) + "' (known: FxCk, FPCh, FxBk, FBCh)";
        return false;
    }
    file.kind = kind->kind;
    const bool bank = isBankKind(file.kind);
    if (nested && file.kind != PresetKind::programParameters) {
        error = std::string("a bank's program must be a parameter list (FxCk), not ") + kind->text;
        return false;
    }
    const size_t headerBytes = bank ? kBankHeaderBytes : kProgramHeaderBytes;
    if (size < headerBytes) {
        error = std::string("truncated: a ") + kind->text + " header has " + std::to_string(headerBytes) +
                " bytes, the whole " + (nested ? "program" : "file") + " " + std::to_string(size);
        return false;
    }
    file.formatVersion = in.int32();
    if (file.formatVersion != 1 && file.formatVersion != 2) {
        error = "format version " + std::to_string(file.formatVersion) + " (known: 1 and 2)";
        return false;
    }
    file.pluginId = in.int32();
    if (file.pluginId != limits.pluginId) {
        error = "made for the plug-in with the unique ID '" + fourCharText(file.pluginId) + "', not '" +
                fourCharText(limits.pluginId) + "'";
        return false;
    }
    file.pluginVersion = in.int32();
    file.count = in.int32();
    const int32_t most = bank ? limits.numPrograms : limits.numParams;
    const char* const item = bank ? "program" : "parameter";
    // The count says how much data follows only in the list kinds; beside a chunk it is a
    // remark, and LMMS 1.2 writes the plug-in's program count there in its .fxp files.
    const bool chunk = file.kind == PresetKind::programChunk || file.kind == PresetKind::bankChunk;
    if (!chunk && (file.count < 0 || file.count > most)) {
        error = "it holds " + std::to_string(file.count) + " " + item + "s; the plug-in has " +
                std::to_string(most);
        return false;
    }
    file.currentProgram = -1;
    if (bank) {
        const int32_t current = in.int32();  // the first reserved field
        in.skip(kBankReservedBytes - 4);
        if (file.formatVersion == 2) {
            if (current < 0 || current >= limits.numPrograms) {
                error = "its current program " + std::to_string(current) +
                        " is not one of the plug-in's 0.." + std::to_string(limits.numPrograms - 1);
                return false;
            }
            file.currentProgram = current;
        }
    } else {
        const auto* name = in.position();
        const void* terminator = std::memchr(name, 0, kNameBytes);
        const size_t length = terminator
                                  ? static_cast<size_t>(static_cast<const unsigned char*>(terminator) - name)
                                  : kNameBytes;
        file.program.name.assign(reinterpret_cast<const char*>(name), length);
        in.skip(kNameBytes);
    }

    file.program.parameters.clear();
    file.programs.clear();
    file.chunk.clear();
    switch (file.kind) {
    case PresetKind::programParameters: {
        const size_t wanted = 4 * static_cast<size_t>(file.count);
        if (in.left() != wanted) {
            error = counted(static_cast<size_t>(file.count), "parameter value") + " take " +
                    std::to_string(wanted) + " bytes, but " + std::to_string(in.left()) +
                    " follow the header";
            return false;
        }
        for (int32_t i = 0; i < file.count; ++i) file.program.parameters.push_back(in.float32());
        return true;
    }
    case PresetKind::programChunk:
    case PresetKind::bankChunk: {
        if (in.left() < 4) {
            error = "truncated: it ends before the chunk's size";
            return false;
        }
        const int32_t chunkSize = in.int32();
        if (chunkSize < 0 || static_cast<size_t>(chunkSize) != in.left()) {
            error = "the chunk size field says " + std::to_string(chunkSize) + " bytes, but " +
                    std::to_string(in.left()) + " follow it";
            return false;
        }
        file.chunk.assign(in.position(), in.position() + chunkSize);
        return true;
    }
    case PresetKind::bankPrograms:
        for (int32_t i = 0; i < file.count; ++i) {
            const std::string which =
                "program " + std::to_string(i + 1) + " of " + std::to_string(file.count);
            // A program's extent is its own first 8 bytes plus what its size field says.
            Reader peek(in.position(), in.left());
            if (peek.left() < 8) {
                error = "truncated: it ends in " + which;
                return false;
            }
            peek.int32();
            const int32_t programSize = peek.int32();
            if (programSize < 0 || static_cast<size_t>(programSize) > peek.left()) {
                error = which + ": its size field says " + std::to_string(programSize) +
                        " bytes follow it, but " + std::to_string(peek.left()) + " are left in the file";
                return false;
            }
            const size_t extent = 8 + static_cast<size_t>(programSize);
            PresetFile program;
            if (!parseContainer(in.position(), extent, limits, true, program, error)) {
                error = which + ": " + error;
                return false;
            }
            file.programs.push_back(program.program);
            in.skip(extent);
        }
        if (in.left() != 0) {
            error = std::to_string(in.left()) + " stray bytes after the last program";
            return false;
        }
        return true;
    }
    return false;
}

// A container's fields from its magic to its count; returns where its size field is, which
// patchSize fills in once the container is complete.
size_t writeHeader(Writer& out, PresetKind kind, int32_t formatVersion, const PresetFile& file,
                   int32_t count) {
    out.int32(kContainerMagic);
    const size_t sizeAt = out.bytes.size();
    out.int32(0);
    for (const KindName& k : kKinds)
        if (k.kind == kind) out.int32(k.code);
    out.int32(formatVersion);
    out.int32(file.pluginId);
    out.int32(file.pluginVersion);
    out.int32(count);
    return sizeAt;
}

void writeProgramParameters(Writer& out, const PresetFile& file, const PresetProgram& program) {
    const size_t sizeAt = writeHeader(out, PresetKind::programParameters, 1, file,
                                      static_cast<int32_t>(program.parameters.size()));
    out.text(program.name, kNameBytes);
    for (float value : program.parameters) out.float32(value);
    out.patchSize(sizeAt);
}

}  // namespace

std::string fourCharText(int32_t code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<unsigned char>(static_cast<uint32_t>(code) >> shift);
        if (c >= 0x20 && c < 0x7F) {
            text += static_cast<char>(c);
        } else {
            const char* const hex = "0123456789ABCDEF";
            text += "\\x";
            text += hex[c >> 4];
            text += hex[c & 15];
        }
    }
    return text;
}

const char* presetKindCode(PresetKind kind) {
    for (const KindName& k : kKinds)
        if (k.kind == kind) return k.text;
    return "?";
}

bool looksLikePresetFile(const std::vector<unsigned char>& bytes) {
    return bytes.size() >= 4 && std::memcmp(bytes.data(), "CcnK", 4) == 0;
}

bool parsePresetFile(const std::vector<unsigned char>& bytes, const PresetLimits& limits, PresetFile& file,
                     std::string& error) {
    return parseContainer(bytes.data(), bytes.size(), limits, false, file, error);
}

std::vector<unsigned char> writePresetFile(const PresetFile& file) {
    Writer out;
    if (file.kind == PresetKind::programParameters) {
        writeProgramParameters(out, file, file.program);
        return out.bytes;
    }
    const size_t sizeAt = writeHeader(
        out, file.kind, file.formatVersion, file,
        file.kind == PresetKind::bankPrograms ? static_cast<int32_t>(file.programs.size()) : file.count);
    if (isBankKind(file.kind)) {
        out.int32(file.formatVersion == 2 ? file.currentProgram : 0);
        out.text("", kBankReservedBytes - 4);
    } else {
        out.text(file.program.name, kNameBytes);
    }
    if (file.kind == PresetKind::bankPrograms) {
        for (const PresetProgram& program : file.programs) writeProgramParameters(out, file, program);
    } else {
        out.int32(static_cast<int32_t>(file.chunk.size()));
        out.raw(file.chunk);
    }
    out.patchSize(sizeAt);
    return out.bytes;
}
