// The soak run: audio rendered offline through a loaded plug-in with random automation,
// programs, chunks, tempo and rate changes, suspends and MIDI in every mode combination,
// checked block by block; then the separate checks with NaN parameters and input.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct SoakSettings {
    double minutes = 60.0;  // of audio, in sample time
    uint32_t seed = 1;
    std::string plugin;
    // Sees every block the plug-in renders, the separate checks' blocks included (the golden
    // renders hash them).
    std::function<void(const float* left, const float* right, int32_t frames)> observer;
};

// Returns the process exit code: 0 when every check held. Prints its figures.
int runSoak(const SoakSettings& settings);
