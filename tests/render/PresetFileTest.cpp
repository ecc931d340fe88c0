// .fxp/.fxb containers byte by byte: the layout hosts write, round trips of the four kinds, and
// damaged or foreign files refused with a message that says what is wrong.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "tools/render/PresetFile.h"

namespace {

using Bytes = std::vector<unsigned char>;

const PresetLimits kLimits{fourCharCode("BRLP"), 12, 16};

void putBig(Bytes& bytes, size_t at, int32_t value) {
    for (size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<unsigned char>(static_cast<uint32_t>(value) >> (24 - 8 * i));
}

void appendBig(Bytes& bytes, int32_t value) {
    bytes.resize(bytes.size() + 4);
    putBig(bytes, bytes.size() - 4, value);
}

void appendText(Bytes& bytes, const char* text) { bytes.insert(bytes.end(), text, text + std::strlen(text)); }

PresetFile sample(PresetKind kind) {
    PresetFile file;
    file.kind = kind;
    file.formatVersion = isBankKind(kind) ? 2 : 1;
    file.pluginId = kLimits.pluginId;
    file.pluginVersion = 1000;
    file.count = isBankKind(kind) ? 16 : 12;
    file.currentProgram = isBankKind(kind) ? 5 : -1;
    file.program.name = "Twenty-eight characters long";
    if (kind == PresetKind::programParameters) file.program.parameters = {0.0f, 0.25f, -1.5f, 1.0f, 1e-30f};
    if (kind == PresetKind::bankPrograms)
        for (int i = 0; i < 3; ++i)
            file.programs.push_back(
                {"p" + std::to_string(i), std::vector<float>(12, 0.1f * static_cast<float>(i))});
    if (kind == PresetKind::programChunk || kind == PresetKind::bankChunk)
        for (int i = 0; i < 84; ++i) file.chunk.push_back(static_cast<unsigned char>(i * 7));
    return file;
}

constexpr PresetKind kAllKinds[] = {PresetKind::programParameters, PresetKind::programChunk,
                                    PresetKind::bankPrograms, PresetKind::bankChunk};

TEST(PresetFile, ParameterProgramHasTheLayoutHostsWrite) {
    // Written out by hand from the container's layout, not by our writer: two values.
    Bytes bytes;
    appendText(bytes, "CcnK");
    appendBig(bytes, 5 * 4 + 28 + 2 * 4);  // everything after the size field
    appendText(bytes, "FxCk");
    appendBig(bytes, 1);
    appendText(bytes, "BRLP");
    appendBig(bytes, 7);
    appendBig(bytes, 2);
    Bytes name(28, 0);
    std::memcpy(name.data(), "Stutter", 7);
    bytes.insert(bytes.end(), name.begin(), name.end());
    appendBig(bytes, 0x3F000000);                         // 0.5
    appendBig(bytes, static_cast<int32_t>(0xBF800000u));  // -1.0
    ASSERT_EQ(bytes.size(), 64u);

    PresetFile file;
    std::string error;
    ASSERT_TRUE(parsePresetFile(bytes, kLimits, file, error)) << error;
    EXPECT_EQ(file.kind, PresetKind::programParameters);
    EXPECT_EQ(file.pluginVersion, 7);
    EXPECT_EQ(file.program.name, "Stutter");
    ASSERT_EQ(file.program.parameters.size(), 2u);
    EXPECT_EQ(file.program.parameters[0], 0.5f);
    EXPECT_EQ(file.program.parameters[1], -1.0f);
    EXPECT_EQ(writePresetFile(file), bytes);
}

TEST(PresetFile, ChunkFilesHaveTheLayoutHostsWrite) {
    for (const PresetKind kind : {PresetKind::programChunk, PresetKind::bankChunk}) {
        const PresetFile file = sample(kind);
        const Bytes bytes = writePresetFile(file);
        const bool bank = isBankKind(kind);
        const size_t header = bank ? 156 : 56;
        ASSERT_EQ(bytes.size(), header + 4 + 84);
        const auto byte = [](size_t value) { return static_cast<unsigned char>(value); };
        const Bytes expectedStart = {'C',  'c',
                                     'n',  'K',
                                     0,    0,
                                     0,    byte(bytes.size() - 8),  // size
                                     'F',  byte(bank ? 'B' : 'P'),
                                     'C',  'h',
                                     0,    0,
                                     0,    byte(bank ? 2 : 1),  // version
                                     'B',  'R',
                                     'L',  'P',
                                     0,    0,
                                     0x03, 0xE8,  // ID, 1000
                                     0,    0,
                                     0,    byte(bank ? 16 : 12)};  // count
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 28), expectedStart);
        if (bank) {
            EXPECT_EQ(Bytes(bytes.begin() + 28, bytes.begin() + 32), (Bytes{0, 0, 0, 5}));  // current program
            EXPECT_EQ(Bytes(bytes.begin() + 32, bytes.begin() + 156), Bytes(124, 0));
        } else {
            EXPECT_EQ(std::string(bytes.begin() + 28, bytes.begin() + 56),
                      file.program.name);  // no terminator
        }
        EXPECT_EQ(
            Bytes(bytes.begin() + static_cast<long>(header), bytes.begin() + static_cast<long>(header) + 4),
            (Bytes{0, 0, 0, 84}));
        EXPECT_EQ(Bytes(bytes.end() - 84, bytes.end()), file.chunk);
    }
}

