// Helpers of the headless toolkit tests: an image to draw into, pixel dumps, recording views.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <cairo.h>
#include <gtest/gtest.h>

#include "gui/Color.h"
#include "gui/Control.h"
#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/View.h"
#include "gui/x11/CairoPixels.h"
#include "gui/x11/HeadlessScreen.h"

inline bool operator==(const Color& a, const Color& b) { return sameRgb(a, b); }

inline std::ostream& operator<<(std::ostream& out, const Color& c) {
    return out << "(" << int(c.red) << "," << int(c.green) << "," << int(c.blue) << ")";
}

// Every headless test starts from the headless screen.
class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless::enable();
        headless::setPointer(Point{0, 0}, 0);
    }
};

// An image filled with one colour and a DrawContext on it, as the Frame gives a view.
class Canvas {
public:
    Canvas(int32_t width, int32_t height, Color paper = Color{10, 20, 30, 0})
        : w(width), h(height), surface(x11port::createImage(width, height)),
          cairo(x11port::createCairo(surface)) {
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                x11port::writePixel(surface, x, y, paper);
            }
        }
        context = std::make_unique<DrawContext>(nullptr, cairo, nullptr);
    }
    ~Canvas() {
        context.reset();
        x11port::destroyCairo(cairo);
        x11port::destroySurface(surface);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    DrawContext* ctx() { return context.get(); }
    Color at(int32_t x, int32_t y) const { return x11port::readPixel(surface, x, y); }
    // Pixels of exactly this colour.
    std::vector<Point> pixelsOf(Color color) const {
        std::vector<Point> found;
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                if (sameRgb(at(x, y), color)) {
                    found.push_back(Point{x, y});
                }
            }
        }
        return found;
    }
    // Bounding box of the pixels that differ from paper (right and bottom inclusive); left > right
    // when nothing differs.
    Rect inkBox(Color paper) const {
        Rect box{w, h, -1, -1};
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                if (!sameRgb(at(x, y), paper)) {
                    box.left = std::min(box.left, x);
                    box.top = std::min(box.top, y);
                    box.right = std::max(box.right, x);
                    box.bottom = std::max(box.bottom, y);
                }
            }
        }
        return box;
    }
    // '#' for color, '.' otherwise: printed when a pixel rule fails.
    std::string dump(Color color) const {
        std::string text;
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                text += sameRgb(at(x, y), color) ? '#' : '.';
            }
            text += '\n';
        }
        return text;
    }
    cairo_surface_t* image() const { return surface; }

private:
    int32_t w;
    int32_t h;
    cairo_surface_t* surface;
    cairo_t* cairo;
    std::unique_ptr<DrawContext> context;
};

// A view that records what the Frame asks of it and paints its size in one colour.
class RecordingView : public View {
public:
    RecordingView(const Rect& rect, std::vector<std::string>* journal, std::string viewName,
                  Color paint = colorGreen)
        : View(rect), log(journal), name(std::move(viewName)), color(paint) {}
    ~RecordingView() override {
        if (log != nullptr) {
            log->push_back(name + ".destroyed");
        }
    }
    void draw(DrawContext* context) override {
        ++draws;
        context->setFillColor(color);
        context->fillRect(Rect{size.left - 1, size.top - 1, size.right, size.bottom});
    }
    void mouse(DrawContext* /*context*/, Point& where) override {
        ++clicks;
        lastClick = where;
        if (log != nullptr) {
            log->push_back(name + ".mouse");
        }
    }
    int32_t onKeyDown(KeyStroke& /*key*/) override { return keyAnswer; }
    int32_t onKeyUp(KeyStroke& /*key*/) override { return keyAnswer == -1 ? -1 : keyAnswer + 100; }
    bool onDrop(void** /*items*/, int32_t /*count*/, int32_t /*type*/, Point& /*where*/) override {
        ++drops;
        return dropAnswer;
    }
    bool onWheel(DrawContext* context, const Point& where, float distance) override {
        ++wheels;
        wheelContext = context;
        lastWheel = where;
        wheelDistance = distance;
        return true;
    }
    bool onAttached(View* /*parent*/) override {
        ++attached;
        return true;
    }
    bool onDetached(View* /*parent*/) override {
        ++detached;
        return true;
    }

    std::vector<std::string>* log;
    std::string name;
    Color color;
    int draws = 0;
    int clicks = 0;
    int drops = 0;
    int wheels = 0;
    int attached = 0;
    int detached = 0;
    int32_t keyAnswer = -1;
    bool dropAnswer = false;
    Point lastClick;
    Point lastWheel;
    float wheelDistance = 0.0f;
    DrawContext* wheelContext = nullptr;
};

// The smallest concrete Control.
class PlainControl : public Control {
public:
    explicit PlainControl(const Rect& rect, Bitmap* bitmap = nullptr) : Control(rect, nullptr, 7, bitmap) {}
    void draw(DrawContext* /*context*/) override { ++draws; }
    int draws = 0;
};
