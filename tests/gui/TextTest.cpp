// Text placement: alignment, the one-pixel left inset, vertical centring, clipping, opaque boxes.
#include <cstdio>
#include <cstdlib>

#include "GuiTestSupport.h"

namespace {

constexpr Color kPaper{10, 20, 30, 0};
constexpr Color kBox{0, 0, 255, 0};

class TextTest : public HeadlessTest {};

// The opaque box behind the characters shows exactly where the text was placed.
Rect boxOf(int32_t alignment, const Rect& rect, const char* text = "Mix", int32_t font = 3,
           int32_t size = 12) {
    Canvas canvas(120, 60, kPaper);
    canvas.ctx()->setFont(font, size, 0);
    canvas.ctx()->setFillColor(kBox);
    canvas.ctx()->setTextColor(colorYellow);
    canvas.ctx()->drawText(text, rect, true, alignment);
    Rect box{1000, 1000, -1, -1};
    for (const Point& p : canvas.pixelsOf(kBox)) {
        box.left = std::min(box.left, p.h);
        box.top = std::min(box.top, p.v);
        box.right = std::max(box.right, p.h);
        box.bottom = std::max(box.bottom, p.v);
    }
    return box;
}

TEST_F(TextTest, AlignmentsPlaceTheBoxAndLeftStartsOnePixelIn) {
    const Rect rect{10, 10, 110, 40};
    const Rect left = boxOf(alignLeft, rect);
    const Rect centre = boxOf(alignCenter, rect);
    const Rect right = boxOf(alignRight, rect);
    EXPECT_EQ(left.left, rect.left + 1);
    EXPECT_EQ(right.right, rect.right - 1);
    const int32_t width = left.right - left.left;
    EXPECT_GT(width, 10);
    EXPECT_EQ(centre.right - centre.left, width);
    EXPECT_EQ(right.right - right.left, width);
    // Centred: equal margins, the odd pixel on the right.
    const int32_t marginLeft = centre.left - rect.left;
    const int32_t marginRight = rect.right - 1 - centre.right;
    EXPECT_TRUE(marginRight == marginLeft || marginRight == marginLeft + 1)
        << marginLeft << " " << marginRight;
    // Vertically centred the same way, in every alignment.
    for (const Rect& box : {left, centre, right}) {
        const int32_t above = box.top - rect.top;
        const int32_t below = rect.bottom - 1 - box.bottom;
        EXPECT_LE(std::abs(below - above), 1) << above << " " << below;
        EXPECT_EQ(box.bottom - box.top + 1, 14);  // ascent 11 + descent 3 at 12 pixels
    }
    // Every other alignment value is left alignment.
    EXPECT_EQ(boxOf(7, rect), left);
    EXPECT_EQ(boxOf(-1, rect), left);
}

TEST_F(TextTest, TextStaysInsideItsBoxAndTransparentTextHasNoBox) {
    const Rect rect{20, 20, 40, 28};  // far too small for the text
    Canvas canvas(80, 50, kPaper);
    canvas.ctx()->setFont(1, 0, 0);
    canvas.ctx()->setFillColor(kBox);
    canvas.ctx()->setTextColor(colorYellow);
    canvas.ctx()->drawText("Wide text here", rect, true, alignLeft);
    const Rect ink = canvas.inkBox(kPaper);
    EXPECT_GE(ink.left, rect.left + 1);
    EXPECT_LE(ink.right, rect.right - 1);
    EXPECT_GE(ink.top, rect.top);
    EXPECT_LE(ink.bottom, rect.bottom - 1);

    Canvas clear(80, 50, kPaper);
    clear.ctx()->setFont(3, 0, 0);
    clear.ctx()->setFillColor(kBox);
    clear.ctx()->setTextColor(colorYellow);
    clear.ctx()->drawText("ab", Rect{10, 10, 70, 40}, false, alignLeft);
    EXPECT_TRUE(clear.pixelsOf(kBox).empty());
    const Rect glyphs = clear.inkBox(kPaper);
    EXPECT_GE(glyphs.left, 11);
    EXPECT_LT(glyphs.left, 14);
    EXPECT_FALSE(clear.pixelsOf(colorYellow).empty());
}

TEST_F(TextTest, EmptyTextAndAmpersandsAreDrawnAsGiven) {
    Canvas canvas(60, 30, kPaper);
    canvas.ctx()->setTextColor(colorYellow);
    canvas.ctx()->drawText("", Rect{0, 0, 60, 30}, false, alignCenter);
    EXPECT_EQ(canvas.inkBox(kPaper).right, -1);
    // "&" is a character, not a prefix: "&&" is wider than "&".
    const Rect one = boxOf(alignLeft, Rect{0, 0, 100, 30}, "&");
    const Rect two = boxOf(alignLeft, Rect{0, 0, 100, 30}, "&&");
    EXPECT_GT(two.right - two.left, one.right - one.left);
}

// Where each port puts the same texts: printed for comparison with the Windows port's table.
TEST_F(TextTest, TextBoxesOfTheEditorsFonts) {
    const struct {
        int32_t font, size;
        const char* text;
    } cases[] = {{3, 12, "Mix"}, {6, 9, "Atk"}, {6, 9, "Threshold"}, {3, 10, "POST"},
                 {3, 9, "0.50"}, {0, 0, "?"},   {6, 9, "MidiNote-Control OFF"}};
    for (const auto& c : cases) {
        const Rect box = boxOf(alignCenter, Rect{0, 0, 120, 30}, c.text, c.font, c.size);
        // The glyphs themselves: ink extent and how many pixels are fully text-coloured.
        Canvas ink(120, 30, kPaper);
        ink.ctx()->setFont(c.font, c.size, 0);
        ink.ctx()->setTextColor(colorYellow);
        ink.ctx()->drawText(c.text, Rect{0, 0, 120, 30}, false, alignCenter);
        const Rect glyphs = ink.inkBox(kPaper);
        std::printf("text box font %d size %d \"%s\": x %d..%d y %d..%d; ink x %d..%d y %d..%d, %d solid\n",
                    c.font, c.size, c.text, box.left, box.right, box.top, box.bottom, glyphs.left,
                    glyphs.right, glyphs.top, glyphs.bottom,
                    static_cast<int>(ink.pixelsOf(colorYellow).size()));
        EXPECT_GE(box.left, 0);
        EXPECT_LE(box.right, 119);
    }
}

TEST_F(TextTest, SingleByteTextsDoNotBreakTheContext) {
    Canvas canvas(60, 30, kPaper);
    canvas.ctx()->setTextColor(colorYellow);
    canvas.ctx()->drawText("20\xb0 \xe9\xff", Rect{0, 0, 60, 30}, false, alignLeft);
    EXPECT_NE(canvas.inkBox(kPaper).right, -1);
    // The context still draws afterwards.
    canvas.ctx()->setFillColor(kBox);
    canvas.ctx()->fillRect(Rect{0, 0, 60, 30});
    EXPECT_EQ(canvas.at(30, 15), kBox);
}

}  // namespace
