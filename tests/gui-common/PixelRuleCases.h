// Pixel rules both ports are held to, written once: each check draws through the portable
// DrawContext into a canvas of the port's own kind (it makes the surface and reads pixels back).
// The port's test support header supplies the canvas and Color's operators.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "CrossPortScene.h"
#include "gui/DrawContext.h"

namespace pixelRules {

constexpr Color kPaper{10, 20, 30, 0};
constexpr Color kInk{200, 40, 90, 0};
constexpr Color kBox{0, 0, 255, 0};

using PixelSet = std::set<std::pair<int, int>>;

inline PixelSet asSet(const std::vector<Point>& points) {
    PixelSet set;
    for (const Point& p : points) {
        set.insert({p.h, p.v});
    }
    return set;
}

// The pixels a stroke of {10, 10, 20, 20} covers: both ends of every side.
inline PixelSet strokeOutline() {
    PixelSet outline;
    for (int i = 10; i <= 20; ++i) {
        outline.insert({i, 10});
        outline.insert({i, 20});
        outline.insert({10, i});
        outline.insert({20, i});
    }
    return outline;
}

// Strokes cover both ends and fills exactly the inside; `both` gets the rect {3, 4, 12, 9} stroked
// then filled: two colours, no overlap, no gap (the caller checks where its ink lies).
template <typename Canvas>
void expectStrokeAndFillRules(Canvas& both) {
    Canvas canvas(32, 32, kPaper);
    canvas.ctx()->setLineColor(kInk);
    canvas.ctx()->strokeRect(Rect{10, 10, 20, 20});
    EXPECT_EQ(asSet(canvas.pixelsOf(kInk)), strokeOutline()) << canvas.dump(kInk);

    Canvas filled(32, 32, kPaper);
    filled.ctx()->setFillColor(kInk);
    filled.ctx()->fillRect(Rect{10, 10, 20, 20});
    PixelSet inside;
    for (int y = 11; y <= 19; ++y) {
        for (int x = 11; x <= 19; ++x) {
            inside.insert({x, y});
        }
    }
    EXPECT_EQ(asSet(filled.pixelsOf(kInk)), inside) << filled.dump(kInk);

    both.ctx()->setLineColor(kInk);
    both.ctx()->strokeRect(Rect{3, 4, 12, 9});
    both.ctx()->setFillColor(colorYellow);
    both.ctx()->fillRect(Rect{3, 4, 12, 9});
    EXPECT_EQ(both.pixelsOf(kInk).size(), 2u * 10 + 2u * 4);
    EXPECT_EQ(both.pixelsOf(colorYellow).size(), 8u * 4);
}

template <typename Canvas>
void expectDegenerateFillsPaintNothing() {
    Canvas canvas(16, 16, kPaper);
    canvas.ctx()->setFillColor(kInk);
    for (const Rect& rect : {Rect{5, 5, 6, 10}, Rect{5, 5, 10, 6}, Rect{5, 5, 5, 5}}) {
        canvas.ctx()->fillRect(rect);
    }
    EXPECT_TRUE(canvas.pixelsOf(kInk).empty()) << canvas.dump(kInk);
}

// A line leaves out its end point, in every direction; a line to where the pen is paints nothing.
// `trace` (4 x 70) gets the waveform's trace: a column from mid - half - 1 to mid + half + 1 paints
// rows mid-half-1 to mid+half; a negative length paints upwards and -2 paints nothing.
template <typename Canvas>
void expectLinesLeaveOutTheirEndPoint(Canvas& trace) {
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
        Canvas canvas(10, 10, kPaper);
        canvas.ctx()->setLineColor(kInk);
        canvas.ctx()->moveTo(c.from);
        canvas.ctx()->lineTo(c.to);
        const PixelSet expected(c.pixels.begin(), c.pixels.end());
        EXPECT_EQ(asSet(canvas.pixelsOf(kInk)), expected)
            << "from " << c.from.h << "," << c.from.v << " to " << c.to.h << "," << c.to.v << "\n"
            << canvas.dump(kInk);
    }

    trace.ctx()->setLineColor(kInk);
    trace.ctx()->moveTo(Point{1, 35 - 10 - 1});
    trace.ctx()->lineTo(Point{1, 35 + 10 + 1});
    trace.ctx()->moveTo(Point{2, 35 + 1 - 1});
    trace.ctx()->lineTo(Point{2, 35 - 1 + 1});
}

