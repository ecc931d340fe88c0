// The toolkit's eight fonts and how setFont turns (id, size, face bits) into a font choice.
#pragma once

#include <cstdint>

constexpr int32_t faceBold = 1;
constexpr int32_t faceItalic = 2;
constexpr int32_t faceUnderline = 4;

constexpr int32_t kFontCount = 8;

// A font as the drawing ports build it. size is the character (em) height in pixels.
struct FontChoice {
    int32_t id = 0;
    const char* face = "Arial";
    int32_t size = 12;
    int32_t weight = 400;  // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool decorative = false;  // decorative family and default pitch instead of swiss, variable
};

// Face name of a font id; ids outside 0..7 give font 0's.
const char* fontFace(int32_t id);
// Default size in pixels of a font id; ids outside 0..7 give font 0's.
int32_t fontDefaultSize(int32_t id);

// An id outside 0..7 becomes 0, size 0 becomes the table's size, id 0 is always bold.
FontChoice chooseFont(int32_t id, int32_t size, int32_t face);
