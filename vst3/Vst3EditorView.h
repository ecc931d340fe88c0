// The editor as a VST 3 view: the plug-in's own editor in the host's window (an X window id on
// Linux, an HWND on Windows), sized and scaled as the host asks. VST 3 hosts make no idle calls:
// on Linux the host's run loop (offered by the plug frame, or the host context) watches the
// editor's X connection and gives a timer; on Windows a thread timer of the toolkit runs it.
#pragma once

#include <atomic>
#include <memory>

#include "editor/EditorHost.h"
#include "vst3/Vst3View.h"

class FreezeEditor;
class Vst3Effect;

class Vst3EditorView final : public v3::IPlugView,
                             public v3::IPlugViewContentScaleSupport,
                             public v3::IEventHandler,
                             public v3::ITimerHandler,
                             public EditorHost {
public:
    // The view of an effect, which it keeps alive; null when it cannot be made. One reference.
    static Vst3EditorView* create(Vst3Effect& effect, v3::FUnknown* hostContext);

    v3::tresult V3CALL queryInterface(const v3::TUID iid, void** obj) override;
    v3::uint32 V3CALL addRef() override;
    v3::uint32 V3CALL release() override;

    v3::tresult V3CALL isPlatformTypeSupported(v3::FIDString type) override;
    v3::tresult V3CALL attached(void* parent, v3::FIDString type) override;
    v3::tresult V3CALL removed() override;
    v3::tresult V3CALL onWheel(float distance) override;
    v3::tresult V3CALL onKeyDown(v3::char16 key, v3::int16 keyCode, v3::int16 modifiers) override;
    v3::tresult V3CALL onKeyUp(v3::char16 key, v3::int16 keyCode, v3::int16 modifiers) override;
    v3::tresult V3CALL getSize(v3::ViewRect* size) override;
    v3::tresult V3CALL onSize(v3::ViewRect* newSize) override;
    v3::tresult V3CALL onFocus(v3::TBool state) override;
    v3::tresult V3CALL setFrame(v3::IPlugFrame* frame) override;
    v3::tresult V3CALL canResize() override;
    v3::tresult V3CALL checkSizeConstraint(v3::ViewRect* rect) override;

    v3::tresult V3CALL setContentScaleFactor(float factor) override;

    void V3CALL onFDIsSet(int fd) override;
    void V3CALL onTimer() override;

    bool resizeEditor(int32_t width, int32_t height) override;

    // How often the editor's idle runs from the timer (about 33 times a second).
    static constexpr uint32_t kIdleMilliseconds = 30;

private:
    Vst3EditorView(Vst3Effect& effect, v3::FUnknown* hostContext);
    ~Vst3EditorView();
    void startIdle();
    void stopIdle();
    static void tick(void* view);

    std::atomic<uint32_t> references{1};
    Vst3Effect& owner;
    v3::FUnknown* context;
    std::unique_ptr<FreezeEditor> editor;
    v3::IPlugFrame* frame = nullptr;
    v3::IRunLoop* runLoop = nullptr;
    void* idleTimer = nullptr;
    bool open = false;
};
