// The record handed to the host, byte by byte, and the base class's flag setters.
#include <gtest/gtest.h>

#include <cstring>

#include "RecordingHost.h"
#include "vst2/FreezeEffectEdit.h"

namespace {

int32_t int32At(const AEffect* record, size_t offset) {
    int32_t value;
    std::memcpy(&value, reinterpret_cast<const unsigned char*>(record) + offset, sizeof value);
    return value;
}

class PlainEffect : public HostEffectX {
public:
    PlainEffect() : HostEffectX(nullptr, 3, 5) {}
    void process(float**, float**, int32_t) override {}
};

}  // namespace

TEST(EffectRecord, HoldsTheIdentityOfTheFreezeEffect) {
    RecordingHost::reset();
    auto* effect = new FreezeEffectEdit(RecordingHost::callback);
    AEffect* record = effect->getEffectRecord();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(int32At(record, offsetof(AEffect, magic)), 0x56737450);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(record);
    EXPECT_EQ(std::memcmp(bytes, "PtsV", 4), 0);
    EXPECT_NE(record->dispatcher, nullptr);
    EXPECT_NE(record->process, nullptr);
    EXPECT_NE(record->processReplacing, nullptr);
    EXPECT_NE(record->setParameter, nullptr);
    EXPECT_NE(record->getParameter, nullptr);
    EXPECT_EQ(int32At(record, offsetof(AEffect, numPrograms)), 16);
    EXPECT_EQ(int32At(record, offsetof(AEffect, numParams)), 12);
    EXPECT_EQ(int32At(record, offsetof(AEffect, numInputs)), 2);
    EXPECT_EQ(int32At(record, offsetof(AEffect, numOutputs)), 2);
    EXPECT_EQ(int32At(record, offsetof(AEffect, flags)), 0x35);  // HasEditor HasVu CanReplacing ProgramChunks
    EXPECT_EQ(record->resvd1, 0);
    EXPECT_EQ(record->resvd2, 0);
    EXPECT_EQ(int32At(record, offsetof(AEffect, initialDelay)), 0);
    EXPECT_EQ(int32At(record, offsetof(AEffect, realQualities)), 0);
    EXPECT_EQ(int32At(record, offsetof(AEffect, offQualities)), 0);
    EXPECT_EQ(record->ioRatio, 1.0f);
    EXPECT_EQ(record->object, static_cast<HostEffect*>(effect));
    EXPECT_EQ(record->user, nullptr);
    EXPECT_EQ(int32At(record, offsetof(AEffect, uniqueID)), 0x42524C50);
    EXPECT_EQ(int32At(record, offsetof(AEffect, version)), 1);
    for (size_t i = 0; i < sizeof record->future; ++i) EXPECT_EQ(record->future[i], 0) << i;
    // Closing through the entry answers 1 whatever the dispatcher answered, and frees the object.
    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
}

TEST(EffectRecord, BaseDefaultsAndFlagSetters) {
    PlainEffect effect;
    AEffect* record = effect.getEffectRecord();
    EXPECT_EQ(record->uniqueID, 0x4E6F4566);  // 'NoEf'
    EXPECT_EQ(record->numInputs, 1);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->numPrograms, 3);
    EXPECT_EQ(record->numParams, 5);
    EXPECT_EQ(record->flags, 0);

    const struct {
        void (PlainEffect::*set)(bool);
        int32_t bit;
    } setters[] = {
        {&PlainEffect::setFlagHasClip, 0x002},       {&PlainEffect::setFlagHasVu, 0x004},
        {&PlainEffect::setFlagCanMono, 0x008},       {&PlainEffect::setFlagCanReplacing, 0x010},
        {&PlainEffect::setFlagProgramChunks, 0x020}, {&PlainEffect::setFlagIsSynth, 0x100},
        {&PlainEffect::setFlagNoSoundInStop, 0x200}, {&PlainEffect::setFlagExtIsAsync, 0x400},
        {&PlainEffect::setFlagExtHasBuffer, 0x800},
    };
    record->flags = 0x1000;  // a bit no setter owns must survive every change
    for (const auto& setter : setters) {
        (effect.*setter.set)(true);
        EXPECT_EQ(record->flags, 0x1000 | setter.bit);
        (effect.*setter.set)(false);
        EXPECT_EQ(record->flags, 0x1000);
    }
    effect.setFlagIsSynth(true);
    EXPECT_EQ(effect.getPlugCategory(), 2);
    effect.setFlagIsSynth(false);
    EXPECT_EQ(effect.getPlugCategory(), 0);

    effect.setInitialDelay(7);
    effect.setRealQualities(3);
    effect.setOffQualities(4);
    effect.setUniqueId(0x41424344);
    EXPECT_EQ(record->initialDelay, 7);
    EXPECT_EQ(record->realQualities, 3);
    EXPECT_EQ(record->offQualities, 4);
    EXPECT_EQ(record->uniqueID, 0x41424344);
}

TEST(EffectRecord, EntriesIgnoreARecordWithoutItsObject) {
    AEffect record{};
    EXPECT_EQ(PlainEffect().getEffectRecord()->dispatcher(&record, effIdentify, 0, 0, nullptr, 0), 0);
    PlainEffect effect;
    AEffect* good = effect.getEffectRecord();
    EXPECT_EQ(good->dispatcher(nullptr, effIdentify, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(good->getParameter(nullptr, 0), 0.0f);
    good->setParameter(nullptr, 0, 1.0f);
    good->processReplacing(nullptr, nullptr, nullptr, 16);
}

TEST(EffectRecord, ParameterEntriesReachTheEngine) {
    RecordingHost::reset();
    FreezeEffectEdit effect(RecordingHost::callback);
    AEffect* record = effect.getEffectRecord();
    record->setParameter(record, kParamKnak, 0.75f);
    EXPECT_EQ(record->getParameter(record, kParamKnak), 0.75f);
    EXPECT_EQ(effect.plugin().getProgramValue(3), 0.75f);
    // The engine never reports parameter changes to the host as automation.
    EXPECT_EQ(RecordingHost::instance().countOf(audioMasterAutomate), 0);
}
