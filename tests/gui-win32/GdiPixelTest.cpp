// Pixel rules of the Windows port read back with GetPixel: strokes, fills, lines, text placement,
// fonts as GDI made them, mouse state from synthesized input, off-screen surfaces.
#include <cstdio>
#include <cstdlib>
#include <set>
#include <utility>

#include "PixelRuleCases.h"
#include "Win32TestSupport.h"
#include "gui/Bitmap.h"
#include "gui/OffscreenContext.h"

namespace {

using namespace pixelRules;

class GdiPixelTest : public Win32Test {};

TEST_F(GdiPixelTest, StrokeCoversBothEndsAndFillExactlyTheInside) {
    GdiCanvas both(32, 32, kPaper);
    expectStrokeAndFillRules(both);
    EXPECT_EQ(both.inkBox(kPaper).left, 3);
    EXPECT_EQ(both.inkBox(kPaper).bottom, 9);
}

TEST_F(GdiPixelTest, DegenerateFillsPaintNothing) { expectDegenerateFillsPaintNothing<GdiCanvas>(); }

TEST_F(GdiPixelTest, LineToLeavesOutItsEndPointAndMovesThePen) {
    GdiCanvas trace(4, 70, kPaper);
    expectLinesLeaveOutTheirEndPoint(trace);
    const Rect box = trace.inkBox(kPaper);
    EXPECT_EQ(box.left, 1);
    EXPECT_EQ(box.right, 1);
    EXPECT_EQ(box.top, 24);
    EXPECT_EQ(box.bottom, 45);
}

TEST_F(GdiPixelTest, DottedLinesLeaveGapsAndOtherStylesAreSolid) {
    GdiCanvas other(40, 4, kPaper);
    expectDottedGapsAndOtherStylesSolid(other);
}

TEST_F(GdiPixelTest, FontsAreMadeAsTheTableSays) {
    GdiCanvas canvas(4, 4);
    struct Case {
        int32_t id, size, face;
        const char* faceName;
        LONG height, weight;
        BYTE italic, underline, pitchAndFamily;
    };
    const Case cases[] = {
        {0, 0, 0, "Arial", -12, 700, 0, 0, FF_SWISS | VARIABLE_PITCH},
        {9, 0, faceItalic, "Arial", -12, 700, 1, 0, FF_SWISS | VARIABLE_PITCH},
        {7, 0, 0, "Symbol", -13, 400, 0, 0, FF_DECORATIVE | DEFAULT_PITCH},
        {6, 0, faceUnderline, "Arial", -9, 400, 0, 1, FF_SWISS | VARIABLE_PITCH},
        {3, 10, faceBold, "Arial", -10, 700, 0, 0, FF_SWISS | VARIABLE_PITCH},
    };
    for (const Case& c : cases) {
        canvas.ctx()->setFont(c.id, c.size, c.face);
        LOGFONTA font{};
        ASSERT_EQ(GetObjectA(GetCurrentObject(canvas.dc(), OBJ_FONT), sizeof font, &font),
                  static_cast<int>(sizeof font));
        EXPECT_STREQ(font.lfFaceName, c.faceName) << c.id;
        EXPECT_EQ(font.lfHeight, c.height) << c.id;
        EXPECT_EQ(font.lfWeight, c.weight) << c.id;
        EXPECT_EQ(font.lfItalic, c.italic) << c.id;
        EXPECT_EQ(font.lfUnderline, c.underline) << c.id;
        EXPECT_EQ(font.lfPitchAndFamily, c.pitchAndFamily) << c.id;
        EXPECT_EQ(font.lfCharSet, ANSI_CHARSET);
        EXPECT_EQ(font.lfOutPrecision, OUT_STRING_PRECIS);
        EXPECT_EQ(font.lfClipPrecision, CLIP_STROKE_PRECIS);
    }
}

TEST_F(GdiPixelTest, TextAlignmentsAndTheOnePixelLeftInset) {
    expectAlignmentRules<GdiCanvas>(Rect{10, 10, 110, 40});
}

TEST_F(GdiPixelTest, TextBoxesOfTheEditorsFonts) { printTextBoxesOfTheEditorsFonts<GdiCanvas>(); }

TEST_F(GdiPixelTest, MouseStateFollowsSynthesizedInput) {
    GdiCanvas canvas(4, 4);
    INPUT inputs[2]{};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = VK_SHIFT;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    ASSERT_EQ(SendInput(2, inputs, sizeof(INPUT)), 2u);
    EXPECT_TRUE(pumpUntil([&] { return canvas.ctx()->mouseButtons() == 9; })) << canvas.ctx()->mouseButtons();
    inputs[0].ki.dwFlags = KEYEVENTF_KEYUP;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
    EXPECT_TRUE(pumpUntil([&] { return canvas.ctx()->mouseButtons() == 0; }));

    SetCursorPos(123, 45);
    Point where;
    EXPECT_TRUE(pumpUntil([&] {
        canvas.ctx()->mousePosition(where);
        return where == Point{123, 45};
    })) << where.h
        << "," << where.v;
}

TEST_F(GdiPixelTest, OffscreenSurfacesAndBlits) {
    GdiCanvas parent(40, 40, kPaper);
    {
        OffscreenContext plain(parent.ctx(), nullptr, false);
        EXPECT_EQ(plain.getWidth(), 20);
        EXPECT_EQ(plain.getHeight(), 20);
        plain.setFillColor(kInk);
        plain.fillRect(Rect{4, 4, 8, 8});
        plain.blitTo(parent.ctx(), Rect{10, 10, 14, 13}, Point{4, 4});
    }
    EXPECT_EQ(parent.inkBox(kPaper).left, 10);
    EXPECT_EQ(parent.inkBox(kPaper).right, 13);
    EXPECT_EQ(parent.inkBox(kPaper).bottom, 12);
    EXPECT_EQ(parent.at(10, 10), colorBlack);
    EXPECT_EQ(parent.at(11, 11), kInk);
    EXPECT_EQ(parent.at(14, 12), kPaper);

    Bitmap picture(nullptr, 30, 10);
    {
        OffscreenContext into(parent.ctx(), &picture, true);
        into.setFillColor(colorYellow);
        into.fillRect(Rect{-1, -1, 30, 10});
    }
    {
        OffscreenContext copy(parent.ctx(), &picture, false);
        EXPECT_EQ(fromRef(GetPixel(static_cast<HDC>(copy.getDeviceContext()), 3, 3)), colorYellow);
        copy.setFillColor(colorBlue);
        copy.fillRect(Rect{-1, -1, 30, 10});
    }
    GdiCanvas check(40, 20, kPaper);
    picture.draw(check.ctx(), Rect{0, 0, 30, 10});
    EXPECT_EQ(check.at(3, 3), colorYellow);
    EXPECT_EQ(check.at(29, 9), colorYellow);
}

TEST_F(GdiPixelTest, TheSceneIsPixelForPixelWhatLinuxDraws) { expectTheCrossPortScene<GdiCanvas>(); }

}  // namespace
