// Biquad coefficient design (bandwidth form) and direct-form-I filtering.
#pragma once

#include <cmath>

// b0, b1, b2, a1, a2, already divided by a0.
struct BiquadCoefficients {
    float b0 = 0.0f;
    float b1 = 0.0f;
    float b2 = 0.0f;
    float a1 = 0.0f;
    float a2 = 0.0f;
};

// Last two inputs and outputs of one channel.
struct BiquadState {
    float x1 = 0.0f;
    float x2 = 0.0f;
    float y1 = 0.0f;
    float y2 = 0.0f;
};
