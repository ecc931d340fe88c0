// State as hosts keep it: saved through lilv (and through Turtle, as a session file holds it),
// restored into a new instance exactly; blobs that are not this plug-in's bank are refused
// without touching anything.
#include <gtest/gtest.h>

#include <cstring>
#include <lv2/atom/atom.h>
#include <lv2/state/state.h>

#include "Lv2TestHost.h"
#include "engine/ChunkLayout.h"
#include "lv2/Lv2Effect.h"
#include "lv2/Lv2Uris.h"

namespace {

std::vector<unsigned char> bankOf(Lv2Run& run) {
    const void* data = nullptr;
    auto& effect = *static_cast<Lv2Effect*>(run.handle());
    const int32_t size = effect.plugin().getChunk(&data, false);
    return std::vector<unsigned char>(static_cast<const unsigned char*>(data),
                                      static_cast<const unsigned char*>(data) + size);
}

const void* getPortValue(const char* symbol, void* self, uint32_t* size, uint32_t* type) {
    auto* run = static_cast<Lv2Run*>(self);
    static float value;
    value = run->control(static_cast<uint32_t>(run->portIndex(symbol)));
    *size = sizeof value;
    *type = UridMap::shared().map(LV2_ATOM__Float);
    return &value;
}

void setPortValue(const char* symbol, void* self, const void* value, uint32_t size, uint32_t) {
    if (size == sizeof(float))
        static_cast<Lv2Run*>(self)->setControl(symbol, *static_cast<const float*>(value));
}

// Edits a session would hold: steps, sequence length, modes, a program change and values.
void edit(Lv2Run& run) {
    auto& effect = *static_cast<Lv2Effect*>(run.handle());
    for (int32_t step = 0; step < kNumStepValues; ++step)
        effect.plugin().setStepValue(step, 0.03f * static_cast<float>(step));
    effect.plugin().setProgram(3);
    run.setControl("size", 0.8f);
    run.setControl("sequence_length", 6.0f);
    run.setControl("post_filter_type", 2.0f);
    run.setControl("midi_note_control", 1.0f);
    run.setControl("repeat_till_note_off", 1.0f);
    std::vector<float> silence(64);
    run.runBlock(silence.data(), silence.data(), silence.data(), silence.data(), 64);
}

TEST(Lv2State, SavedThroughTurtleReopensExactly) {
    const Lv2Bundle& bundle = Lv2Bundle::shared();
    Lv2Run first(48000.0);
    edit(first);
    LilvState* state =
        lilv_state_new_from_instance(bundle.plugin(), first.get(), UridMap::shared().mapFeature(), nullptr,
                                     nullptr, nullptr, nullptr, getPortValue, &first, 0, bundle.features());
    ASSERT_NE(state, nullptr);
    char* text = lilv_state_to_string(bundle.world(), UridMap::shared().mapFeature(),
                                      UridMap::shared().unmapFeature(), state, "urn:test:session", nullptr);
    lilv_state_free(state);
    LilvState* reread = lilv_state_new_from_string(bundle.world(), UridMap::shared().mapFeature(), text);
    lilv_free(text);
    ASSERT_NE(reread, nullptr);

    Lv2Run second(48000.0);
    lilv_state_restore(reread, second.get(), setPortValue, &second, 0, bundle.features());
    lilv_state_free(reread);
    std::vector<float> silence(64);
    second.runBlock(silence.data(), silence.data(), silence.data(), silence.data(), 64);
    auto& a = *static_cast<Lv2Effect*>(first.handle());
    auto& b = *static_cast<Lv2Effect*>(second.handle());
    EXPECT_EQ(bankOf(first), bankOf(second));
    EXPECT_EQ(b.plugin().getProgram(), 3);
    for (uint32_t port = kPortFirstParameter; port < kPortTime; ++port)
        EXPECT_EQ(a.controlValue(port), b.controlValue(port)) << "port " << port;
    EXPECT_EQ(b.plugin().getStepValue(7), 0.03f * 7.0f);
    EXPECT_EQ(b.plugin().getSequenceLength(), 6);
}

// A host's stored properties, as retrieve hands them out.
struct Stored {
    std::vector<unsigned char> bank;
    LV2_URID bankType = 0;
    bool hasBank = true;
    int32_t program = 2;
    LV2_URID programType = 0;
    size_t programSize = 4;
    bool hasProgram = true;
};

const void* retrieve(LV2_State_Handle handle, uint32_t key, size_t* size, uint32_t* type, uint32_t* flags) {
    auto* stored = static_cast<Stored*>(handle);
    UridMap& uris = UridMap::shared();
    *flags = LV2_STATE_IS_POD;
    if (key == uris.map(BRINDLE_LV2_STATE_BANK) && stored->hasBank) {
        *size = stored->bank.size();
        *type = stored->bankType;
        return stored->bank.data();
    }
    if (key == uris.map(BRINDLE_LV2_STATE_PROGRAM) && stored->hasProgram) {
        *size = stored->programSize;
        *type = stored->programType;
        return &stored->program;
    }
    return nullptr;
}

TEST(Lv2State, RefusesWhatIsNotThisPluginsBank) {
    UridMap& uris = UridMap::shared();
    Lv2Run owner(44100.0);
    const auto* state = static_cast<const LV2_State_Interface*>(
        lilv_instance_get_extension_data(owner.get(), LV2_STATE__interface));
    ASSERT_NE(state, nullptr);
    Stored good;
    good.bank.assign(kBankChunkSize, 0);
    putChunkFloat(good.bank.data() + bankStepOffset(0), 0.77f);
    good.bankType = uris.map(BRINDLE_LV2_STATE_BANK_TYPE);
    good.programType = uris.map(LV2_ATOM__Int);
    struct Bad {
        const char* what;
        void (*spoil)(Stored&);
    };
    const Bad bad[] = {
        {"short bank", [](Stored& s) { s.bank.resize(kBankChunkSize - 1); }},
        {"long bank", [](Stored& s) { s.bank.resize(kBankChunkSize + 1); }},
        {"empty bank", [](Stored& s) { s.bank.clear(); }},
        {"bank of another type", [](Stored& s) { s.bankType = UridMap::shared().map(LV2_ATOM__Chunk); }},
        {"no bank (another plug-in's state)", [](Stored& s) { s.hasBank = false; }},
        {"no program", [](Stored& s) { s.hasProgram = false; }},
        {"program of another type",
         [](Stored& s) { s.programType = UridMap::shared().map(LV2_ATOM__Float); }},
        {"program of another size", [](Stored& s) { s.programSize = 2; }},
    };
    for (const Bad& b : bad) {
        Lv2Run run(44100.0);
        edit(run);
        const auto before = bankOf(run);
        const int32_t programBefore = static_cast<Lv2Effect*>(run.handle())->plugin().getProgram();
        Stored stored = good;
        b.spoil(stored);
        EXPECT_NE(state->restore(run.handle(), retrieve, &stored, 0, nullptr), LV2_STATE_SUCCESS) << b.what;
        EXPECT_EQ(bankOf(run), before) << b.what;
        EXPECT_EQ(static_cast<Lv2Effect*>(run.handle())->plugin().getProgram(), programBefore) << b.what;
    }
    // The good one is taken, and a program outside the bank selects nothing.
    for (int32_t program : {2, 16, -1}) {
        Lv2Run run(44100.0);
        Stored stored = good;
        stored.program = program;
        EXPECT_EQ(state->restore(run.handle(), retrieve, &stored, 0, nullptr), LV2_STATE_SUCCESS);
        auto& effect = *static_cast<Lv2Effect*>(run.handle());
        EXPECT_EQ(effect.plugin().getStepValue(0), 0.77f);
        EXPECT_EQ(effect.plugin().getProgram(), program == 2 ? 2 : 0);
    }
}

}  // namespace
