// One scene of shapes drawn the same way on both ports; its pixel checksum is the same constant on
// Linux and on Windows, which is how the two ports are held to identical shapes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/OffscreenContext.h"

constexpr int32_t kSceneSize = 64;

// A fan of lines in every direction from the centre, dotted lines, an outline, a fill, a picture
// drawn plainly and colour-keyed, and an off-screen surface copied in.
inline void drawCrossPortScene(DrawContext* context) {
    const Point centre{32, 32};
    int n = 0;
    for (int i = 0; i < kSceneSize; i += 3) {
        const Point ends[] = {{i, 0}, {63, i}, {63 - i, 63}, {0, 63 - i}};
        for (const Point& end : ends) {
            context->setLineColor(
                Color{static_cast<uint8_t>(40 + n % 50), static_cast<uint8_t>(n * 7 % 256), 200, 0});
            context->moveTo(centre);
            context->lineTo(end);
            ++n;
        }
    }
    context->setLineStyle(lineDotted);
    context->setLineColor(colorYellow);
    context->moveTo(Point{2, 60});
    context->lineTo(Point{61, 45});
    context->lineTo(Point{50, 2});
    context->setLineStyle(lineSolid);
    context->setLineColor(colorWhite);
    context->strokeRect(Rect{20, 20, 44, 40});
    context->setFillColor(colorRed);
    context->fillRect(Rect{24, 24, 30, 33});

    Bitmap sprite(nullptr, 12, 12);
    {
        OffscreenContext into(context, &sprite, true);
        into.setFillColor(colorWhite);
        into.fillRect(Rect{-1, -1, 12, 12});
        // A fresh surface draws lines black until a colour is set.
        into.moveTo(Point{1, 10});
        into.lineTo(Point{11, 10});
        into.setFillColor(colorMagenta);
        into.fillRect(Rect{2, 2, 9, 9});
        into.setLineColor(colorCyan);
        into.strokeRect(Rect{0, 0, 11, 11});
    }
    sprite.drawColorKeyed(context, Rect{44, 4, 56, 16}, Point{0, 0});
    sprite.draw(context, Rect{4, 44, 12, 52}, Point{2, 2});
    OffscreenContext surface(context, nullptr, false);
    surface.setFillColor(colorGreen);
    surface.fillRect(Rect{2, 2, 10, 10});
    surface.blitTo(context, Rect{50, 50, 60, 60}, Point{1, 1});
}

// FNV-1a over red, green and blue of every pixel, row by row.
inline uint32_t sceneChecksum(const std::function<Color(int32_t, int32_t)>& pixel) {
    uint32_t hash = 2166136261u;
    for (int32_t y = 0; y < kSceneSize; ++y) {
        for (int32_t x = 0; x < kSceneSize; ++x) {
            const Color c = pixel(x, y);
            for (uint8_t byte : {c.red, c.green, c.blue}) {
                hash = (hash ^ byte) * 16777619u;
            }
        }
    }
    return hash;
}

// The scene as text, one character per pixel: '.' paper, letters by colour, for comparing by eye.
inline std::string sceneMap(const std::function<Color(int32_t, int32_t)>& pixel, Color paper) {
    std::string map;
    for (int32_t y = 0; y < kSceneSize; ++y) {
        for (int32_t x = 0; x < kSceneSize; ++x) {
            const Color c = pixel(x, y);
            map += sameRgb(c, paper) ? '.' : static_cast<char>('A' + (c.red + c.green * 3 + c.blue) % 26);
        }
        map += '\n';
    }
    return map;
}

// Both ports must draw exactly this.
constexpr uint32_t kCrossPortSceneChecksum = 534876172u;
