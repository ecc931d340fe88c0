// Drawing contexts on Cairo with the toolkit's integer pixel rules; text in Liberation Sans.
#include <cmath>
#include <cstdlib>
#include <string>

#include <cairo.h>

#include "gui/DrawContext.h"
#include "gui/LineRuns.h"
#include "gui/Port.h"
#include "gui/TextLayout.h"
#include "gui/x11/PointerPolls.h"

// Cairo keeps no pen, brush or font objects: what GDI would have selected is kept here and
// applied per operation. A fresh context draws as a fresh GDI one: black pen and text, white fill.
struct DrawContextPort {
    cairo_t* cairo = nullptr;
    Point pen;
    Color line = colorBlack;
    int32_t lineStyle = lineSolid;
    Color fill = colorWhite;
    Color text = colorBlack;
    FontChoice font;
    bool fontChosen = false;
};

namespace {

void setSource(cairo_t* cairo, Color color) {
    cairo_set_source_rgb(cairo, color.red / 255.0, color.green / 255.0, color.blue / 255.0);
}

// Whole pixels, no antialiasing: each shape is a union of pixel squares.
void fillPixels(cairo_t* cairo, Color color, int32_t left, int32_t top, int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    cairo_save(cairo);
    cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
    cairo_set_operator(cairo, CAIRO_OPERATOR_SOURCE);
    setSource(cairo, color);
    cairo_rectangle(cairo, left, top, width, height);
    cairo_fill(cairo);
    cairo_restore(cairo);
}

// Texts are single bytes as on Windows (ANSI); Cairo takes UTF-8 and would put the whole context
// into an error state, ignoring all later drawing, on any byte sequence that is not.
std::string toUtf8(const char* text) {
    std::string utf8;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c != 0; ++c) {
        if (*c < 0x80) {
            utf8 += static_cast<char>(*c);
        } else {
            utf8 += static_cast<char>(0xc0 | (*c >> 6));
            utf8 += static_cast<char>(0x80 | (*c & 0x3f));
        }
    }
    return utf8;
}

const char* cairoFace(const FontChoice& font) {
    // Liberation Sans has Arial's metrics; the symbol font's stand-in only needs to exist.
    return font.decorative ? "Liberation Serif" : "Liberation Sans";
}

}  // namespace

void PortDeleter::operator()(DrawContextPort* context) const { delete context; }

namespace port {

DrawContextPort* openContext(void* deviceContext) {
    auto* context = new DrawContextPort;
    context->cairo = static_cast<cairo_t*>(deviceContext);
    return context;
}

void setLine(DrawContextPort& context, Color color, int32_t style) {
    context.line = color;
    context.lineStyle = style == lineDotted ? lineDotted : lineSolid;
}

void setFill(DrawContextPort& context, Color color) { context.fill = color; }

void setTextColor(DrawContextPort& context, Color color) { context.text = color; }

void setFont(DrawContextPort& context, const FontChoice& font) {
    context.font = font;
    context.fontChosen = true;
}

void moveTo(DrawContextPort& context, Point point) { context.pen = point; }

void lineTo(DrawContextPort& context, Point point) {
    cairo_t* cairo = context.cairo;
    const Point from = context.pen;
    context.pen = point;
    if (cairo == nullptr) {
        return;
    }
    cairo_save(cairo);
    cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
    cairo_set_operator(cairo, CAIRO_OPERATOR_SOURCE);
    setSource(cairo, context.line);
    // Each run of the line's pixels (gui/LineRuns.h) one rectangle of the path: a path of single
    // pixels made every line cost a path element per pixel.
    forEachLineRun(from, point, context.lineStyle == lineDotted, [&](const Rect& run) {
        cairo_rectangle(cairo, run.left, run.top, run.width(), run.height());
    });
    cairo_fill(cairo);
    cairo_restore(cairo);
}

void fillSolid(DrawContextPort& context, const Rect& rect, Color color) {
    if (context.cairo != nullptr) {
        fillPixels(context.cairo, color, rect.left, rect.top, rect.width(), rect.height());
    }
}

void fillInside(DrawContextPort& context, const Rect& rect) {
    if (context.cairo != nullptr) {
        fillPixels(context.cairo, context.fill, rect.left + 1, rect.top + 1, rect.right - rect.left - 1,
                   rect.bottom - rect.top - 1);
    }
}

void drawText(DrawContextPort& context, const char* text, const Rect& rect, bool opaque, int32_t alignment) {
    cairo_t* cairo = context.cairo;
    if (cairo == nullptr || text == nullptr) {
        return;
    }
    // Before the first setFont the platform's default font is in use: regular, 12 pixels.
    const FontChoice font = context.fontChosen ? context.font : chooseFont(3, 12, 0);
    const std::string utf8 = toUtf8(text);
    cairo_save(cairo);
    cairo_select_font_face(cairo, cairoFace(font),
                           font.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           font.weight >= 700 ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cairo, font.size);
    // The cell height comes from the font's design ascent and descent rounded separately, as
    // the Windows text metrics do; advances come from hinted metrics, which match Windows' widths.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cairo, options);
    cairo_font_extents_t fontExtents;
    cairo_font_extents(cairo, &fontExtents);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    // Glyphs snapped to whole pixels, closest to what Windows shows at these small sizes.
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cairo, options);
    cairo_font_options_destroy(options);
    cairo_text_extents_t textExtents;
    cairo_text_extents(cairo, utf8.c_str(), &textExtents);
    TextMetrics metrics;
    metrics.ascent = static_cast<int32_t>(std::lround(fontExtents.ascent));
    metrics.height = metrics.ascent + static_cast<int32_t>(std::lround(fontExtents.descent));
    metrics.width = static_cast<int32_t>(std::lround(textExtents.x_advance));
    const TextPlacement place = placeText(rect, alignment, metrics);

    // Text never leaves its box: right and bottom are outside.
    cairo_rectangle(cairo, place.clip.left, place.clip.top, place.clip.width(), place.clip.height());
    cairo_clip(cairo);
    if (opaque) {
        fillPixels(cairo, context.fill, place.origin.h, place.origin.v, metrics.width, metrics.height);
    }
    setSource(cairo, context.text);
    cairo_move_to(cairo, place.origin.h, place.origin.v + metrics.ascent);
    cairo_show_text(cairo, utf8.c_str());
    if (font.underline) {
        cairo_new_path(cairo);
        const int32_t thickness = font.size >= 24 ? font.size / 12 : 1;
        fillPixels(cairo, context.text, place.origin.h, place.origin.v + metrics.ascent + 1, metrics.width,
                   thickness);
    }
    cairo_restore(cairo);
}

int32_t mouseButtons(void* window) { return x11port::pollButtons(window); }

Point mousePosition(void* window) { return x11port::pollPosition(window); }

}  // namespace port
