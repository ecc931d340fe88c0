// The toolkit at a scale: the mapping of unscaled to device pixels, and every drawing primitive
// painting the 1x pixels as their blocks.
#include <cmath>
#include <functional>
#include <string>

#include "GuiTestSupport.h"
#include "gui/Bitmap.h"
#include "gui/OffscreenContext.h"
#include "gui/Scale.h"

namespace {

constexpr int32_t kPercents[] = {100, 125, 150, 175, 200, 250, 300};

TEST(ScaleMapping, FactorsAreKeptInRange) {
    const struct {
        float factor;
        int32_t percent;
    } cases[] = {{NAN, 100},  {-1.0f, 100}, {0.0f, 100},     {0.7f, 100},  {1.0f, 100}, {1.249f, 125},
                 {1.5f, 150}, {2.0f, 200},  {2.999f, 300},   {3.5f, 300},  {1e30f, 300}, {INFINITY, 300}};
    for (const auto& c : cases) EXPECT_EQ(Scale::fromFactor(c.factor).percent(), c.percent) << c.factor;
    EXPECT_EQ(Scale::fromPercent(-5).percent(), 100);
    EXPECT_EQ(Scale::fromPercent(900).percent(), 300);
}

TEST(ScaleMapping, EveryUnscaledPixelOwnsABlockAndIsReadBackFromAllOfIt) {
    for (const int32_t percent : kPercents) {
        const Scale scale = Scale::fromPercent(percent);
        EXPECT_EQ(scale.device(525), (525 * percent + 50) / 100) << percent;
        for (int32_t x = -40; x < 1100; ++x) {
            const int32_t first = scale.device(x);
            const int32_t next = scale.device(x + 1);
            ASSERT_GE(next - first, 1) << percent << " " << x;
            for (int32_t d = first; d < next; ++d) ASSERT_EQ(scale.unscaled(d), x) << percent << " " << d;
        }
        const Rect area{3, 7, 40, 41};
        EXPECT_EQ(scale.covering(scale.device(area)), area) << percent;
        EXPECT_EQ(scale.fontSize(9), percent == 100 ? 9 : (9 * percent + 50) / 100);
    }
}

// Draws a scene into a picture at a scale; the pixels of its blocks.
struct ScaledPicture {
    ScaledPicture(Scale scale, const std::function<void(DrawContext&)>& scene)
        : frame(Rect{0, 0, kSize, kSize}, nullptr, nullptr, scale), picture(&frame, kSize, kSize) {
        OffscreenContext context(nullptr, &picture, true);
        context.setFillColor(Color{250, 250, 250, 0});
        context.fillRect(Rect{-1, -1, kSize, kSize});
        scene(context);
    }
    Color at(int32_t x, int32_t y) const {
        return x11port::readPixel(static_cast<cairo_surface_t*>(picture.getHandle()), x, y);
    }
    static constexpr int32_t kSize = 48;
    Frame frame;
    Bitmap picture;
};

TEST(ScaleMapping, PrimitivesPaintThe1xPixelsAsBlocks) {
    const struct {
        const char* name;
        std::function<void(DrawContext&)> scene;
    } scenes[] = {
        {"stroke and fill",
         [](DrawContext& c) {
             c.setLineColor(colorBlack);
             c.setFillColor(Color{200, 30, 30, 0});
             c.strokeRect(Rect{10, 10, 20, 20});
             c.fillRect(Rect{10, 10, 20, 20});
             c.fillRect(Rect{30, 30, 31, 40});  // empty inside: nothing
         }},
        {"lines",
         [](DrawContext& c) {
             c.setLineColor(Color{0, 0, 200, 0});
             c.moveTo(Point{2, 40});
             c.lineTo(Point{40, 40});
             c.moveTo(Point{44, 2});
             c.lineTo(Point{44, 30});
             c.moveTo(Point{3, 3});
             c.lineTo(Point{9, 9});
             c.moveTo(Point{30, 4});
             c.lineTo(Point{26, 12});
         }},
        {"dotted", [](DrawContext& c) {
             c.setLineStyle(lineDotted);
             c.setLineColor(colorBlack);
             c.moveTo(Point{1, 45});
             c.lineTo(Point{46, 45});
         }}};
    // At whole factors; between them a line is one width wherever it lies (the next test).
    for (const auto& scene : scenes) {
        const ScaledPicture one(Scale(), scene.scene);
        for (const int32_t percent : {100, 200, 300}) {
            const Scale scale = Scale::fromPercent(percent);
            const ScaledPicture scaled(scale, scene.scene);
            int32_t differing = 0;
            for (int32_t y = 0; y < ScaledPicture::kSize; ++y) {
                for (int32_t x = 0; x < ScaledPicture::kSize; ++x) {
                    for (int32_t dy = scale.device(y); dy < scale.device(y + 1); ++dy)
                        for (int32_t dx = scale.device(x); dx < scale.device(x + 1); ++dx)
                            differing += one.at(x, y) == scaled.at(dx, dy) ? 0 : 1;
                }
            }
            EXPECT_EQ(differing, 0) << scene.name << " at " << percent;
        }
    }
}

TEST(ScaleMapping, LinesAndOutlinesHaveOneWidthPerFactor) {
    // Lines at every position across a picture, and outlines around fills: at 125 % an unscaled
    // pixel covers one or two device pixels, a line always one (two at 200 % and 250 %).
    const Color ink{0, 0, 200, 0};
    const Color fill{200, 30, 30, 0};
    for (const int32_t percent : kPercents) {
        const Scale scale = Scale::fromPercent(percent);
        const int32_t width = scale.lineWidth();
        EXPECT_EQ(width, percent / 100);
        const ScaledPicture lines(scale, [](DrawContext& c) {
            c.setLineColor(Color{0, 0, 200, 0});
            for (int32_t at = 2; at < 40; at += 3) {
                c.moveTo(Point{at, 1});
                c.lineTo(Point{at, 20});  // vertical, rows 1..19
                c.moveTo(Point{22, at});
                c.lineTo(Point{46, at});  // horizontal, columns 22..45
            }
        });
        auto run = [&](int32_t x, int32_t y, int32_t stepX, int32_t stepY) {
            int32_t length = 0;
            while (x < scale.device(ScaledPicture::kSize) && y < scale.device(ScaledPicture::kSize) &&
                   lines.at(x, y) == ink) {
                ++length;
                x += stepX;
                y += stepY;
            }
            return length;
        };
        for (int32_t at = 2; at < 40; at += 3) {
            EXPECT_EQ(run(scale.device(at), scale.device(10), 1, 0), width) << percent << " column " << at;
            EXPECT_EQ(run(scale.device(30), scale.device(at), 0, 1), width) << percent << " row " << at;
        }
        for (const Rect& box : {Rect{3, 3, 10, 9}, Rect{12, 4, 19, 17}, Rect{25, 26, 44, 45}}) {
            const ScaledPicture boxed(scale, [&](DrawContext& c) {
                c.setLineColor(ink);
                c.setFillColor(fill);
                c.fillRect(box);
                c.strokeRect(box);
            });
            const Rect outer = scale.device(box);
            // Every pixel from the outline's outer edge in is ink or fill: the outline one width
            // on each side, the fill meeting it without a gap.
            for (int32_t y = outer.top; y < outer.bottom + width; ++y) {
                for (int32_t x = outer.left; x < outer.right + width; ++x) {
                    const bool edge = x < outer.left + width || x >= outer.right || y < outer.top + width ||
                                      y >= outer.bottom;
                    ASSERT_EQ(boxed.at(x, y), edge ? ink : fill) << percent << " at " << x << "," << y;
                }
            }
            // Nothing beyond it.
            EXPECT_FALSE(boxed.at(outer.right + width, outer.bottom) == ink) << percent;
            EXPECT_FALSE(boxed.at(outer.left, outer.bottom + width) == ink) << percent;
        }
    }
}

TEST(ScaleMapping, ArtworkIsPickedForTheScaleAndResizedBetween) {
    const struct {
        int32_t percent;
        int32_t pictureScale;
    } cases[] = {{100, 100}, {125, 200}, {150, 200}, {200, 200}, {250, 300}, {300, 300}};
    for (const auto& c : cases) {
        const Bitmap background(128, Scale::fromPercent(c.percent));
        EXPECT_EQ(background.getWidth(), 525);
        EXPECT_EQ(background.getHeight(), 300);
        EXPECT_EQ(background.getScale().percent(), c.pictureScale) << c.percent;
        EXPECT_EQ(background.getPixelWidth(), 525 * c.pictureScale / 100);
        // The finer pictures are the 1x one drawn in blocks.
        const Bitmap plain(128);
        const int32_t k = c.pictureScale / 100;
        auto* fine = static_cast<cairo_surface_t*>(background.getHandle());
        auto* coarse = static_cast<cairo_surface_t*>(plain.getHandle());
        for (const Point p : {Point{0, 0}, Point{3, 3}, Point{400, 260}, Point{524, 299}, Point{300, 250}}) {
            EXPECT_EQ(x11port::readPixel(fine, p.h * k + k - 1, p.v * k), x11port::readPixel(coarse, p.h, p.v));
        }
    }
    // A picture drawn into a context of another scale is resized: the 2x artwork at 1.5.
    Frame frame(Rect{0, 0, 525, 300}, nullptr, nullptr, Scale::fromPercent(150));
    Bitmap target(&frame, 525, 300);
    Bitmap background(128, Scale::fromPercent(150));
    OffscreenContext context(nullptr, &target, true);
    background.draw(&context, Rect{0, 0, 525, 300});
    auto* pixels = static_cast<cairo_surface_t*>(target.getHandle());
    EXPECT_EQ(x11port::readPixel(pixels, 400, 200), (Color{255, 208, 116, 0}));  // the panel
    EXPECT_EQ(x11port::readPixel(pixels, 0, 0), (Color{63, 88, 160, 0}));         // the outer border
}

}  // namespace
