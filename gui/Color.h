// Color and the named colour constants.
#pragma once

#include <cstdint>

// spare is carried along but never drawn.
struct Color {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t spare = 0;
};

// Redraw decisions compare red, green and blue only.
inline bool sameRgb(const Color& a, const Color& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

inline constexpr Color colorBlack{0, 0, 0, 0};
inline constexpr Color colorWhite{255, 255, 255, 0};
inline constexpr Color colorRed{255, 0, 0, 0};
inline constexpr Color colorKeyDefault{255, 255, 255, 0};
inline constexpr Color colorGrey{127, 127, 127, 0};
inline constexpr Color colorGreen{0, 255, 0, 0};
inline constexpr Color colorBlue{0, 0, 255, 0};
inline constexpr Color colorYellow{255, 255, 0, 0};
inline constexpr Color colorMagenta{255, 0, 255, 0};
inline constexpr Color colorCyan{0, 255, 255, 0};