// Dotted lines paint every other pixel; `other` (40 x 4) gets a line in style 5, which is solid.
template <typename Canvas>
void expectDottedGapsAndOtherStylesSolid(Canvas& other) {
    Canvas dotted(40, 4, kPaper);
    dotted.ctx()->setLineColor(kInk);
    dotted.ctx()->setLineStyle(lineDotted);
    dotted.ctx()->moveTo(Point{0, 1});
    dotted.ctx()->lineTo(Point{36, 1});
    EXPECT_EQ(dotted.pixelsOf(kInk).size(), 18u) << dotted.dump(kInk);
    EXPECT_EQ(dotted.at(0, 1), kInk);
    EXPECT_EQ(dotted.at(3, 1), kPaper);

    other.ctx()->setLineColor(kInk);
    other.ctx()->setLineStyle(5);
    other.ctx()->moveTo(Point{0, 1});
    other.ctx()->lineTo(Point{36, 1});
    EXPECT_EQ(other.pixelsOf(kInk).size(), 36u);
}

// The opaque box behind the characters shows exactly where the text was placed.
template <typename Canvas>
Rect textBoxOf(int32_t alignment, const Rect& rect, const char* text = "Mix", int32_t font = 3,
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

struct AlignedBoxes {
    Rect left, centre, right;
};

// "Mix" left, centred and right in `rect`: left starts one pixel in, right ends one pixel in,
// centred has equal margins with the odd pixel on the right, every alignment is vertically centred
// and every other alignment value is left alignment. The boxes are returned for further checks.
template <typename Canvas>
AlignedBoxes expectAlignmentRules(const Rect& rect) {
    const AlignedBoxes boxes{textBoxOf<Canvas>(alignLeft, rect), textBoxOf<Canvas>(alignCenter, rect),
                             textBoxOf<Canvas>(alignRight, rect)};
    const Rect& left = boxes.left;
    const Rect& centre = boxes.centre;
    EXPECT_EQ(left.left, rect.left + 1);
    EXPECT_EQ(boxes.right.right, rect.right - 1);
    const int32_t width = left.right - left.left;
    EXPECT_GT(width, 10);
    EXPECT_EQ(centre.right - centre.left, width);
    const int32_t marginLeft = centre.left - rect.left;
    const int32_t marginRight = rect.right - 1 - centre.right;
    EXPECT_TRUE(marginRight == marginLeft || marginRight == marginLeft + 1)
        << marginLeft << " " << marginRight;
    for (const Rect& box : {boxes.left, boxes.centre, boxes.right}) {
        const int32_t above = box.top - rect.top;
        const int32_t below = rect.bottom - 1 - box.bottom;
        EXPECT_LE(std::abs(below - above), 1) << above << " " << below;
    }
    EXPECT_EQ(textBoxOf<Canvas>(7, rect), left);
    EXPECT_EQ(textBoxOf<Canvas>(-1, rect), left);
    return boxes;
}

// Where each port puts the same texts: printed for comparison with the other port's table.
template <typename Canvas>
void printTextBoxesOfTheEditorsFonts() {
    const struct {
        int32_t font, size;
        const char* text;
    } cases[] = {{3, 12, "Mix"}, {6, 9, "Atk"}, {6, 9, "Threshold"},           {3, 10, "POST"},
                 {3, 9, "0.50"}, {0, 0, "?"},   {6, 9, "MidiNote-Control OFF"}};
    for (const auto& c : cases) {
        const Rect box = textBoxOf<Canvas>(alignCenter, Rect{0, 0, 120, 30}, c.text, c.font, c.size);
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

// The shared scene's checksum is the same constant on both ports.
template <typename Canvas>
void expectTheCrossPortScene() {
    Canvas canvas(kSceneSize, kSceneSize, kPaper);
    drawCrossPortScene(canvas.ctx());
    const auto pixel = [&](int32_t x, int32_t y) { return canvas.at(x, y); };
    EXPECT_EQ(sceneChecksum(pixel), kCrossPortSceneChecksum) << sceneMap(pixel, kPaper);
}

}  // namespace pixelRules
