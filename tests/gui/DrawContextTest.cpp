// Pixel rules of strokes, fills and lines, fonts, mouse state and off-screen surfaces.
#include <set>
#include <utility>

#include "CrossPortScene.h"
#include "GuiTestSupport.h"
#include "gui/Bitmap.h"
#include "gui/OffscreenContext.h"

namespace {

constexpr Color kPaper{10, 20, 30, 0};
constexpr Color kInk{200, 40, 90, 0};

std::set<std::pair<int, int>> asSet(const std::vector<Point>& points) {
    std::set<std::pair<int, int>> set;
    for (const Point& p : points) {
        set.insert({p.h, p.v});
    }
    return set;
}

class DrawContextTest : public HeadlessTest {};

TEST_F(DrawContextTest, StrokeCoversBothEndsAndFillExactlyTheInside) {
    Canvas canvas(32, 32, kPaper);
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
    EXPECT_EQ(outline.size(), 40u);

    Canvas filled(32, 32, kPaper);
    filled.ctx()->setFillColor(kInk);
    filled.ctx()->fillRect(Rect{10, 10, 20, 20});
    std::set<std::pair<int, int>> inside;
    for (int y = 11; y <= 19; ++y) {
        for (int x = 11; x <= 19; ++x) {
            inside.insert({x, y});
        }
    }
    EXPECT_EQ(asSet(filled.pixelsOf(kInk)), inside) << filled.dump(kInk);

    // Stroke then fill the same rect: two colours, no overlap, no gap.
    Canvas both(32, 32, kPaper);
    both.ctx()->setLineColor(kInk);
    both.ctx()->strokeRect(Rect{3, 4, 12, 9});
    both.ctx()->setFillColor(colorYellow);
    both.ctx()->fillRect(Rect{3, 4, 12, 9});
    EXPECT_EQ(both.pixelsOf(kInk).size(), 2u * 10 + 2u * 4);
    EXPECT_EQ(both.pixelsOf(colorYellow).size(), 8u * 4);
    EXPECT_EQ(both.inkBox(kPaper), (Rect{3, 4, 12, 9}));
}

TEST_F(DrawContextTest, DegenerateFillsPaintNothing) {
    Canvas canvas(16, 16, kPaper);
    canvas.ctx()->setFillColor(kInk);
    for (const Rect& rect : {Rect{5, 5, 6, 10}, Rect{5, 5, 10, 6}, Rect{5, 5, 5, 5}}) {
        canvas.ctx()->fillRect(rect);
    }
    EXPECT_TRUE(canvas.pixelsOf(kInk).empty()) << canvas.dump(kInk);
}

TEST_F(DrawContextTest, LineToLeavesOutItsEndPointAndMovesThePen) {
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
        const std::set<std::pair<int, int>> expected(c.pixels.begin(), c.pixels.end());
        EXPECT_EQ(asSet(canvas.pixelsOf(kInk)), expected)
            << "from " << c.from.h << "," << c.from.v << " to " << c.to.h << "," << c.to.v << "\n"
            << canvas.dump(kInk);
    }

    // The waveform's trace: a column from mid - half - 1 to mid + half + 1 paints rows mid-half-1
    // to mid+half; a negative length paints upwards and -2 paints nothing.
    Canvas trace(4, 70, kPaper);
    trace.ctx()->setLineColor(kInk);
    trace.ctx()->moveTo(Point{1, 35 - 10 - 1});
    trace.ctx()->lineTo(Point{1, 35 + 10 + 1});
    trace.ctx()->moveTo(Point{2, 35 + 1 - 1});
    trace.ctx()->lineTo(Point{2, 35 - 1 + 1});
    EXPECT_EQ(trace.inkBox(kPaper), (Rect{1, 24, 1, 45}));

    // Consecutive lines continue from where the last one ended.
    Canvas corner(10, 10, kPaper);
    corner.ctx()->setLineColor(kInk);
    corner.ctx()->moveTo(Point{1, 1});
    corner.ctx()->lineTo(Point{4, 1});
    corner.ctx()->lineTo(Point{4, 4});
    EXPECT_EQ(asSet(corner.pixelsOf(kInk)),
              (std::set<std::pair<int, int>>{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 2}, {4, 3}}));
}

