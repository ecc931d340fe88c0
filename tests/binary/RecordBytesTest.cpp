// The AEffect record as a host reads it: every byte at every offset, from a layout written
// out here by hand rather than taken from our own declarations.
#include <gtest/gtest.h>

#include <cstring>

#include "LoadedPlugin.h"

namespace {

struct RecordLayout {
    size_t magic, dispatcher, process, setParameter, getParameter, numPrograms, numParams, numInputs,
        numOutputs, flags, resvd1, resvd2, initialDelay, realQualities, offQualities, ioRatio, object, user,
        uniqueID, version, processReplacing, future, size;
};

// The published layouts: 144 bytes with 4-byte pointers, natural alignment with 8-byte ones.
constexpr RecordLayout kLayout32{0,  4,  8,  12, 16, 20, 24, 28, 32, 36, 40, 44,
                                 48, 52, 56, 60, 64, 68, 72, 76, 80, 84, 144};
constexpr RecordLayout kLayout64{0,  8,  16, 24, 32, 40,  44,  48,  52,  56,  64, 72,
                                 80, 84, 88, 92, 96, 104, 112, 116, 120, 128, 192};
constexpr size_t kPointer = sizeof(void*);
constexpr const RecordLayout& kLayout = kPointer == 4 ? kLayout32 : kLayout64;

constexpr int32_t kFlags = 0x35;  // HasEditor | HasVu | CanReplacing | ProgramChunks

enum class Expect : unsigned char { exact, nonNullPointer, anything };

struct ByteImage {
    unsigned char value[kLayout.size] = {};
    Expect how[kLayout.size] = {};

    ByteImage() {
        for (size_t i = 0; i < kLayout.size; ++i) how[i] = Expect::anything;  // padding
    }
    void int32At(size_t offset, int32_t v) {
        for (size_t i = 0; i < 4; ++i) {
            value[offset + i] = static_cast<unsigned char>(static_cast<uint32_t>(v) >> (8 * i));
            how[offset + i] = Expect::exact;
        }
    }
    void zeroAt(size_t offset, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            value[offset + i] = 0;
            how[offset + i] = Expect::exact;
        }
    }
    void pointerAt(size_t offset) {
        for (size_t i = 0; i < kPointer; ++i) how[offset + i] = Expect::nonNullPointer;
    }
};

void* pointerAt(const unsigned char* bytes, size_t offset) {
    void* p;
    std::memcpy(&p, bytes + offset, sizeof p);
    return p;
}

}  // namespace

TEST(Record, EveryByteIsWhatHostsRead) {
    PluginInstance plugin;
    ASSERT_TRUE(plugin);
    const auto* bytes = reinterpret_cast<const unsigned char*>(plugin.effect());

    ByteImage expected;
    expected.int32At(kLayout.magic, 0x56737450);  // 'VstP'
    expected.pointerAt(kLayout.dispatcher);
    expected.pointerAt(kLayout.process);
    expected.pointerAt(kLayout.setParameter);
    expected.pointerAt(kLayout.getParameter);
    expected.int32At(kLayout.numPrograms, 16);
    expected.int32At(kLayout.numParams, 12);
    expected.int32At(kLayout.numInputs, 2);
    expected.int32At(kLayout.numOutputs, 2);
    expected.int32At(kLayout.flags, kFlags);
    expected.zeroAt(kLayout.resvd1, kPointer);
    expected.zeroAt(kLayout.resvd2, kPointer);
    expected.int32At(kLayout.initialDelay, 0);
    expected.int32At(kLayout.realQualities, 0);
    expected.int32At(kLayout.offQualities, 0);
    expected.int32At(kLayout.ioRatio, 0x3F800000);  // 1.0f
    expected.pointerAt(kLayout.object);
    expected.zeroAt(kLayout.user, kPointer);
    expected.int32At(kLayout.uniqueID, 0x42524C50);  // 'BRLP'
    expected.int32At(kLayout.version, 1);
    expected.pointerAt(kLayout.processReplacing);
    expected.zeroAt(kLayout.future, 60);

    for (size_t offset = 0; offset < kLayout.size; ++offset) {
        if (expected.how[offset] == Expect::exact) {
            EXPECT_EQ(bytes[offset], expected.value[offset]) << "record byte " << offset;
        }
    }
    for (size_t offset : {kLayout.dispatcher, kLayout.process, kLayout.setParameter, kLayout.getParameter,
                          kLayout.object, kLayout.processReplacing}) {
        EXPECT_NE(pointerAt(bytes, offset), nullptr) << "record pointer at byte " << offset;
    }
    // Four-character codes: most significant byte first, so memory reads them backwards.
    EXPECT_EQ(std::memcmp(bytes + kLayout.magic, "PtsV", 4), 0);
    EXPECT_EQ(std::memcmp(bytes + kLayout.uniqueID, "PLRB", 4), 0);

    // The editor bit and the editor requests agree: the rectangle is there before any open.
    void* rect = nullptr;
    EXPECT_EQ(plugin.dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    const auto* r = static_cast<const ERect*>(rect);
    EXPECT_EQ(r->top, 0);
    EXPECT_EQ(r->left, 0);
    EXPECT_EQ(r->bottom, 300);
    EXPECT_EQ(r->right, 525);
}

TEST(Record, OurDeclarationsMatchTheBytes) {
    // The compile-time layout of host/VstApi.h read back against the raw bytes.
    PluginInstance plugin;
    ASSERT_TRUE(plugin);
    const AEffect* effect = plugin.effect();
    const auto* bytes = reinterpret_cast<const unsigned char*>(effect);
    EXPECT_EQ(sizeof(AEffect), kLayout.size);
    EXPECT_EQ(readInt32(bytes + kLayout.numPrograms), effect->numPrograms);
    EXPECT_EQ(readInt32(bytes + kLayout.flags), effect->flags);
    EXPECT_EQ(readInt32(bytes + kLayout.uniqueID), effect->uniqueID);
    EXPECT_EQ(readFloat(bytes + kLayout.ioRatio), effect->ioRatio);
    EXPECT_EQ(pointerAt(bytes, kLayout.object), effect->object);
    EXPECT_EQ(pointerAt(bytes, kLayout.processReplacing), reinterpret_cast<void*>(effect->processReplacing));
}