TEST(PresetFile, EveryKindSurvivesAWriteAndARead) {
    for (const PresetKind kind : kAllKinds) {
        for (const int32_t version : {1, 2}) {
            if (version == 2 && !isBankKind(kind)) continue;  // only banks have a version 2
            PresetFile file = sample(kind);
            file.formatVersion = version;
            if (version == 1) file.currentProgram = -1;
            const Bytes bytes = writePresetFile(file);
            PresetFile back;
            std::string error;
            ASSERT_TRUE(parsePresetFile(bytes, kLimits, back, error))
                << presetKindCode(kind) << ": " << error;
            EXPECT_EQ(back.kind, kind);
            EXPECT_EQ(back.formatVersion, version);
            EXPECT_EQ(back.currentProgram, isBankKind(kind) && version == 2 ? 5 : -1) << presetKindCode(kind);
            EXPECT_EQ(back.pluginVersion, 1000);
            EXPECT_EQ(back.chunk, file.chunk);
            if (!isBankKind(kind)) {
                EXPECT_EQ(back.program.name, file.program.name);
            }
            EXPECT_EQ(back.program.parameters, file.program.parameters);
            ASSERT_EQ(back.programs.size(), file.programs.size());
            for (size_t i = 0; i < file.programs.size(); ++i) {
                EXPECT_EQ(back.programs[i].name, file.programs[i].name);
                EXPECT_EQ(back.programs[i].parameters, file.programs[i].parameters);
            }
            EXPECT_EQ(writePresetFile(back), bytes) << presetKindCode(kind);
        }
    }
}

// A valid file of each kind, then one change, and the words the message must contain.
TEST(PresetFile, DamagedAndForeignFilesAreRefusedWithTheReason) {
    const std::function<void(Bytes&)> nothing = [](Bytes&) {};
    const struct {
        PresetKind kind;
        const char* change;
        std::function<void(Bytes&)> damage;
        const char* says;
    } cases[] = {
        {PresetKind::programChunk, "no header", [](Bytes& b) { b.resize(6); }, "truncated"},
        {PresetKind::programChunk, "other magic",
         [](Bytes& b) {
             b[0] = 'R';
             b[1] = 'I';
             b[2] = 'F';
             b[3] = 'F';
         },
         "begins with 'RIFF', not 'CcnK'"},
        {PresetKind::programChunk, "size one short", [](Bytes& b) { b.pop_back(); },
         "says 136 bytes follow it, but 135"},
        {PresetKind::bankChunk, "size one long", [](Bytes& b) { b.push_back(0); },
         "size field says 236 bytes follow it, but 237"},
        {PresetKind::bankPrograms, "negative size", [](Bytes& b) { putBig(b, 4, -8); }, "size field says -8"},
        {PresetKind::programChunk, "unknown kind", [](Bytes& b) { putBig(b, 8, fourCharCode("FxZZ")); },
         "unknown kind 'FxZZ'"},
        {PresetKind::programChunk, "header cut short",
         [](Bytes& b) {
             b.resize(40);
             putBig(b, 4, 32);
         },
         "a FPCh header has 56 bytes"},
        {PresetKind::bankChunk, "bank header cut short",
         [](Bytes& b) {
             b.resize(100);
             putBig(b, 4, 92);
         },
         "a FBCh header has 156 bytes"},
        {PresetKind::programParameters, "version 3", [](Bytes& b) { putBig(b, 12, 3); }, "format version 3"},
        {PresetKind::programChunk, "another plug-in", [](Bytes& b) { putBig(b, 16, fourCharCode("Abcd")); },
         "'Abcd', not 'BRLP'"},
        {PresetKind::programChunk, "unprintable ID", [](Bytes& b) { putBig(b, 16, 0x01020304); },
         "'\\x01\\x02\\x03\\x04'"},
        {PresetKind::programParameters, "13 parameters", [](Bytes& b) { putBig(b, 24, 13); },
         "13 parameters; the plug-in has 12"},
        {PresetKind::programParameters, "negative count", [](Bytes& b) { putBig(b, 24, -1); },
         "-1 parameters"},
        {PresetKind::bankPrograms, "17 programs", [](Bytes& b) { putBig(b, 24, 17); },
         "17 programs; the plug-in has 16"},
        {PresetKind::bankPrograms, "count above the programs there", [](Bytes& b) { putBig(b, 24, 4); },
         "truncated: it ends in program 4 of 4"},
        {PresetKind::bankPrograms, "count below the programs there", [](Bytes& b) { putBig(b, 24, 2); },
         "stray bytes after the last program"},
        {PresetKind::programParameters, "a value short",
         [](Bytes& b) {
             b.resize(b.size() - 4);
             putBig(b, 4, static_cast<int32_t>(b.size() - 8));
         },
         "5 parameter values take 20 bytes, but 16 follow"},
        {PresetKind::programChunk, "chunk size above the file", [](Bytes& b) { putBig(b, 56, 85); },
         "chunk size field says 85 bytes, but 84"},
        {PresetKind::bankChunk, "negative chunk size", [](Bytes& b) { putBig(b, 156, -84); }, "says -84"},
        {PresetKind::bankChunk, "no chunk size",
         [](Bytes& b) {
             b.resize(156);
             putBig(b, 4, 148);
         },
         "ends before the chunk's size"},
        {PresetKind::bankChunk, "current program 16", [](Bytes& b) { putBig(b, 28, 16); },
         "current program 16 is not one of the plug-in's 0..15"},
        {PresetKind::bankPrograms, "nested program of another plug-in",
         [](Bytes& b) { putBig(b, 156 + 16, fourCharCode("Zyxw")); }, "program 1 of 3: made for the plug-in"},
        {PresetKind::bankPrograms, "nested chunk program",
         [](Bytes& b) { putBig(b, 156 + 8, fourCharCode("FPCh")); },
         "program 1 of 3: a bank's program must be a parameter list"},
        {PresetKind::bankPrograms, "nested size beyond the file", [](Bytes& b) { putBig(b, 156 + 4, 5000); },
         "program 1 of 3: its size field says 5000"},
        {PresetKind::bankPrograms, "nested size one short", [](Bytes& b) { putBig(b, 156 + 4, 95); },
         "program 1 of 3: 12 parameter values take 48 bytes, but 47"},
        {PresetKind::bankPrograms, "nested magic", [](Bytes& b) { b[260 + 3] = 'k'; },
         "program 2 of 3: not a VST preset"},
        {PresetKind::bankPrograms, "nested parameters above", [](Bytes& b) { putBig(b, 364 + 24, 13); },
         "program 3 of 3: it holds 13 parameters"},
    };
    for (const auto& c : cases) {
        Bytes bytes = writePresetFile(sample(c.kind));
        c.damage(bytes);
        PresetFile file;
        std::string error;
        EXPECT_FALSE(parsePresetFile(bytes, kLimits, file, error)) << c.change;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.change << ": " << error;
    }
}