TEST_F(DrawContextTest, DottedLinesLeaveGapsAndOtherStylesAreSolid) {
    Canvas dotted(40, 4, kPaper);
    dotted.ctx()->setLineColor(kInk);
    dotted.ctx()->setLineStyle(lineDotted);
    dotted.ctx()->moveTo(Point{0, 1});
    dotted.ctx()->lineTo(Point{36, 1});
    const size_t painted = dotted.pixelsOf(kInk).size();
    EXPECT_EQ(painted, 18u) << dotted.dump(kInk);
    EXPECT_EQ(dotted.at(0, 1), kInk);
    EXPECT_EQ(dotted.at(3, 1), kPaper);

    Canvas other(40, 4, kPaper);
    other.ctx()->setLineColor(kInk);
    other.ctx()->setLineStyle(5);
    other.ctx()->moveTo(Point{0, 1});
    other.ctx()->lineTo(Point{36, 1});
    EXPECT_EQ(other.pixelsOf(kInk).size(), 36u);
    EXPECT_EQ(other.ctx()->getLineStyle(), 5);
}

TEST_F(DrawContextTest, ColoursStartWhiteOnBlackAndSettersStore) {
    Canvas canvas(4, 4);
    EXPECT_EQ(canvas.ctx()->getLineColor(), colorWhite);
    EXPECT_EQ(canvas.ctx()->getTextColor(), colorWhite);
    EXPECT_EQ(canvas.ctx()->getFillColor(), colorBlack);
    EXPECT_EQ(canvas.ctx()->getLineStyle(), lineSolid);
    canvas.ctx()->moveTo(Point{0, 0});
    canvas.ctx()->lineTo(Point{3, 0});
    EXPECT_EQ(canvas.at(0, 0), colorWhite);
}

TEST_F(DrawContextTest, FontTableIdsSizesAndFaces) {
    Canvas canvas(4, 4);
    DrawContext* ctx = canvas.ctx();
    struct Case {
        int32_t id, size, face;
        const char* expectFace;
        int32_t expectId, expectSize, weight;
        bool italic, underline, decorative;
    };
    const Case cases[] = {
        {0, 0, 0, "Arial", 0, 12, 700, false, false, false},
        {9, 0, faceItalic, "Arial", 0, 12, 700, true, false, false},
        {-3, 0, 0, "Arial", 0, 12, 700, false, false, false},
        {7, 0, 0, "Symbol", 7, 13, 400, false, false, true},
        {1, 0, 0, "Arial", 1, 18, 400, false, false, false},
        {2, 0, faceBold, "Arial", 2, 14, 700, false, false, false},
        {3, 9, faceBold | faceUnderline, "Arial", 3, 9, 700, false, true, false},
        {4, 0, 0, "Arial", 4, 11, 400, false, false, false},
        {5, 0, 0, "Arial", 5, 10, 400, false, false, false},
        {6, 0, 0, "Arial", 6, 9, 400, false, false, false},
    };
    for (const Case& c : cases) {
        ctx->setFont(c.id, c.size, c.face);
        const FontChoice& font = ctx->getFontChoice();
        EXPECT_STREQ(font.face, c.expectFace) << c.id;
        EXPECT_EQ(ctx->getFontId(), c.expectId) << c.id;
        EXPECT_EQ(ctx->getFontSize(), c.expectSize) << c.id;
        EXPECT_EQ(font.weight, c.weight) << c.id;
        EXPECT_EQ(font.italic, c.italic) << c.id;
        EXPECT_EQ(font.underline, c.underline) << c.id;
        EXPECT_EQ(font.decorative, c.decorative) << c.id;
    }
}

