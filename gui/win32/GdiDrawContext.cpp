// DrawContext on a GDI device context: pens, brushes and fonts it makes and owns.
#include "gui/DrawContext.h"

#include <cstring>

#include <windows.h>

#include "gui/win32/GdiObjects.h"

namespace {

HDC dcOf(void* deviceContext) { return static_cast<HDC>(deviceContext); }

COLORREF refOf(const Color& color) { return gdi::colorRef(color.red, color.green, color.blue); }

}  // namespace

DrawContext::DrawContext(Frame* owner, void* context, void* windowHandle)
    : deviceContext(context), window(windowHandle), frame(owner) {
    HDC dc = dcOf(deviceContext);
    if (dc != nullptr) {
        initialBrush = GetCurrentObject(dc, OBJ_BRUSH);
        initialPen = GetCurrentObject(dc, OBJ_PEN);
        initialFont = GetCurrentObject(dc, OBJ_FONT);
        SetBkMode(dc, TRANSPARENT);
    }
    if (window != nullptr) {
        RECT rect;
        if (GetWindowRect(static_cast<HWND>(window), &rect)) {
            windowLeft = rect.left;
            windowTop = rect.top;
        }
    }
    if (dc != nullptr) {
        applyInitialState();
    }
}

DrawContext::~DrawContext() {
    HDC dc = dcOf(deviceContext);
    if (dc != nullptr) {
        if (initialBrush != nullptr) {
            SelectObject(dc, initialBrush);
        }
        if (initialPen != nullptr) {
            SelectObject(dc, initialPen);
        }
        if (initialFont != nullptr) {
            SelectObject(dc, initialFont);
        }
    }
    releaseCreatedObjects();
}

void DrawContext::applyInitialState() {
    setLineColor(lineColor);
    setLineStyle(lineStyle);
    setFillColor(fillColor);
    setTextColor(textColor);
}

void DrawContext::releaseCreatedObjects() {
    gdi::deleteObject(createdBrush);
    gdi::deleteObject(createdPen);
    gdi::deleteObject(createdFont);
    createdBrush = nullptr;
    createdPen = nullptr;
    createdFont = nullptr;
}

void DrawContext::moveTo(Point point) {
    penPosition = point;
    if (HDC dc = dcOf(deviceContext)) {
        MoveToEx(dc, point.h, point.v, nullptr);
    }
}

void DrawContext::lineTo(Point point) {
    penPosition = point;
    if (HDC dc = dcOf(deviceContext)) {
        LineTo(dc, point.h, point.v);
    }
}

void DrawContext::fillRect(const Rect& rect) {
    HDC dc = dcOf(deviceContext);
    if (dc == nullptr) {
        return;
    }
    // GDI would fill an inverted rectangle mirrored; an empty inside paints nothing.
    if (rect.right <= rect.left + 1 || rect.bottom <= rect.top + 1) {
        return;
    }
    const RECT inside{rect.left + 1, rect.top + 1, rect.right, rect.bottom};
    HGDIOBJ previousPen = SelectObject(dc, GetStockObject(NULL_PEN));
    FillRect(dc, &inside, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
    SelectObject(dc, previousPen);
}

namespace {

// Makes, selects and takes ownership of a new pen; the one made before is deleted.
void rebuildPen(HDC dc, int32_t style, int32_t width, const Color& color, void*& created) {
    if (dc == nullptr) {
        return;
    }
    LOGPEN description;
    description.lopnStyle = static_cast<UINT>(style);
    description.lopnWidth = POINT{width, width};
    description.lopnColor = refOf(color);
    HPEN pen = gdi::createPen(description);
    SelectObject(dc, pen);
    gdi::deleteObject(created);
    created = pen;
}

}  // namespace

void DrawContext::setLineStyle(int32_t style) {
    lineStyle = style;
    penStyle = style == lineDotted ? PS_DOT : PS_SOLID;
    rebuildPen(dcOf(deviceContext), penStyle, lineWidth, lineColor, createdPen);
}

void DrawContext::setLineColor(Color color) {
    lineColor = color;
    rebuildPen(dcOf(deviceContext), penStyle, lineWidth, lineColor, createdPen);
}

void DrawContext::setFillColor(Color color) {
    fillColor = color;
    HDC dc = dcOf(deviceContext);
    if (dc == nullptr) {
        return;
    }
    SetBkColor(dc, refOf(color));
    LOGBRUSH description;
    description.lbStyle = BS_SOLID;
    description.lbColor = refOf(color);
    description.lbHatch = 0;
    HBRUSH brush = gdi::createBrush(description);
    if (brush == nullptr) {
        return;  // the previous brush stays in use
    }
    SelectObject(dc, brush);
    gdi::deleteObject(createdBrush);
    createdBrush = brush;
}

void DrawContext::setTextColor(Color color) {
    textColor = color;
    if (HDC dc = dcOf(deviceContext)) {
        SetTextColor(dc, refOf(color));
    }
}

void DrawContext::setFont(int32_t id, int32_t size, int32_t face) {
    fontChoice = chooseFont(id, size, face);
    fontChosen = true;
    fontId = fontChoice.id;
    fontSize = fontChoice.size;
    HDC dc = dcOf(deviceContext);
    if (dc == nullptr) {
        return;
    }
    LOGFONTA description;
    std::memset(&description, 0, sizeof description);
    description.lfHeight = -fontChoice.size;
    description.lfWeight = fontChoice.weight;
    description.lfItalic = fontChoice.italic ? TRUE : FALSE;
    description.lfUnderline = fontChoice.underline ? TRUE : FALSE;
    description.lfStrikeOut = FALSE;
    description.lfCharSet = ANSI_CHARSET;
    description.lfOutPrecision = OUT_STRING_PRECIS;
    description.lfClipPrecision = CLIP_STROKE_PRECIS;
    description.lfQuality = DEFAULT_QUALITY;
    description.lfPitchAndFamily = static_cast<BYTE>(
        fontChoice.decorative ? (FF_DECORATIVE | DEFAULT_PITCH) : (FF_SWISS | VARIABLE_PITCH));
    lstrcpynA(description.lfFaceName, fontChoice.face, LF_FACESIZE);
    HFONT font = gdi::createFont(description);
    SelectObject(dc, font);
    gdi::deleteObject(createdFont);
    createdFont = font;
}

void DrawContext::drawText(const char* text, const Rect& rect, bool opaque, int32_t alignment) {
    HDC dc = dcOf(deviceContext);
    if (dc == nullptr || text == nullptr) {
        return;
    }
    SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
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
    DrawTextA(dc, text, static_cast<int>(std::strlen(text)), &box, format);
    SetBkMode(dc, TRANSPARENT);
}

int32_t DrawContext::mouseButtons() {
    const struct {
        int key;
        int32_t bit;
    } keys[] = {{VK_LBUTTON, buttonLeft}, {VK_MBUTTON, buttonMiddle}, {VK_RBUTTON, buttonRight},
                {VK_SHIFT, modShift},     {VK_CONTROL, modControl},   {VK_MENU, modAlt}};
    int32_t buttons = 0;
    for (const auto& key : keys) {
        if ((GetAsyncKeyState(key.key) & 0x8000) != 0) {
            buttons |= key.bit;
        }
    }
    return buttons;
}

void DrawContext::mousePosition(Point& where) {
    POINT cursor{0, 0};
    GetCursorPos(&cursor);
    where.h = cursor.x - windowLeft;
    where.v = cursor.y - windowTop;
}
