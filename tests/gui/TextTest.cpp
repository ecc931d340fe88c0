// Text placement: alignment, the one-pixel left inset, vertical centring, clipping, opaque boxes.
#include <cstdio>
#include <cstdlib>

#include "GuiTestSupport.h"
#include "PixelRuleCases.h"

namespace {

using namespace pixelRules;

class TextTest : public HeadlessTest {};

TEST_F(TextTest, AlignmentsPlaceTheBoxAndLeftStartsOnePixelIn) {
    const AlignedBoxes boxes = expectAlignmentRules<Canvas>(Rect{10, 10, 110, 40});
    EXPECT_EQ(boxes.right.right - boxes.right.left, boxes.left.right - boxes.left.left);
    for (const Rect& box : {boxes.left, boxes.centre, boxes.right}) {
        EXPECT_EQ(box.bottom - box.top + 1, 14);  // ascent 11 + descent 3 at 12 pixels
    }
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
    const Rect one = textBoxOf<Canvas>(alignLeft, Rect{0, 0, 100, 30}, "&");
    const Rect two = textBoxOf<Canvas>(alignLeft, Rect{0, 0, 100, 30}, "&&");
    EXPECT_GT(two.right - two.left, one.right - one.left);
}

TEST_F(TextTest, TextBoxesOfTheEditorsFonts) { printTextBoxesOfTheEditorsFonts<Canvas>(); }

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
