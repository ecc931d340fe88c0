// Pixel rules of strokes, fills and lines, fonts, mouse state and off-screen surfaces.
#include <set>
#include <utility>

#include "GuiTestSupport.h"
#include "PixelRuleCases.h"
#include "gui/Bitmap.h"
#include "gui/OffscreenContext.h"

namespace {

using namespace pixelRules;

class DrawContextTest : public HeadlessTest {};

TEST_F(DrawContextTest, StrokeCoversBothEndsAndFillExactlyTheInside) {
    EXPECT_EQ(strokeOutline().size(), 40u);
    Canvas both(32, 32, kPaper);
    expectStrokeAndFillRules(both);
    EXPECT_EQ(both.inkBox(kPaper), (Rect{3, 4, 12, 9}));
}

TEST_F(DrawContextTest, DegenerateFillsPaintNothing) { expectDegenerateFillsPaintNothing<Canvas>(); }

TEST_F(DrawContextTest, LineToLeavesOutItsEndPointAndMovesThePen) {
    Canvas trace(4, 70, kPaper);
    expectLinesLeaveOutTheirEndPoint(trace);
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
    Canvas other(40, 4, kPaper);
    expectDottedGapsAndOtherStylesSolid(other);
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
        EXPECT_EQ(
            x11port::readPixel(
                static_cast<cairo_surface_t*>(
                    copy.getDeviceContext() ? cairo_get_target(static_cast<cairo_t*>(copy.getDeviceContext()))
                                            : nullptr),
                3, 3),
            colorYellow);
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

TEST_F(DrawContextTest, TheSceneIsPixelForPixelWhatWindowsDraws) { expectTheCrossPortScene<Canvas>(); }

}  // namespace
