// Fuzz target: the LV2 state loader with arbitrary properties (bank bytes of any size, any type,
// any program, either missing), then control ports, MIDI and tempo on the event port, runs of
// any length and a save-and-restore round trip.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <lv2/atom/atom.h>
#include <lv2/atom/forge.h>
#include <lv2/midi/midi.h>
#include <lv2/time/time.h>

#include "engine/ChunkLayout.h"
#include "lv2/Lv2Effect.h"
#include "lv2/Lv2State.h"
#include "lv2/Lv2Uris.h"
#include "FuzzRequire.h"
#include "tests/lv2/UridMap.h"

namespace {

struct Property {
    std::vector<uint8_t> bytes;
    uint32_t type = 0;
    bool present = true;
};

struct Store {
    Property bank, program;
    LV2_URID bankKey = 0, programKey = 0;
};

const void* retrieve(LV2_State_Handle handle, uint32_t key, size_t* size, uint32_t* type, uint32_t* flags) {
    auto* store = static_cast<Store*>(handle);
    Property* property = key == store->bankKey      ? &store->bank
                         : key == store->programKey ? &store->program
                                                    : nullptr;
    if (!property || !property->present) return nullptr;
    *size = property->bytes.size();
    *type = property->type;
    *flags = LV2_STATE_IS_POD;
    // An empty property still has an address, as hosts hand it over.
    return property->bytes.empty() ? static_cast<const void*>(store) : property->bytes.data();
}

LV2_State_Status storeInto(LV2_State_Handle handle, uint32_t key, const void* value, size_t size,
                           uint32_t type, uint32_t) {
    auto* store = static_cast<Store*>(handle);
    Property& property = key == store->bankKey ? store->bank : store->program;
    property.bytes.assign(static_cast<const uint8_t*>(value), static_cast<const uint8_t*>(value) + size);
    property.type = type;
    property.present = true;
    return LV2_STATE_SUCCESS;
}

std::vector<unsigned char> bankOf(Lv2Effect& effect) {
    const void* data = nullptr;
    const int32_t size = effect.plugin().getChunk(&data, false);
    return std::vector<unsigned char>(static_cast<const unsigned char*>(data),
                                      static_cast<const unsigned char*>(data) + size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    LV2_URID_Map& map = *UridMap::shared().mapFeature();
    Lv2Effect effect(data.ConsumeFloatingPointInRange<double>(1.0, 400000.0), &map);
    const Lv2Urids& uris = effect.urids();
    effect.activate();
    float controls[kNumControlPorts];
    for (uint32_t i = 0; i < kNumControlPorts; ++i) {
        controls[i] = effect.controlValue(kPortFirstParameter + i);
        effect.connectPort(kPortFirstParameter + i, &controls[i]);
    }
    std::vector<float> in(5000), outL(5000), outR(5000);
    for (size_t i = 0; i < in.size(); ++i)
        in[i] = 0.5f * static_cast<float>((i * 7919) % 200) / 100.0f - 0.5f;
    effect.connectPort(kPortInputLeft, in.data());
    effect.connectPort(kPortInputRight, in.data());
    effect.connectPort(kPortOutputLeft, outL.data());
    effect.connectPort(kPortOutputRight, outR.data());
    alignas(8) uint8_t eventBuffer[4096];

    const int rounds = data.ConsumeIntegralInRange<int>(1, 4);
    for (int round = 0; round < rounds && data.remaining_bytes() > 0; ++round) {
        // State: the saved one spoiled, or bytes of the input.
        Store store;
        store.bankKey = uris.stateBank;
        store.programKey = uris.stateProgram;
        if (data.ConsumeBool()) {
            saveState(effect, storeInto, &store);
        } else {
            store.bank.bytes =
                data.ConsumeBytes<uint8_t>(data.ConsumeIntegralInRange<size_t>(0, kBankChunkSize + 8));
            store.bank.type = uris.stateBankType;
            store.program.bytes = data.ConsumeBytes<uint8_t>(data.ConsumeIntegralInRange<size_t>(0, 6));
            store.program.type = uris.atomInt;
        }
        if (data.ConsumeBool()) store.bank.type = data.ConsumeIntegral<uint32_t>();
        if (data.ConsumeBool()) store.program.type = data.ConsumeIntegral<uint32_t>();
        store.bank.present = data.ConsumeIntegralInRange<int>(0, 7) != 0;
        store.program.present = data.ConsumeIntegralInRange<int>(0, 7) != 0;
        const auto before = bankOf(effect);
        const bool whole = store.bank.present && store.program.present &&
                           store.bank.type == uris.stateBankType && store.program.type == uris.atomInt &&
                           store.bank.bytes.size() == size_t(kBankChunkSize) &&
                           store.program.bytes.size() == 4;
        const LV2_State_Status status = restoreState(effect, retrieve, &store);
        FUZZ_REQUIRE((status == LV2_STATE_SUCCESS) == whole, "only a whole bank of this plug-in is taken");
        if (!whole) FUZZ_REQUIRE(bankOf(effect) == before, "a refused state changes nothing");

        // Controls, events and a run.
        const int changes = data.ConsumeIntegralInRange<int>(0, 4);
        for (int c = 0; c < changes; ++c)
            controls[data.ConsumeIntegralInRange<uint32_t>(0, kNumControlPorts - 1)] =
                data.ConsumeFloatingPoint<float>();
        LV2_Atom_Forge forge;
        lv2_atom_forge_init(&forge, &map);
        lv2_atom_forge_set_buffer(&forge, eventBuffer, sizeof eventBuffer);
        LV2_Atom_Forge_Frame sequence;
        lv2_atom_forge_sequence_head(&forge, &sequence, 0);
        const uint32_t frames = data.ConsumeIntegralInRange<uint32_t>(0, 5000);
        const int events = data.ConsumeIntegralInRange<int>(0, 4);
        for (int e = 0; e < events; ++e) {
            lv2_atom_forge_frame_time(&forge, data.ConsumeIntegralInRange<int64_t>(0, frames));
            if (data.ConsumeBool()) {
                const uint8_t midi[3] = {data.ConsumeIntegral<uint8_t>(), data.ConsumeIntegral<uint8_t>(),
                                         data.ConsumeIntegral<uint8_t>()};
                lv2_atom_forge_atom(&forge, data.ConsumeIntegralInRange<uint32_t>(0, 3), uris.midiEvent);
                lv2_atom_forge_write(&forge, midi, 3);
            } else {
                LV2_Atom_Forge_Frame object;
                lv2_atom_forge_object(&forge, &object, 0, uris.timePosition);
                lv2_atom_forge_key(&forge, uris.timeBeatsPerMinute);
                lv2_atom_forge_double(&forge, data.ConsumeFloatingPoint<double>());
                lv2_atom_forge_pop(&forge, &object);
            }
        }
        lv2_atom_forge_pop(&forge, &sequence);
        effect.connectPort(kPortEvents, data.ConsumeBool() ? eventBuffer : nullptr);
        effect.run(frames);
        for (uint32_t i = 0; i < frames; ++i)
            FUZZ_REQUIRE(outL[i] == outL[i] && outR[i] == outR[i], "no NaN out");
    }
    return 0;
}