// Every prefix of every kind is refused, and random damage never reads outside the bytes
// (the sanitizer tree checks that); what is accepted writes back to the same bytes.
TEST(PresetFile, CutAndScrambledFilesNeverReadPastTheirEnd) {
    std::mt19937 random(20261207u);
    for (const PresetKind kind : kAllKinds) {
        const Bytes whole = writePresetFile(sample(kind));
        EXPECT_TRUE(looksLikePresetFile(whole));
        EXPECT_FALSE(looksLikePresetFile(Bytes(whole.begin(), whole.begin() + 3)));
        for (size_t length = 0; length < whole.size(); ++length) {
            const Bytes cut(whole.begin(), whole.begin() + static_cast<long>(length));
            PresetFile file;
            std::string error;
            EXPECT_FALSE(parsePresetFile(cut, kLimits, file, error))
                << presetKindCode(kind) << " cut at " << length;
            EXPECT_FALSE(error.empty());
        }
        for (int round = 0; round < 3000; ++round) {
            Bytes bytes = whole;
            const int changes = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < changes; ++i) {
                // Mostly the fields that steer the reading: the header and the first program.
                const size_t at = random() % std::min<size_t>(bytes.size(), round % 2 ? 300 : bytes.size());
                bytes[at] = static_cast<unsigned char>(random() % 3 == 0 ? 0xFF : random());
            }
            PresetFile file;
            std::string error;
            if (parsePresetFile(bytes, kLimits, file, error))
                EXPECT_EQ(writePresetFile(file).size(), bytes.size()) << "seed 20261207, round " << round;
            else
                EXPECT_FALSE(error.empty());
        }
    }
}

// Beside a chunk the count describes no data: LMMS 1.2 writes 16 (the programs) in an .fxp.
TEST(PresetFile, ChunkFilesAreReadWhateverTheirCount) {
    for (const PresetKind kind : {PresetKind::programChunk, PresetKind::bankChunk}) {
        for (const int32_t count : {-1, 0, 16, 17, 1 << 30}) {
            PresetFile file = sample(kind);
            file.count = count;
            PresetFile back;
            std::string error;
            EXPECT_TRUE(parsePresetFile(writePresetFile(file), kLimits, back, error))
                << count << ": " << error;
            EXPECT_EQ(back.chunk, file.chunk);
        }
    }
}

}  // namespace
