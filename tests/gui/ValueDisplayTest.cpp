// ValueDisplay: formatting, the setters' dirty rules and the drawing styles.
#include <cstdio>
#include <cstring>

#include "GuiTestSupport.h"
#include "gui/Bitmap.h"
#include "gui/OffscreenContext.h"
#include "gui/ValueDisplay.h"

#include <functional>

namespace {

constexpr Color kPaper{10, 20, 30, 0};
constexpr Color kBack{139, 153, 182, 0};

class ValueDisplayTest : public HeadlessTest {};

std::string textOf(ValueDisplay& display) {
    char text[kDisplayTextSize];
    display.formatValue(text);
    return text;
}

TEST_F(ValueDisplayTest, FormattersAndTheDefaultFormat) {
    ValueDisplay display(Rect{0, 0, 40, 20});
    display.setValue(0.5f);
    EXPECT_EQ(textOf(display), "0.50");
    display.setValue(12.345f);
    EXPECT_EQ(textOf(display), "12.35");
    display.setValue(-1.0f);
    EXPECT_EQ(textOf(display), "-1.00");

    display.setFormatter([](float, char* text) { std::strcpy(text, "?"); });
    EXPECT_EQ(textOf(display), "?");
    static int data = 42;
    display.setFormatterWithData(
        [](float value, char* text, void* user) {
            std::snprintf(text, kDisplayTextSize, "%d:%.1f", *static_cast<int*>(user),
                          static_cast<double>(value));
        },
        &data);
    EXPECT_EQ(textOf(display), "42:-1.0");  // the one with data wins
    display.setFormatterWithData(nullptr, nullptr);
    // A formatter that writes nothing leaves the text empty.
    display.setFormatter([](float, char*) {});
    EXPECT_EQ(textOf(display), "");
    // One that overruns its 255 characters is cut at the buffer's end.
    display.setFormatter([](float, char* text) { std::memset(text, 'x', kDisplayTextSize); });
    EXPECT_EQ(textOf(display).size(), size_t{kDisplayTextSize - 1});
}

TEST_F(ValueDisplayTest, OnlySettersThatChangeTheLookMakeItDirty) {
    ValueDisplay display(Rect{0, 0, 40, 20});
    EXPECT_TRUE(display.isDirty());

    display.setDirty(false);
    display.setTextColor(Color{255, 255, 255, 99});  // only the spare byte differs
    EXPECT_FALSE(display.isDirty());
    EXPECT_EQ(display.getTextColor().spare, 99);  // stored all the same
    display.setBackColor(colorBlack);
    display.setLineColor(colorBlack);
    display.setShadowColor(colorRed);
    display.setAlignment(alignCenter);
    display.setFontId(3);
    display.setFontFace(0);
    display.setStyle(0);
    display.setBackgroundOffset(Point{3, 4});
    display.setTextTransparent(false);
    display.setParser([](const char*) { return 0.0f; });
    EXPECT_FALSE(display.isDirty());
    EXPECT_NE(display.getParser(), nullptr);

    const std::function<void(ValueDisplay&)> changes[] = {
        [](ValueDisplay& d) { d.setTextColor(colorRed); },
        [](ValueDisplay& d) { d.setBackColor(kBack); },
        [](ValueDisplay& d) { d.setLineColor(colorBlue); },
        [](ValueDisplay& d) { d.setShadowColor(colorBlue); },
        [](ValueDisplay& d) { d.setAlignment(alignRight); },
        [](ValueDisplay& d) { d.setFontId(6); },
        [](ValueDisplay& d) { d.setFontFace(faceBold); },
        [](ValueDisplay& d) { d.setStyle(kDisplayShadowText); },
    };
    for (const auto& change : changes) {
        display.setDirty(false);
        change(display);
        EXPECT_TRUE(display.isDirty());
    }
}

TEST_F(ValueDisplayTest, BoxWithOutlineAndTextCentred) {
    Canvas canvas(80, 40, kPaper);
    ValueDisplay display(Rect{10, 10, 60, 30});
    display.setBackColor(kBack);
    display.setLineColor(colorBlue);
    display.setFormatter([](float, char* text) { std::strcpy(text, "?"); });
    display.draw(canvas.ctx());
    EXPECT_FALSE(display.isDirty());
    EXPECT_EQ(canvas.at(10, 10), colorBlue);
    EXPECT_EQ(canvas.at(60, 30), colorBlue);
    EXPECT_EQ(canvas.at(11, 11), kBack);
    EXPECT_EQ(canvas.at(59, 29), kBack);
    EXPECT_EQ(canvas.inkBox(kPaper), (Rect{10, 10, 60, 30}));
    // White text in the middle of the box, nothing of it in the left and right thirds.
    bool middle = false;
    for (int y = 11; y < 30; ++y) {
        for (int x = 11; x < 60; ++x) {
            const Color c = canvas.at(x, y);
            if (c.red > 200 && c.green > 200 && c.blue > 200) {  // text, antialiased
                middle = middle || (x > 28 && x < 42);
                EXPECT_TRUE(x > 28 && x < 42) << x << "," << y;
            }
        }
    }
    EXPECT_TRUE(middle);
}

TEST_F(ValueDisplayTest, BevelStylesReplaceTheOutline) {
    for (int32_t style : {kDisplayBevelDown, kDisplayBevelUp, kDisplayBevelDown | kDisplayBevelUp}) {
        Canvas canvas(40, 30, kPaper);
        ValueDisplay display(Rect{5, 5, 25, 20}, nullptr, style | kDisplayNoText);
        display.setBackColor(kBack);
        display.setLineColor(colorBlue);
        display.draw(canvas.ctx());
        const bool down = (style & kDisplayBevelDown) != 0;
        const Color topLeft = down ? kBack : colorBlue;
        const Color bottomRight = down ? colorBlue : kBack;
        for (int x = 5; x <= 25; ++x) {
            EXPECT_EQ(canvas.at(x, 5), topLeft) << "top " << x;
        }
        for (int y = 6; y <= 20; ++y) {
            EXPECT_EQ(canvas.at(5, y), topLeft) << "left " << y;
        }
        for (int y = 6; y <= 19; ++y) {
            EXPECT_EQ(canvas.at(25, y), bottomRight) << "right " << y;
        }
        for (int x = 6; x <= 25; ++x) {
            EXPECT_EQ(canvas.at(x, 20), bottomRight) << "bottom " << x;
        }
        EXPECT_EQ(canvas.at(26, 5), kPaper);
        EXPECT_EQ(canvas.inkBox(kPaper), (Rect{5, 5, 25, 20}));
    }
}

TEST_F(ValueDisplayTest, ShadowNoTextAndNoDrawingStyles) {
    Canvas shadow(80, 40, kPaper);
    ValueDisplay shadowed(Rect{0, 0, 80, 40}, nullptr, kDisplayShadowText);
    shadowed.setTransparent(true);  // no box: only the two texts
    shadowed.setValue(0.5f);
    shadowed.draw(shadow.ctx());
    EXPECT_FALSE(shadow.pixelsOf(colorRed).empty());
    EXPECT_FALSE(shadow.pixelsOf(colorWhite).empty());

    Canvas noText(40, 20, kPaper);
    ValueDisplay box(Rect{0, 0, 39, 19}, nullptr, kDisplayNoText);
    box.setBackColor(kBack);
    box.draw(noText.ctx());
    EXPECT_TRUE(noText.pixelsOf(colorWhite).empty());
    EXPECT_EQ(noText.pixelsOf(kBack).size(), 38u * 18u);

    Canvas nothing(40, 20, kPaper);
    ValueDisplay hidden(Rect{0, 0, 39, 19}, nullptr, kDisplayNoDrawing);
    EXPECT_FALSE(hidden.isDirty());
    hidden.setValue(0.3f);
    EXPECT_TRUE(hidden.isDirty());
    hidden.draw(nothing.ctx());
    EXPECT_FALSE(hidden.isDirty());
    EXPECT_EQ(nothing.inkBox(kPaper).right, -1);
}

TEST_F(ValueDisplayTest, BackgroundBitmapsArePlainOrColourKeyed) {
    Bitmap picture(nullptr, 30, 10);
    {
        Canvas any(2, 2);
        OffscreenContext into(any.ctx(), &picture, true);
        into.setFillColor(colorWhite);
        into.fillRect(Rect{-1, -1, 30, 10});
        into.setFillColor(colorGreen);
        into.fillRect(Rect{9, -1, 30, 10});  // green from column 10 on
    }
    Canvas plain(40, 20, kPaper);
    ValueDisplay display(Rect{0, 0, 20, 10}, &picture, kDisplayNoText);
    display.setBackgroundOffset(Point{5, 0});
    display.draw(plain.ctx());
    EXPECT_EQ(plain.at(0, 0), colorWhite);
    EXPECT_EQ(plain.at(5, 0), colorGreen);
    EXPECT_EQ(plain.at(20, 0), kPaper);

    Canvas keyed(40, 20, kPaper);
    display.setTransparent(true);
    display.draw(keyed.ctx());
    EXPECT_EQ(keyed.at(0, 0), kPaper);
    EXPECT_EQ(keyed.at(5, 0), colorGreen);

    // A transparent display without a bitmap draws no background at all.
    Canvas bare(40, 20, kPaper);
    ValueDisplay clear(Rect{0, 0, 20, 10}, nullptr, kDisplayNoText);
    clear.setTransparent(true);
    clear.draw(bare.ctx());
    EXPECT_EQ(bare.inkBox(kPaper).right, -1);
}

}  // namespace
