// The font table: faces and default sizes of the eight font ids.
#include "gui/FontTable.h"

namespace {

struct FontEntry {
    const char* face;
    int32_t size;
};

constexpr FontEntry kFonts[kFontCount] = {
    {"Arial", 12}, {"Arial", 18}, {"Arial", 14}, {"Arial", 12},
    {"Arial", 11}, {"Arial", 10}, {"Arial", 9},  {"Symbol", 13},
};

int32_t validId(int32_t id) { return (id < 0 || id >= kFontCount) ? 0 : id; }

}  // namespace

const char* fontFace(int32_t id) { return kFonts[validId(id)].face; }

int32_t fontDefaultSize(int32_t id) { return kFonts[validId(id)].size; }

FontChoice chooseFont(int32_t id, int32_t size, int32_t face) {
    FontChoice font;
    font.id = validId(id);
    font.face = kFonts[font.id].face;
    font.size = size == 0 ? kFonts[font.id].size : size;
    font.weight = ((face & faceBold) != 0 || font.id == 0) ? 700 : 400;
    font.italic = (face & faceItalic) != 0;
    font.underline = (face & faceUnderline) != 0;
    font.decorative = font.id == 7;
    return font;
}
