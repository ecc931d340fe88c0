// Bitmaps of the Windows port: the module's resources, plain copies, colour-keyed copies that
// keep the key pixels and give the picture its pixels back, the mask made once.
#include "Win32TestSupport.h"
#include "gui/Bitmap.h"
#include "gui/GuiObjectCount.h"
#include "gui/OffscreenContext.h"

namespace {

constexpr Color kPaper{10, 20, 30, 0};

class GdiBitmapTest : public Win32Test {};

// A picture whose pixel (x, y) is (x, y, 100), with a white (key) square at 2..4 x 2..4.
void paintPattern(Bitmap& bitmap) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(memory, static_cast<HBITMAP>(bitmap.getHandle()));
    for (int y = 0; y < bitmap.getHeight(); ++y) {
        for (int x = 0; x < bitmap.getWidth(); ++x) {
            const bool key = x >= 2 && x <= 4 && y >= 2 && y <= 4;
            SetPixel(memory, x, y, key ? RGB(255, 255, 255) : RGB(x, y, 100));
        }
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
}

Color bitmapPixel(Bitmap& bitmap, int x, int y) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(memory, static_cast<HBITMAP>(bitmap.getHandle()));
    const Color color = fromRef(GetPixel(memory, x, y));
    SelectObject(memory, previous);
    DeleteDC(memory);
    return color;
}

TEST_F(GdiBitmapTest, TheBackgroundAndHelpPicturesAreResourcesOfTheModule) {
    Bitmap background(128);
    ASSERT_EQ(background.getWidth(), 525);
    ASSERT_EQ(background.getHeight(), 300);
    const Color shades[] = {{63, 88, 160, 0}, {111, 118, 149, 0}, {159, 148, 138, 0}, {208, 178, 127, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bitmapPixel(background, i, 150), shades[i]) << i;
        EXPECT_EQ(bitmapPixel(background, 524 - i, 150), shades[i]) << i;
        EXPECT_EQ(bitmapPixel(background, 262, i), shades[i]) << i;
        EXPECT_EQ(bitmapPixel(background, 262, 299 - i), shades[i]) << i;
    }
    EXPECT_EQ(bitmapPixel(background, 200, 100), (Color{255, 208, 116, 0}));
    Bitmap help(133);
    EXPECT_EQ(help.getWidth(), 525);
    EXPECT_EQ(help.getHeight(), 300);
    Bitmap high(128 + 0x10000);
    EXPECT_EQ(high.getWidth(), 525);

    Bitmap empty(nullptr, 0, -5);
    EXPECT_EQ(empty.getHandle(), nullptr);
    EXPECT_EQ(empty.getWidth(), 0);

    GdiCanvas canvas(20, 20, kPaper);
    Bitmap missing(4711);
    EXPECT_EQ(missing.getWidth(), 0);
    EXPECT_EQ(missing.getHeight(), 0);
    missing.draw(canvas.ctx(), Rect{0, 0, 20, 20});
    missing.drawColorKeyed(canvas.ctx(), Rect{0, 0, 20, 20});
    EXPECT_EQ(canvas.inkBox(kPaper).right, -1);
}

TEST_F(GdiBitmapTest, DrawCopiesTheRequestedBlock) {
    Bitmap picture(nullptr, 40, 12);
    paintPattern(picture);
    GdiCanvas canvas(50, 40, kPaper);
    picture.draw(canvas.ctx(), Rect{10, 20, 30, 25}, Point{5, 0});
    const Rect ink = canvas.inkBox(kPaper);
    EXPECT_EQ(ink.left, 10);
    EXPECT_EQ(ink.top, 20);
    EXPECT_EQ(ink.right, 29);
    EXPECT_EQ(ink.bottom, 24);
    EXPECT_EQ(canvas.at(10, 20), (Color{5, 0, 100, 0}));
    EXPECT_EQ(canvas.at(29, 24), (Color{24, 4, 100, 0}));
}

TEST_F(GdiBitmapTest, ColourKeyedDrawingLeavesKeyPixelsAndRestoresTheBitmap) {
    Bitmap picture(nullptr, 8, 8);
    paintPattern(picture);
    GdiCanvas canvas(20, 20, kPaper);
    EXPECT_FALSE(picture.hasMask());
    picture.drawColorKeyed(canvas.ctx(), Rect{5, 5, 13, 13}, Point{0, 0});
    EXPECT_TRUE(picture.hasMask());
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool key = x >= 2 && x <= 4 && y >= 2 && y <= 4;
            const Color own{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 100, 0};
            EXPECT_EQ(canvas.at(5 + x, 5 + y), key ? kPaper : own) << x << "," << y;
            EXPECT_EQ(bitmapPixel(picture, x, y), key ? colorWhite : own) << x << "," << y;
        }
    }
    const int64_t made = guiObjects::totalCreated();
    picture.drawColorKeyed(canvas.ctx(), Rect{0, 0, 3, 3}, Point{3, 3});
    // The second draw makes its temporary surfaces but no second mask.
    EXPECT_EQ(guiObjects::totalCreated() - made, 8);
    EXPECT_EQ(canvas.at(0, 0), kPaper);
    EXPECT_EQ(canvas.at(2, 2), (Color{5, 5, 100, 0}));

    Bitmap white(nullptr, 6, 6);
    {
        OffscreenContext into(canvas.ctx(), &white, true);
        into.setFillColor(colorWhite);
        into.fillRect(Rect{-1, -1, 6, 6});
    }
    GdiCanvas target(10, 10, kPaper);
    white.drawColorKeyed(target.ctx(), Rect{0, 0, 6, 6});
    EXPECT_EQ(target.inkBox(kPaper).right, -1);
    EXPECT_EQ(bitmapPixel(white, 5, 5), colorWhite);
}

}  // namespace
