// Saving and restoring an instance through the bank chunk, as a VST 2 host's project does.
#include "lv2/Lv2State.h"

#include <cstdint>
#include <cstring>

#include "engine/ChunkLayout.h"
#include "lv2/Lv2Effect.h"

LV2_State_Status saveState(Lv2Effect& effect, LV2_State_Store_Function store, LV2_State_Handle handle) {
    if (!store) return LV2_STATE_ERR_UNKNOWN;
    if (!effect.urids().mapped()) return LV2_STATE_ERR_NO_FEATURE;
    const void* bank = nullptr;
    const int32_t size = effect.plugin().getChunk(&bank, false);
    if (!bank || size != kBankChunkSize) return LV2_STATE_ERR_UNKNOWN;
    const Lv2Urids& uris = effect.urids();
    const auto flags = static_cast<uint32_t>(LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
    LV2_State_Status status =
        store(handle, uris.stateBank, bank, static_cast<size_t>(size), uris.stateBankType, flags);
    if (status != LV2_STATE_SUCCESS) return status;
    const int32_t program = effect.plugin().getProgram();
    return store(handle, uris.stateProgram, &program, sizeof program, uris.atomInt, flags);
}

LV2_State_Status restoreState(Lv2Effect& effect, LV2_State_Retrieve_Function retrieve,
                              LV2_State_Handle handle) {
    if (!retrieve) return LV2_STATE_ERR_UNKNOWN;
    const Lv2Urids& uris = effect.urids();
    if (!uris.mapped()) return LV2_STATE_ERR_NO_FEATURE;
    size_t bankSize = 0, programSize = 0;
    uint32_t bankType = 0, programType = 0, flags = 0;
    const void* bank = retrieve(handle, uris.stateBank, &bankSize, &bankType, &flags);
    const void* program = retrieve(handle, uris.stateProgram, &programSize, &programType, &flags);
    if (!bank || !program) return LV2_STATE_ERR_NO_PROPERTY;
    if (bankType != uris.stateBankType || programType != uris.atomInt) return LV2_STATE_ERR_BAD_TYPE;
    if (bankSize != static_cast<size_t>(kBankChunkSize) || programSize != sizeof(int32_t))
        return LV2_STATE_ERR_UNKNOWN;
    int32_t current = 0;
    std::memcpy(&current, program, sizeof current);
    // As a VST 2 host loads a bank: the chunk, then the program it was on (a number outside the
    // bank selects nothing, and the working values stay as they were).
    effect.plugin().setChunk(bank, kBankChunkSize, false);
    effect.plugin().setProgram(current);
    return LV2_STATE_SUCCESS;
}
