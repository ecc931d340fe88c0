// FreezeEditor: construction, the window's layout, close and the live idle.
#include "editor/FreezeEditor.h"

#include <initializer_list>
#include <new>

#include "editor/MidiModePanel.h"
#include "editor/SliderBank.h"
#include "editor/StepPanel.h"
#include "editor/WaveformView.h"
#include "editor/ZoomMenu.h"
#include "plugin/FreezePlugin.h"
#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/PopupPicture.h"
#include "gui/ValueDisplay.h"

namespace {

constexpr Color kHelpBack{139, 153, 182, 0};
constexpr Rect kHelpArea{370, 210, 495, 233};
constexpr Rect kZoomArea{250, 240, 520, 295};

void helpText(float /*value*/, char* text) {
    text[0] = '?';
    text[1] = 0;
}

// A blank image for a view, or none when it cannot be made.
Bitmap* blankImage(Frame* frame, int32_t width, int32_t height) {
    return new (std::nothrow) Bitmap(frame, width, height);
}

int16_t toShort(int32_t value) {
    return static_cast<int16_t>(value < 0 ? 0 : (value > 32767 ? 32767 : value));
}

}  // namespace

FreezeEditor::FreezeEditor(FreezePlugin& plugin, EditorHost* owner) : GuiEditor(owner), freezeEffect(&plugin) {
    useScale(Scale());
}

void FreezeEditor::useScale(Scale wanted) {
    if (background == nullptr || background->getScale() != wanted) {
        Bitmap* drawn = new (std::nothrow) Bitmap(backgroundResource, wanted);
        if (drawn != nullptr) {
            if (background != nullptr) background->release();
            background = drawn;
        }
    }
    scale = wanted;
    if (background != nullptr) {
        editorRect = EditorRect{0, 0, toShort(wanted.device(background->getHeight())),
                           toShort(wanted.device(background->getWidth()))};
    }
}

int32_t FreezeEditor::getRect(EditorRect** rect) {
    // Hosts ask before they open the window, to size theirs.
    if (frame == nullptr) {
        readUserZoom();
        screenScaleKnown = false;
        useScale(wantedScale(nullptr));
        answeredScale = scale;
        sizeAnswered = true;
    }
    return GuiEditor::getRect(rect);
}

FreezeEditor::~FreezeEditor() {
    close();
    if (background != nullptr) {
        background->release();
    }
}

int32_t FreezeEditor::open(void* parent) {
    // Closed and opened again while a view handles an event (a host that answers an edit so):
    // the window stays and shows again, else the pending close would empty the new one.
    if (closePending && frame != nullptr && frame->isTracking() && frame->isOpen() &&
        frame->getParentWindow() == parent) {
        closePending = false;
        frame->showWindow();
        windowOpen.store(true, std::memory_order_relaxed);
        return 1;
    }
    if (closePending) {
        close();
    }
    // A host may destroy its window without closing the editor and then open it again, in a
    // new window or another: the old Frame has nothing left to show there.
    if (frame != nullptr && (!frame->isOpen() || frame->getParentWindow() != parent)) {
        close();
    }
    GuiEditor::open(parent);
    if (frame != nullptr || freezeEffect == nullptr) {
        return frame != nullptr ? 1 : 0;  // already open
    }
    readUserZoom();
    screenScaleKnown = false;
    useScale(wantedScale(parent));
    const int32_t width = background != nullptr ? background->getWidth() : 0;
    const int32_t height = background != nullptr ? background->getHeight() : 0;
    frame = new (std::nothrow) Frame(Rect{0, 0, width, height}, parent, this, scale);
    if (frame == nullptr) {
        return 0;
    }
    if (background != nullptr) {
        frame->setBackground(background);
    }
    addViews();
    windowOpen.store(true, std::memory_order_relaxed);
    // The size answered before the window opened came from the screen the host had no window
    // on yet (on Windows: the system's density, not the monitor's): a host told nothing would
    // keep a window of the wrong size around ours.
    if (sizeAnswered && answeredScale != scale && host != nullptr) {
        host->resizeEditor(editorRect.right - editorRect.left, editorRect.bottom - editorRect.top);
    }
    sizeAnswered = false;
    return 1;
}

