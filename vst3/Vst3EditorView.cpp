// Vst3EditorView: the editor in the host's window, its size and scale, and its idle.
#include "vst3/Vst3EditorView.h"

#include <cstring>
#include <new>

#include "editor/FreezeEditor.h"
#include "gui/Port.h"
#include "vst3/Vst3Effect.h"

using namespace v3;

namespace {
#ifdef _WIN32
constexpr const char* kPlatform = kPlatformHwnd;
#else
constexpr const char* kPlatform = kPlatformX11;
#endif
}  // namespace

// The controller's editor (defined here, with the view, so that the controller's library
// needs no editor): one view per call, which keeps the effect alive while the host holds it.
IPlugView* V3CALL Vst3Effect::createView(FIDString name) {
    if (name && std::strcmp(name, "editor") != 0) return nullptr;
    return Vst3EditorView::create(*this, hostContext);
}

Vst3EditorView* Vst3EditorView::create(Vst3Effect& effect, FUnknown* hostContext) {
    auto* view = new (std::nothrow) Vst3EditorView(effect, hostContext);
    if (!view) return nullptr;
    view->editor.reset(new (std::nothrow) FreezeEditor(effect.plugin(), view));
    if (view->editor) return view;
    delete view;
    return nullptr;
}

Vst3EditorView::Vst3EditorView(Vst3Effect& effect, FUnknown* hostContext) : owner(effect), context(hostContext) {
    owner.addRef();
    if (context) context->addRef();
}

Vst3EditorView::~Vst3EditorView() {
    removed();
    setFrame(nullptr);
    editor.reset();
    if (context) context->release();
    owner.release();
}

tresult V3CALL Vst3EditorView::queryInterface(const TUID iid, void** obj) {
    if (!obj) return kInvalidArgument;
    void* answer = nullptr;
    if (kFUnknownIid.is(iid) || kIPlugViewIid.is(iid))
        answer = static_cast<IPlugView*>(this);
    else if (kIPlugViewContentScaleSupportIid.is(iid))
        answer = static_cast<IPlugViewContentScaleSupport*>(this);
    else if (kIEventHandlerIid.is(iid))
        answer = static_cast<IEventHandler*>(this);
    else if (kITimerHandlerIid.is(iid))
        answer = static_cast<ITimerHandler*>(this);
    *obj = answer;
    if (!answer) return kNoInterface;
    addRef();
    return kResultOk;
}

uint32 V3CALL Vst3EditorView::addRef() { return ++references; }

uint32 V3CALL Vst3EditorView::release() {
    const uint32_t left = --references;
    if (left == 0) delete this;
    return left;
}

tresult V3CALL Vst3EditorView::isPlatformTypeSupported(FIDString type) {
    return type && std::strcmp(type, kPlatform) == 0 ? kResultTrue : kResultFalse;
}

tresult V3CALL Vst3EditorView::attached(void* parent, FIDString type) {
    if (!parent || isPlatformTypeSupported(type) != kResultTrue || open) return kResultFalse;
    if (editor->open(parent) == 0) return kResultFalse;
    open = true;
    owner.forgetEditorChanges();
    startIdle();
    return kResultOk;
}

tresult V3CALL Vst3EditorView::removed() {
    if (!open) return kResultOk;
    stopIdle();
    editor->close();
    open = false;
    return kResultOk;
}

void Vst3EditorView::startIdle() {
    idleTimer = startIdleTimer(kIdleMilliseconds, &Vst3EditorView::tick, this);
    if (idleTimer) return;
    // Linux: the host's run loop, from the frame (Ardour 7) or the host context (later hosts).
    void* found = nullptr;
    for (FUnknown* source : {static_cast<FUnknown*>(frame), context}) {
        if (source && source->queryInterface(kIRunLoopIid.data(), &found) == kResultOk && found) {
            runLoop = static_cast<IRunLoop*>(found);
            break;
        }
    }
    if (!runLoop) return;
    const int fd = eventConnectionFd();
    if (fd >= 0) runLoop->registerEventHandler(static_cast<IEventHandler*>(this), fd);
    runLoop->registerTimer(static_cast<ITimerHandler*>(this), kIdleMilliseconds);
}

void Vst3EditorView::stopIdle() {
    if (idleTimer) stopIdleTimer(idleTimer);
    idleTimer = nullptr;
    if (!runLoop) return;
    runLoop->unregisterEventHandler(static_cast<IEventHandler*>(this));
    runLoop->unregisterTimer(static_cast<ITimerHandler*>(this));
    runLoop->release();
    runLoop = nullptr;
}

void Vst3EditorView::tick(void* view) { static_cast<Vst3EditorView*>(view)->onTimer(); }

void V3CALL Vst3EditorView::onFDIsSet(int) { onTimer(); }

void V3CALL Vst3EditorView::onTimer() {
    if (!open) return;
    editor->idle();
    owner.reportEditorChanges();
}

tresult V3CALL Vst3EditorView::onWheel(float distance) { return editor->onWheel(distance) ? kResultTrue : kResultFalse; }

// Keys stay with the host: the editor has no use for them.
tresult V3CALL Vst3EditorView::onKeyDown(char16, int16, int16) { return kResultFalse; }
tresult V3CALL Vst3EditorView::onKeyUp(char16, int16, int16) { return kResultFalse; }

tresult V3CALL Vst3EditorView::getSize(ViewRect* size) {
    if (!size) return kInvalidArgument;
    EditorRect* rect = nullptr;
    if (editor->getRect(&rect) == 0 || !rect) return kResultFalse;
    *size = ViewRect{0, 0, rect->right - rect->left, rect->bottom - rect->top};
    return kResultOk;
}

// The editor has one size for each scale: the host's window follows it.
tresult V3CALL Vst3EditorView::onSize(ViewRect* newSize) { return newSize ? kResultOk : kInvalidArgument; }

tresult V3CALL Vst3EditorView::onFocus(TBool) { return kResultOk; }

tresult V3CALL Vst3EditorView::setFrame(IPlugFrame* plugFrame) {
    if (plugFrame == frame) return kResultOk;
    if (plugFrame) plugFrame->addRef();
    if (frame) frame->release();
    frame = plugFrame;
    return kResultOk;
}

tresult V3CALL Vst3EditorView::canResize() { return kResultFalse; }

tresult V3CALL Vst3EditorView::checkSizeConstraint(ViewRect* rect) {
    if (!rect) return kInvalidArgument;
    ViewRect size{};
    if (getSize(&size) != kResultOk) return kResultFalse;
    rect->right = rect->left + size.right;
    rect->bottom = rect->top + size.bottom;
    return kResultOk;
}

// The host's scale: the editor's pictures and size follow it (an open window is rebuilt at
// the next idle and asks the frame for its new size).
tresult V3CALL Vst3EditorView::setContentScaleFactor(float factor) {
    return editor->setScaleFactor(factor) ? kResultTrue : kResultFalse;
}

bool Vst3EditorView::resizeEditor(int32_t width, int32_t height) {
    if (!frame) return false;
    ViewRect size{0, 0, width, height};
    return frame->resizeView(static_cast<IPlugView*>(this), &size) == kResultOk;
}
