// Pixel rules of the Windows port read back with GetPixel: strokes, fills, lines, text placement,
// fonts as GDI made them, mouse state from synthesized input, off-screen surfaces.
#include <cstdio>
#include <cstdlib>
#include <set>
#include <utility>

#include "CrossPortScene.h"
#include "Win32TestSupport.h"
#include "gui/Bitmap.h"
#include "gui/OffscreenContext.h"

namespace {

constexpr Color kPaper{10, 20, 30, 0};
constexpr Color kInk{200, 40, 90, 0};
constexpr Color kBox{0, 0, 255, 0};

std::set<std::pair<int, int>> asSet(const std::vector<Point>& points) {
    std::set<std::pair<int, int>> set;
    for (const Point& p : points) {
        set.insert({p.h, p.v});
    }
    return set;
}

class GdiPixelTest : public Win32Test {};

TEST_F(GdiPixelTest, StrokeCoversBothEndsAndFillExactlyTheInside) {
    GdiCanvas canvas(32, 32, kPaper);
    canvas.ctx()->setLineColor(kInk);
    canvas.ctx()->strokeRect(Rect{10, 10, 20, 20});
    std::set<std::pair<int, int>> outline;
    for (int i = 10; i <= 20; ++i) {
        outline.insert({i, 10});
        outline.insert({i, 20});
        outline.insert({10, i});
        outline.insert({20, i});
    }
    EXPECT_EQ(asSet(canvas.pixelsOf(kInk)), outline) << canvas.dump(kInk);

    GdiCanvas filled(32, 32, kPaper);
    filled.ctx()->setFillColor(kInk);
    filled.ctx()->fillRect(Rect{10, 10, 20, 20});
    std::set<std::pair<int, int>> inside;
    for (int y = 11; y <= 19; ++y) {
        for (int x = 11; x <= 19; ++x) {
            inside.insert({x, y});
        }
    }
    EXPECT_EQ(asSet(filled.pixelsOf(kInk)), inside) << filled.dump(kInk);

    GdiCanvas both(32, 32, kPaper);
    both.ctx()->setLineColor(kInk);
    both.ctx()->strokeRect(Rect{3, 4, 12, 9});
    both.ctx()->setFillColor(colorYellow);
    both.ctx()->fillRect(Rect{3, 4, 12, 9});
    EXPECT_EQ(both.pixelsOf(kInk).size(), 2u * 10 + 2u * 4);
    EXPECT_EQ(both.pixelsOf(colorYellow).size(), 8u * 4);
    EXPECT_EQ(both.inkBox(kPaper).left, 3);
    EXPECT_EQ(both.inkBox(kPaper).bottom, 9);
}

TEST_F(GdiPixelTest, DegenerateFillsPaintNothing) {
    GdiCanvas canvas(16, 16, kPaper);
    canvas.ctx()->setFillColor(kInk);
    for (const Rect& rect : {Rect{5, 5, 6, 10}, Rect{5, 5, 10, 6}, Rect{5, 5, 5, 5}}) {
        canvas.ctx()->fillRect(rect);
    }
    EXPECT_TRUE(canvas.pixelsOf(kInk).empty()) << canvas.dump(kInk);
}

TEST_F(GdiPixelTest, LineToLeavesOutItsEndPointAndMovesThePen) {
    struct Case {
        Point from;
        Point to;
        std::vector<std::pair<int, int>> pixels;
    };
    const Case cases[] = {
        {{2, 3}, {6, 3}, {{2, 3}, {3, 3}, {4, 3}, {5, 3}}},
        {{6, 3}, {2, 3}, {{6, 3}, {5, 3}, {4, 3}, {3, 3}}},
        {{4, 1}, {4, 5}, {{4, 1}, {4, 2}, {4, 3}, {4, 4}}},
        {{4, 5}, {4, 1}, {{4, 5}, {4, 4}, {4, 3}, {4, 2}}},
        {{1, 1}, {5, 5}, {{1, 1}, {2, 2}, {3, 3}, {4, 4}}},
        {{5, 1}, {1, 5}, {{5, 1}, {4, 2}, {3, 3}, {2, 4}}},
        {{3, 3}, {3, 3}, {}},
    };
    for (const Case& c : cases) {
        GdiCanvas canvas(10, 10, kPaper);
        canvas.ctx()->setLineColor(kInk);
        canvas.ctx()->moveTo(c.from);
        canvas.ctx()->lineTo(c.to);
        const std::set<std::pair<int, int>> expected(c.pixels.begin(), c.pixels.end());
        EXPECT_EQ(asSet(canvas.pixelsOf(kInk)), expected)
            << "from " << c.from.h << "," << c.from.v << " to " << c.to.h << "," << c.to.v << "\n"
            << canvas.dump(kInk);
    }
    GdiCanvas trace(4, 70, kPaper);
    trace.ctx()->setLineColor(kInk);
    trace.ctx()->moveTo(Point{1, 35 - 10 - 1});
    trace.ctx()->lineTo(Point{1, 35 + 10 + 1});
    trace.ctx()->moveTo(Point{2, 35 + 1 - 1});
    trace.ctx()->lineTo(Point{2, 35 - 1 + 1});
    const Rect box = trace.inkBox(kPaper);
    EXPECT_EQ(box.left, 1);
    EXPECT_EQ(box.right, 1);
    EXPECT_EQ(box.top, 24);
    EXPECT_EQ(box.bottom, 45);
}

TEST_F(GdiPixelTest, DottedLinesLeaveGapsAndOtherStylesAreSolid) {
    GdiCanvas dotted(40, 4, kPaper);
    dotted.ctx()->setLineColor(kInk);
    dotted.ctx()->setLineStyle(lineDotted);
    dotted.ctx()->moveTo(Point{0, 1});
    dotted.ctx()->lineTo(Point{36, 1});
    EXPECT_EQ(dotted.pixelsOf(kInk).size(), 18u) << dotted.dump(kInk);
    EXPECT_EQ(dotted.at(0, 1), kInk);
    EXPECT_EQ(dotted.at(3, 1), kPaper);

    GdiCanvas other(40, 4, kPaper);
    other.ctx()->setLineColor(kInk);
    other.ctx()->setLineStyle(5);
    other.ctx()->moveTo(Point{0, 1});
    other.ctx()->lineTo(Point{36, 1});
    EXPECT_EQ(other.pixelsOf(kInk).size(), 36u);
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

Rect boxOf(int32_t alignment, const Rect& rect, const char* text = "Mix", int32_t font = 3,
           int32_t size = 12) {
    GdiCanvas canvas(120, 60, kPaper);
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

TEST_F(GdiPixelTest, TextAlignmentsAndTheOnePixelLeftInset) {
    const Rect rect{10, 10, 110, 40};
    const Rect left = boxOf(alignLeft, rect);
    const Rect centre = boxOf(alignCenter, rect);
    const Rect right = boxOf(alignRight, rect);
    EXPECT_EQ(left.left, rect.left + 1);
    EXPECT_EQ(right.right, rect.right - 1);
    const int32_t width = left.right - left.left;
    EXPECT_GT(width, 10);
    EXPECT_EQ(centre.right - centre.left, width);
    const int32_t marginLeft = centre.left - rect.left;
    const int32_t marginRight = rect.right - 1 - centre.right;
    EXPECT_TRUE(marginRight == marginLeft || marginRight == marginLeft + 1)
        << marginLeft << " " << marginRight;
    for (const Rect& box : {left, centre, right}) {
        const int32_t above = box.top - rect.top;
        const int32_t below = rect.bottom - 1 - box.bottom;
        EXPECT_LE(std::abs(below - above), 1) << above << " " << below;
    }
    EXPECT_EQ(boxOf(7, rect), left);
    EXPECT_EQ(boxOf(-1, rect), left);
}

// Where each port puts the same texts: printed for comparison with the Linux port's table.
TEST_F(GdiPixelTest, TextBoxesOfTheEditorsFonts) {
    const struct {
        int32_t font, size;
        const char* text;
    } cases[] = {{3, 12, "Mix"}, {6, 9, "Atk"}, {6, 9, "Threshold"}, {3, 10, "POST"},
                 {3, 9, "0.50"}, {0, 0, "?"},   {6, 9, "MidiNote-Control OFF"}};
    for (const auto& c : cases) {
        const Rect box = boxOf(alignCenter, Rect{0, 0, 120, 30}, c.text, c.font, c.size);
        // The glyphs themselves: ink extent and how many pixels are fully text-coloured.
        GdiCanvas ink(120, 30, kPaper);
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

TEST_F(GdiPixelTest, MouseStateFollowsSynthesizedInput) {
    GdiCanvas canvas(4, 4);
    INPUT inputs[2]{};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = VK_SHIFT;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    ASSERT_EQ(SendInput(2, inputs, sizeof(INPUT)), 2u);
    EXPECT_TRUE(pumpUntil([&] { return canvas.ctx()->mouseButtons() == 9; }))
        << canvas.ctx()->mouseButtons();
    inputs[0].ki.dwFlags = KEYEVENTF_KEYUP;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
    EXPECT_TRUE(pumpUntil([&] { return canvas.ctx()->mouseButtons() == 0; }));

    SetCursorPos(123, 45);
    Point where;
    EXPECT_TRUE(pumpUntil([&] {
        canvas.ctx()->mousePosition(where);
        return where == Point{123, 45};
    })) << where.h << "," << where.v;
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

TEST_F(GdiPixelTest, TheSceneIsPixelForPixelWhatLinuxDraws) {
    GdiCanvas canvas(kSceneSize, kSceneSize, kPaper);
    drawCrossPortScene(canvas.ctx());
    const auto pixel = [&](int32_t x, int32_t y) { return canvas.at(x, y); };
    EXPECT_EQ(sceneChecksum(pixel), kCrossPortSceneChecksum) << sceneMap(pixel, kPaper);
}

}  // namespace
