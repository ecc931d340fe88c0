// Drawing contexts on GDI device contexts: the pens, brushes and fonts a context makes and owns.
#include <cstring>
#include <initializer_list>

#include <windows.h>

#include "gui/DrawContext.h"
#include "gui/Port.h"
#include "gui/win32/GdiObjects.h"
#include "gui/PressMemory.h"

struct DrawContextPort {
    HDC dc = nullptr;
    // Made by this context and selected into dc; deleted with it.
    HGDIOBJ createdBrush = nullptr;
    HGDIOBJ createdPen = nullptr;
    HGDIOBJ createdFont = nullptr;
    // Selected before this context; put back when it ends.
    HGDIOBJ initialBrush = nullptr;
    HGDIOBJ initialPen = nullptr;
    HGDIOBJ initialFont = nullptr;
};

namespace {

COLORREF refOf(const Color& color) { return gdi::colorRef(color.red, color.green, color.blue); }

// Selects a new object into the context, deleting the one this context made before.
void replaceCreated(DrawContextPort& context, HGDIOBJ object, HGDIOBJ& created) {
    SelectObject(context.dc, object);
    gdi::deleteObject(created);
    created = object;
}

}  // namespace

void PortDeleter::operator()(DrawContextPort* context) const {
    if (context == nullptr) {
        return;
    }
    if (context->dc != nullptr) {
        for (HGDIOBJ initial : {context->initialBrush, context->initialPen, context->initialFont}) {
            if (initial != nullptr) {
                SelectObject(context->dc, initial);
            }
        }
    }
    gdi::deleteObject(context->createdBrush);
    gdi::deleteObject(context->createdPen);
    gdi::deleteObject(context->createdFont);
    delete context;
}

