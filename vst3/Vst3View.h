// The VST 3 editor interfaces, declared by us: the view, the host's frame around it, content
// scale, and the Linux run loop through which the view gets its X events and timer.
#pragma once

#include <cstddef>

#include "vst3/Vst3Base.h"

namespace v3 {

struct ViewRect {
    int32 left;
    int32 top;
    int32 right;
    int32 bottom;
};
static_assert(sizeof(ViewRect) == 16 && offsetof(ViewRect, top) == 4 && offsetof(ViewRect, right) == 8 &&
              offsetof(ViewRect, bottom) == 12);

class IPlugFrame;

class IPlugView : public FUnknown {
protected:
    ~IPlugView() = default;

public:
    virtual tresult V3CALL isPlatformTypeSupported(FIDString type) = 0;
    virtual tresult V3CALL attached(void* parent, FIDString type) = 0;
    virtual tresult V3CALL removed() = 0;
    virtual tresult V3CALL onWheel(float distance) = 0;
    virtual tresult V3CALL onKeyDown(char16 key, int16 keyCode, int16 modifiers) = 0;
    virtual tresult V3CALL onKeyUp(char16 key, int16 keyCode, int16 modifiers) = 0;
    virtual tresult V3CALL getSize(ViewRect* size) = 0;
    virtual tresult V3CALL onSize(ViewRect* newSize) = 0;
    virtual tresult V3CALL onFocus(TBool state) = 0;
    virtual tresult V3CALL setFrame(IPlugFrame* frame) = 0;
    virtual tresult V3CALL canResize() = 0;
    virtual tresult V3CALL checkSizeConstraint(ViewRect* rect) = 0;
};
inline constexpr Uid kIPlugViewIid{0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29};

class IPlugFrame : public FUnknown {
protected:
    ~IPlugFrame() = default;

public:
    virtual tresult V3CALL resizeView(IPlugView* view, ViewRect* newSize) = 0;
};
inline constexpr Uid kIPlugFrameIid{0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3};

class IPlugViewContentScaleSupport : public FUnknown {
protected:
    ~IPlugViewContentScaleSupport() = default;

public:
    virtual tresult V3CALL setContentScaleFactor(float factor) = 0;
};
inline constexpr Uid kIPlugViewContentScaleSupportIid{0x65ED9690, 0x8AC44525, 0x8AADEF7A, 0x72EA703F};

inline constexpr char kPlatformX11[] = "X11EmbedWindowID";
inline constexpr char kPlatformHwnd[] = "HWND";

class IEventHandler : public FUnknown {
protected:
    ~IEventHandler() = default;

public:
    virtual void V3CALL onFDIsSet(int fd) = 0;
};
inline constexpr Uid kIEventHandlerIid{0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983};

class ITimerHandler : public FUnknown {
protected:
    ~ITimerHandler() = default;

public:
    virtual void V3CALL onTimer() = 0;
};
inline constexpr Uid kITimerHandlerIid{0x10BDD94F, 0x41424774, 0x821FAD8F, 0xECA72CA9};

class IRunLoop : public FUnknown {
protected:
    ~IRunLoop() = default;

public:
    virtual tresult V3CALL registerEventHandler(IEventHandler* handler, int fd) = 0;
    virtual tresult V3CALL unregisterEventHandler(IEventHandler* handler) = 0;
    virtual tresult V3CALL registerTimer(ITimerHandler* handler, uint64 milliseconds) = 0;
    virtual tresult V3CALL unregisterTimer(ITimerHandler* handler) = 0;
};
inline constexpr Uid kIRunLoopIid{0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389};

}  // namespace v3
