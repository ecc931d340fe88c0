// Bitmaps: the embedded pictures, blank surfaces, plain and colour-keyed copies, references.
#include "GuiTestSupport.h"
#include "gui/Bitmap.h"
#include "gui/GuiObjectCount.h"
#include "gui/OffscreenContext.h"

namespace {

constexpr Color kPaper{10, 20, 30, 0};

class BitmapTest : public HeadlessTest {};

cairo_surface_t* pixelsOf(Bitmap& bitmap) { return static_cast<cairo_surface_t*>(bitmap.getHandle()); }

// A picture whose pixel (x, y) is (x, y, 100), with a white (key) square at 2..4 x 2..4.
void paintPattern(Bitmap& bitmap) {
    for (int32_t y = 0; y < bitmap.getHeight(); ++y) {
        for (int32_t x = 0; x < bitmap.getWidth(); ++x) {
            const bool key = x >= 2 && x <= 4 && y >= 2 && y <= 4;
            x11port::writePixel(
                pixelsOf(bitmap), x, y,
                key ? colorWhite : Color{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 100, 0});
        }
    }
}

TEST_F(BitmapTest, TheBackgroundAndHelpPicturesAreEmbedded) {
    Bitmap background(128);
    ASSERT_EQ(background.getWidth(), 525);
    ASSERT_EQ(background.getHeight(), 300);
    EXPECT_EQ(background.getResourceId(), 128);
    const Color shades[] = {{63, 88, 160, 0}, {111, 118, 149, 0}, {159, 148, 138, 0}, {208, 178, 127, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(x11port::readPixel(pixelsOf(background), i, 150), shades[i]) << i;
        EXPECT_EQ(x11port::readPixel(pixelsOf(background), 524 - i, 150), shades[i]) << i;
        EXPECT_EQ(x11port::readPixel(pixelsOf(background), 262, i), shades[i]) << i;
        EXPECT_EQ(x11port::readPixel(pixelsOf(background), 262, 299 - i), shades[i]) << i;
    }
    EXPECT_EQ(x11port::readPixel(pixelsOf(background), 4, 4), (Color{255, 208, 116, 0}));
    EXPECT_EQ(x11port::readPixel(pixelsOf(background), 200, 100), (Color{255, 208, 116, 0}));

    Bitmap help(133);
    EXPECT_EQ(help.getWidth(), 525);
    EXPECT_EQ(help.getHeight(), 300);

    // Only the low 16 bits name the resource.
    Bitmap high(128 + 0x10000);
    EXPECT_EQ(high.getWidth(), 525);
    EXPECT_EQ(high.getResourceId(), 128 + 0x10000);
}

TEST_F(BitmapTest, AMissingResourceIsEmptyAndHarmless) {
    Canvas canvas(20, 20, kPaper);
    Bitmap missing(4711);
    EXPECT_EQ(missing.getWidth(), 0);
    EXPECT_EQ(missing.getHeight(), 0);
    EXPECT_EQ(missing.getHandle(), nullptr);
    missing.draw(canvas.ctx(), Rect{0, 0, 20, 20});
    missing.drawColorKeyed(canvas.ctx(), Rect{0, 0, 20, 20});
    EXPECT_EQ(canvas.inkBox(kPaper).right, -1);
    OffscreenContext offscreen(canvas.ctx(), &missing, false);
    EXPECT_EQ(offscreen.getWidth(), 0);
}

TEST_F(BitmapTest, DrawCopiesTheRequestedBlock) {
    Bitmap picture(nullptr, 40, 12);
    paintPattern(picture);
    Canvas canvas(50, 40, kPaper);
    picture.draw(canvas.ctx(), Rect{10, 20, 30, 25}, Point{5, 0});
    EXPECT_EQ(canvas.inkBox(kPaper), (Rect{10, 20, 29, 24}));
    for (int32_t y = 20; y < 25; ++y) {
        for (int32_t x = 10; x < 30; ++x) {
            const Color expected{static_cast<uint8_t>(x - 5), static_cast<uint8_t>(y - 20), 100, 0};
            EXPECT_EQ(canvas.at(x, y), expected) << x << "," << y;
        }
    }
}

TEST_F(BitmapTest, ColourKeyedDrawingLeavesKeyPixelsAndTheBitmapAlone) {
    Bitmap picture(nullptr, 8, 8);
    paintPattern(picture);
    Canvas canvas(20, 20, kPaper);
    EXPECT_FALSE(picture.hasMask());
    picture.drawColorKeyed(canvas.ctx(), Rect{5, 5, 13, 13}, Point{0, 0});
    EXPECT_TRUE(picture.hasMask());
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            const bool key = x >= 2 && x <= 4 && y >= 2 && y <= 4;
            const Color own{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 100, 0};
            EXPECT_EQ(canvas.at(5 + x, 5 + y), key ? kPaper : own) << x << "," << y;
            EXPECT_EQ(x11port::readPixel(pixelsOf(picture), x, y), key ? colorWhite : own);
        }
    }
    EXPECT_EQ(canvas.inkBox(kPaper), (Rect{5, 5, 12, 12}));

    // The second draw reuses the mask: nothing new is made.
    const int64_t before = guiObjects::totalCreated();
    picture.drawColorKeyed(canvas.ctx(), Rect{0, 0, 3, 3}, Point{3, 3});
    EXPECT_EQ(guiObjects::totalCreated(), before);
    EXPECT_EQ(canvas.at(0, 0), kPaper);                 // (3, 3) is key
    EXPECT_EQ(canvas.at(2, 2), (Color{5, 5, 100, 0}));  // (5, 5) is not

    // An all-white picture changes nothing.
    Bitmap white(nullptr, 6, 6);
    {
        OffscreenContext into(canvas.ctx(), &white, true);
        into.setFillColor(colorWhite);
        into.fillRect(Rect{-1, -1, 6, 6});
    }
    Canvas target(10, 10, kPaper);
    white.drawColorKeyed(target.ctx(), Rect{0, 0, 6, 6});
    EXPECT_EQ(target.inkBox(kPaper).right, -1);
    EXPECT_EQ(x11port::readPixel(pixelsOf(white), 5, 5), colorWhite);
}

TEST_F(BitmapTest, ReferencesDecideTheLifetime) {
    Canvas canvas(10, 10);
    const int32_t live = guiObjects::live();
    auto* bitmap = new Bitmap(nullptr, 10, 10);
    EXPECT_EQ(bitmap->refCount(), 1);
    EXPECT_EQ(guiObjects::live(), live + 1);
    bitmap->addRef();
    bitmap->release();
    EXPECT_EQ(bitmap->refCount(), 1);
    EXPECT_EQ(guiObjects::live(), live + 1);
    bitmap->drawColorKeyed(canvas.ctx(), Rect{0, 0, 10, 10});  // makes the mask
    EXPECT_EQ(guiObjects::live(), live + 2);
    bitmap->release();  // frees picture and mask
    EXPECT_EQ(guiObjects::live(), live);
}

}  // namespace