namespace port {

DrawContextPort* openContext(void* deviceContext) {
    auto* context = new DrawContextPort;
    context->dc = static_cast<HDC>(deviceContext);
    if (context->dc != nullptr) {
        context->initialBrush = GetCurrentObject(context->dc, OBJ_BRUSH);
        context->initialPen = GetCurrentObject(context->dc, OBJ_PEN);
        context->initialFont = GetCurrentObject(context->dc, OBJ_FONT);
        SetBkMode(context->dc, TRANSPARENT);
    }
    return context;
}

void setLine(DrawContextPort& context, Color color, int32_t style) {
    if (context.dc == nullptr) {
        return;
    }
    LOGPEN description;
    description.lopnStyle = style == lineDotted ? PS_DOT : PS_SOLID;
    description.lopnWidth = POINT{1, 1};
    description.lopnColor = refOf(color);
    replaceCreated(context, gdi::createPen(description), context.createdPen);
}

void setFill(DrawContextPort& context, Color color) {
    if (context.dc == nullptr) {
        return;
    }
    SetBkColor(context.dc, refOf(color));
    LOGBRUSH description;
    description.lbStyle = BS_SOLID;
    description.lbColor = refOf(color);
    description.lbHatch = 0;
    HBRUSH brush = gdi::createBrush(description);
    if (brush != nullptr) {  // otherwise the previous brush stays in use
        replaceCreated(context, brush, context.createdBrush);
    }
}

void setTextColor(DrawContextPort& context, Color color) {
    if (context.dc != nullptr) {
        SetTextColor(context.dc, refOf(color));
    }
}

void setFont(DrawContextPort& context, const FontChoice& font) {
    if (context.dc == nullptr) {
        return;
    }
    LOGFONTA description;
    std::memset(&description, 0, sizeof description);
    description.lfHeight = -font.size;
    description.lfWeight = font.weight;
    description.lfItalic = font.italic ? TRUE : FALSE;
    description.lfUnderline = font.underline ? TRUE : FALSE;
    description.lfStrikeOut = FALSE;
    description.lfCharSet = ANSI_CHARSET;
    description.lfOutPrecision = OUT_STRING_PRECIS;
    description.lfClipPrecision = CLIP_STROKE_PRECIS;
    description.lfQuality = DEFAULT_QUALITY;
    description.lfPitchAndFamily =
        static_cast<BYTE>(font.decorative ? (FF_DECORATIVE | DEFAULT_PITCH) : (FF_SWISS | VARIABLE_PITCH));
    lstrcpynA(description.lfFaceName, font.face, LF_FACESIZE);
    replaceCreated(context, gdi::createFont(description), context.createdFont);
}

void moveTo(DrawContextPort& context, Point point) {
    if (context.dc != nullptr) {
        MoveToEx(context.dc, point.h, point.v, nullptr);
    }
}

void lineTo(DrawContextPort& context, Point point) {
    if (context.dc != nullptr) {
        LineTo(context.dc, point.h, point.v);
    }
}

void fillSolid(DrawContextPort& context, const Rect& rect, Color color) {
    if (context.dc == nullptr || rect.right <= rect.left || rect.bottom <= rect.top) {
        return;
    }
    LOGBRUSH description;
    description.lbStyle = BS_SOLID;
    description.lbColor = refOf(color);
    description.lbHatch = 0;
    HBRUSH brush = gdi::createBrush(description);
    if (brush != nullptr) {
        const RECT area{rect.left, rect.top, rect.right, rect.bottom};
        FillRect(context.dc, &area, brush);
        gdi::deleteObject(brush);
    }
}

void fillInside(DrawContextPort& context, const Rect& rect) {
    // GDI would fill an inverted rectangle mirrored; an empty inside paints nothing.
    if (context.dc == nullptr || rect.right <= rect.left + 1 || rect.bottom <= rect.top + 1) {
        return;
    }
    const RECT inside{rect.left + 1, rect.top + 1, rect.right, rect.bottom};
    HGDIOBJ previousPen = SelectObject(context.dc, GetStockObject(NULL_PEN));
    FillRect(context.dc, &inside, static_cast<HBRUSH>(GetCurrentObject(context.dc, OBJ_BRUSH)));
    SelectObject(context.dc, previousPen);
}

void drawText(DrawContextPort& context, const char* text, const Rect& rect, bool opaque, int32_t alignment) {
    if (context.dc == nullptr || text == nullptr) {
        return;
    }
    SetBkMode(context.dc, opaque ? OPAQUE : TRANSPARENT);
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    RECT box{rect.left, rect.top, rect.right, rect.bottom};
    if (alignment == alignCenter) {
        format |= DT_CENTER;
    } else if (alignment == alignRight) {
        format |= DT_RIGHT;
    } else {
        format |= DT_LEFT;
        box.left += 1;
    }
    DrawTextA(context.dc, text, static_cast<int>(std::strlen(text)), &box, format);
    SetBkMode(context.dc, TRANSPARENT);
}

int32_t mouseButtons(void* /*window*/) {
    int32_t pressed = 0;
    if (pressMemory::takePressButtons(pressed)) {
        return pressed;
    }
    // GetAsyncKeyState reads the physical buttons; with the buttons swapped for a left hand the
    // logical left button (what the window messages call left) is the physical right one.
    const bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
    const struct {
        int key;
        int32_t bit;
    } keys[] = {{swapped ? VK_RBUTTON : VK_LBUTTON, buttonLeft},
                {VK_MBUTTON, buttonMiddle},
                {swapped ? VK_LBUTTON : VK_RBUTTON, buttonRight},
                {VK_SHIFT, modShift},
                {VK_CONTROL, modControl},
                {VK_MENU, modAlt}};
    int32_t buttons = 0;
    for (const auto& key : keys) {
        if ((GetAsyncKeyState(key.key) & 0x8000) != 0) {
            buttons |= key.bit;
        }
    }
    return buttons;
}

Point mousePosition(void* /*window*/) {
    Point pressed;
    return pressMemory::takePressPosition(pressed) ? pressed : cursorPosition();
}

Point cursorPosition() {
    POINT cursor{0, 0};
    GetCursorPos(&cursor);
    return Point{cursor.x, cursor.y};
}

}  // namespace port
