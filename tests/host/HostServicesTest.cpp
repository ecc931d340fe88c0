// Requests to the host: operands, answer conversion and the answers when there is no host.
#include <gtest/gtest.h>

#include "RecordingHost.h"
#include "vst2/HostEffectX.h"

namespace {

class ServiceEffect : public HostEffectX {
public:
    explicit ServiceEffect(audioMasterCallback callback) : HostEffectX(callback, 1, 1) {}
    void process(float**, float**, int32_t) override {}
};

}  // namespace

TEST(HostServices, AnswersWithoutAHost) {
    ServiceEffect effect(nullptr);
    char text[64] = {};
    int selector = 0;
    EXPECT_EQ(effect.hostVersion(), 1);
    EXPECT_EQ(effect.hostCurrentId(), 0);
    EXPECT_TRUE(effect.hostInputConnected(0));
    EXPECT_TRUE(effect.hostOutputConnected(0));
    EXPECT_EQ(effect.hostGetSampleRate(), 44100.0f);
    EXPECT_EQ(effect.hostGetBlockSize(), 1024);
    EXPECT_EQ(effect.hostGetTime(0x600), nullptr);
    EXPECT_EQ(effect.hostTempoAt(0), 0);
    EXPECT_EQ(effect.hostGetNumAutomatableParameters(), 0);
    EXPECT_FALSE(effect.hostIOChanged());
    EXPECT_FALSE(effect.hostNeedIdle());
    EXPECT_FALSE(effect.hostSizeWindow(10, 10));
    EXPECT_EQ(effect.hostGetPreviousPlug(0), nullptr);
    EXPECT_EQ(effect.hostGetNextPlug(0), nullptr);
    EXPECT_FALSE(effect.hostGetVendorString(text));
    EXPECT_FALSE(effect.hostCanDo(text));
    EXPECT_EQ(effect.hostGetDirectory(), nullptr);
    EXPECT_FALSE(effect.hostOpenFileSelector(&selector));
    EXPECT_FALSE(effect.hostBeginEdit(0));
    EXPECT_EQ(effect.hostVendorSpecific(1, 2, nullptr, 3.0f), 0);
    effect.hostIdle();
    effect.hostWantMidi(1);
    effect.automateParameter(0, 0.5f);
}

TEST(HostServices, OperandsAndAnswerConversion) {
    RecordingHost& host = RecordingHost::reset(0);
    ServiceEffect effect(RecordingHost::callback);
    AEffect* record = effect.getEffectRecord();

    EXPECT_EQ(effect.hostVersion(), 1);  // a host answering 0 counts as version 1
    host.answers[audioMasterVersion] = 2400;
    EXPECT_EQ(effect.hostVersion(), 2400);
    EXPECT_EQ(host.requests.back().effect, record);

    host.requests.clear();
    EXPECT_TRUE(effect.hostOutputConnected(3));
    ASSERT_EQ(host.requests.size(), 1u);
    EXPECT_EQ(host.requests[0].opcode, audioMasterPinConnected);
    EXPECT_EQ(host.requests[0].index, 3);
    EXPECT_EQ(host.requests[0].value, 1);
    host.answers[audioMasterPinConnected] = 1;
    EXPECT_FALSE(effect.hostOutputConnected(3));
    EXPECT_FALSE(effect.hostInputConnected(2));
    EXPECT_EQ(host.requests.back().value, 0);

    host.answers[audioMasterSizeWindow] = 7;
    EXPECT_TRUE(effect.hostSizeWindow(525, 300));
    EXPECT_EQ(host.requests.back().index, 525);
    EXPECT_EQ(host.requests.back().value, 300);

    host.answers[audioMasterGetSampleRate] = 96000;
    host.answers[audioMasterGetBlockSize] = 64;
    EXPECT_EQ(effect.hostGetSampleRate(), 44100.0f);  // the effect's own values, not the host's
    EXPECT_EQ(effect.hostGetBlockSize(), 1024);

    VstTimeInfo time{};
    host.answers[audioMasterGetTime] = reinterpret_cast<intptr_t>(&time);
    EXPECT_EQ(effect.hostGetTime(0x600), &time);
    EXPECT_EQ(host.requests.back().value, 0x600);

    host.requests.clear();
    EXPECT_FALSE(effect.hostOpenFileSelector(nullptr));
    EXPECT_TRUE(host.requests.empty());

    effect.hostSetOutputSampleRate(22050.0f);
    EXPECT_EQ(host.requests.back().opt, 22050.0f);
    effect.hostVendorSpecific(5, 6, &time, 1.5f);
    EXPECT_EQ(host.requests.back().index, 5);
    EXPECT_EQ(host.requests.back().value, 6);
    EXPECT_EQ(host.requests.back().ptr, &time);
    EXPECT_EQ(host.requests.back().opt, 1.5f);

    host.requests.clear();
    effect.automateParameter(4, 0.25f);
    ASSERT_EQ(host.requests.size(), 1u);
    EXPECT_EQ(host.requests[0].opcode, audioMasterAutomate);
    EXPECT_EQ(host.requests[0].index, 4);
    EXPECT_EQ(host.requests[0].opt, 0.25f);
}