TEST_F(DrawContextTest, MouseStateBitsAndPositionRelativeToTheWindow) {
    Canvas canvas(4, 4);
    headless::setPointer(Point{300, 200}, buttonLeft | modShift);
    EXPECT_EQ(canvas.ctx()->mouseButtons(), 9);
    headless::setPointer(Point{300, 200},
                         buttonLeft | buttonMiddle | buttonRight | modShift | modControl | modAlt);
    EXPECT_EQ(canvas.ctx()->mouseButtons(), 63);
    Point where;
    canvas.ctx()->mousePosition(where);
    EXPECT_EQ(where, (Point{300, 200}));  // no window: screen coordinates

    void* host = headless::createHostWindow(100, 50, 600, 400);
    {
        Frame frame(Rect{0, 0, 60, 40}, host, nullptr);
        DrawContext windowContext(&frame, nullptr, frame.getWindow());
        windowContext.mousePosition(where);
        EXPECT_EQ(where, (Point{200, 150}));
        Point located;
        EXPECT_TRUE(frame.mouseLocation(located));
        EXPECT_EQ(located, (Point{200, 150}));
    }
    headless::destroyHostWindow(host);
    headless::setPointer(Point{0, 0}, 0);
    EXPECT_EQ(canvas.ctx()->mouseButtons(), 0);
}

TEST_F(DrawContextTest, OffscreenSurfacesAndBlits) {
    Canvas parent(40, 40, kPaper);
    {
        OffscreenContext plain(parent.ctx(), nullptr, false);
        EXPECT_EQ(plain.getWidth(), 20);
        EXPECT_EQ(plain.getHeight(), 20);
        EXPECT_TRUE(plain.isValid());
        plain.setFillColor(kInk);
        plain.fillRect(Rect{4, 4, 8, 8});  // ink at 5..7
        plain.blitTo(parent.ctx(), Rect{10, 10, 14, 13}, Point{4, 4});
    }
    // A 4 x 3 block from (4, 4): black column 0 then ink at block columns 1..3, rows 1..2.
    EXPECT_EQ(parent.inkBox(kPaper), (Rect{10, 10, 13, 12}));
    EXPECT_EQ(parent.at(10, 10), colorBlack);
    EXPECT_EQ(parent.at(11, 11), kInk);
    EXPECT_EQ(parent.at(13, 12), kInk);
    EXPECT_EQ(parent.at(14, 12), kPaper);

    Bitmap picture(nullptr, 30, 10);
    {
        OffscreenContext into(parent.ctx(), &picture, true);
        EXPECT_EQ(into.getWidth(), 30);
        EXPECT_EQ(into.getHeight(), 10);
        into.setFillColor(colorYellow);
        into.fillRect(Rect{-1, -1, 30, 10});
    }
    auto* pixels = static_cast<cairo_surface_t*>(picture.getHandle());
    EXPECT_EQ(x11port::readPixel(pixels, 29, 9), colorYellow);
    {
        // A private copy: drawing into it leaves the bitmap alone.
        OffscreenContext copy(parent.ctx(), &picture, false);
        EXPECT_EQ(x11port::readPixel(static_cast<cairo_surface_t*>(copy.getDeviceContext() ? cairo_get_target(static_cast<cairo_t*>(copy.getDeviceContext())) : nullptr), 3, 3), colorYellow);
        copy.setFillColor(colorBlue);
        copy.fillRect(Rect{-1, -1, 30, 10});
    }
    EXPECT_EQ(x11port::readPixel(pixels, 3, 3), colorYellow);
}

TEST_F(DrawContextTest, ContextsWithoutADeviceContextIgnoreDrawing) {
    DrawContext detached(nullptr, nullptr, nullptr);
    detached.setFillColor(kInk);
    detached.fillRect(Rect{0, 0, 10, 10});
    detached.strokeRect(Rect{0, 0, 10, 10});
    detached.drawText("text", Rect{0, 0, 10, 10});
    detached.lineTo(Point{5, 5});
    EXPECT_EQ(detached.getFillColor(), kInk);
}

TEST_F(DrawContextTest, TheSceneIsPixelForPixelWhatWindowsDraws) {
    Canvas canvas(kSceneSize, kSceneSize, kPaper);
    drawCrossPortScene(canvas.ctx());
    const auto pixel = [&](int32_t x, int32_t y) { return canvas.at(x, y); };
    EXPECT_EQ(sceneChecksum(pixel), kCrossPortSceneChecksum) << sceneMap(pixel, kPaper);
}

}  // namespace