void FreezeEditor::addViews() {
    FreezePlugin& engine = *freezeEffect;
    // Drawing order; the Frame offers clicks in the reverse order.
    waveformImage = blankImage(frame, 125, 70);
    if (waveformImage != nullptr) {
        waveformView = new (std::nothrow)
            WaveformView(Rect{370, 135, 495, 205}, engine, 125, 70, 370, 135, waveformImage);
        if (waveformView != nullptr) frame->addView(waveformView);
    }
    stepImage = blankImage(frame, 350, 120);
    if (stepImage != nullptr) {
        stepPanel =
            new (std::nothrow) StepPanel(Rect{15, 135, 365, 235}, engine, 350, 100, 15, 135, stepImage);
        if (stepPanel != nullptr) frame->addView(stepPanel);
    }
    sliderImage = blankImage(frame, 480, 120);
    if (sliderImage != nullptr) {
        sliderBank =
            new (std::nothrow) SliderBank(Rect{15, 10, 495, 130}, engine, 480, 120, 15, 10, sliderImage);
        if (sliderBank != nullptr) frame->addView(sliderBank);
    }
    helpLabel = new (std::nothrow) ValueDisplay(kHelpArea, nullptr, 1);
    if (helpLabel != nullptr) {
        helpLabel->setFontId(3);
        helpLabel->setTextColor(colorWhite);
        helpLabel->setBackColor(kHelpBack);
        helpLabel->setLineColor(colorBlack);
        helpLabel->setFormatter(helpText);
        frame->addView(helpLabel);
    }
    Bitmap* help = new (std::nothrow) Bitmap(helpResource, scale);
    if (help != nullptr) {
        helpPicture = new (std::nothrow) PopupPicture(
            kHelpArea, this, 0, help, Rect{0, 0, help->getWidth(), help->getHeight()}, Point{0, 0});
        if (helpPicture != nullptr) frame->addView(helpPicture);
        // The picture holds its own reference now.
        help->release();
    }
    midiImage = blankImage(frame, 230, 100);
    if (midiImage != nullptr) {
        midiModePanel =
            new (std::nothrow) MidiModePanel(Rect{15, 240, 245, 290}, engine, 230, 50, 15, 240, midiImage);
        if (midiModePanel != nullptr) frame->addView(midiModePanel);
    }
    // Not among the views: shown as the modal view when asked for.
    zoomMenu = new (std::nothrow) ZoomMenu(frame, *this);
}

void FreezeEditor::backgroundPress(DrawContext* context, const Point& where) {
    const bool onName = kZoomArea.left <= where.h && where.h <= kZoomArea.right && kZoomArea.top <= where.v &&
                        where.v <= kZoomArea.bottom;
    if (onName && zoomMenu != nullptr && (context->mouseButtons() & buttonRight) != 0) {
        zoomMenu->open(context);
    }
}

void FreezeEditor::close() {
    windowOpen.store(false, std::memory_order_relaxed);
    // A close that arrives while a view handles an event (a host told of an edit that closes
    // the window at once) must leave the views alone: the window leaves the screen now and goes
    // for good at the next idle, open or destruction.
    if (frame != nullptr && frame->isTracking()) {
        closePending = true;
        frame->hideWindow();
        return;
    }
    closePending = false;
    // The views (and the off-screen contexts they hold) go before the images they draw into.
    delete frame;
    frame = nullptr;
    if (zoomMenu != nullptr) {
        zoomMenu->release();
        zoomMenu = nullptr;
    }
    waveformView = nullptr;
    sliderBank = nullptr;
    stepPanel = nullptr;
    helpLabel = nullptr;
    helpPicture = nullptr;
    midiModePanel = nullptr;
    releaseImages();
}

void FreezeEditor::releaseImages() {
    for (Bitmap** image : {&waveformImage, &sliderImage, &stepImage, &midiImage}) {
        if (*image != nullptr) {
            (*image)->release();
            *image = nullptr;
        }
    }
}

void FreezeEditor::idle() {
    // A close the host asked for during an event is done once no event is on the stack.
    if (closePending && (frame == nullptr || !frame->isTracking())) {
        close();
    }
    if (frame == nullptr || closePending) {
        return;
    }
    followScale();
    if (frame == nullptr) {
        return;
    }
    if (waveformView != nullptr) waveformView->updateFromEffect();
    if (sliderBank != nullptr) sliderBank->setDirty(true);
    if (stepPanel != nullptr) stepPanel->setDirty(true);
    if (midiModePanel != nullptr) midiModePanel->followEffect();
    GuiEditor::idle();
}

void FreezeEditor::followScale() {
    if (frame->isTracking() || frame->isDragging()) {
        return;
    }
    void* parent = frame->getParentWindow();
    const Scale wanted = wantedScale(parent);
    if (wanted == scale || parent == nullptr) {
        return;
    }
    close();
    open(parent);
    if (host != nullptr) {
        host->resizeEditor(editorRect.right - editorRect.left, editorRect.bottom - editorRect.top);
    }
}

void FreezeEditor::setParameter(int32_t, float) {
    if (windowOpen.load(std::memory_order_relaxed)) {
        requestRefresh();
    }
}

void FreezeEditor::valueChanged(DrawContext*, Control*) {}
