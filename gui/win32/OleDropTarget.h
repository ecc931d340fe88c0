// The Frame window's OLE drop target: accepts text and file lists and hands a drop to the Frame.
#pragma once

#include <cstdint>

#include <windows.h>
#include <ole2.h>

class Frame;

namespace win32port {

// COM interfaces have no virtual destructor: objects end in Release, never through the base.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// GUI thread (OLE calls it on the thread that registered the window). Starts with no reference:
// whoever makes one takes the first with AddRef.
class DropTarget final : public IDropTarget {
public:
    explicit DropTarget(Frame* frame);
    DropTarget(const DropTarget&) = delete;
    DropTarget& operator=(const DropTarget&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    // Passes the text or the files to the Frame's onDrop; the effect becomes DROPEFFECT_COPY
    // when a view took the drop, else DROPEFFECT_NONE.
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;

private:
    virtual ~DropTarget();

    LONG referenceCount = 0;
    bool accepting = false;
    Frame* frame;  // not owned
};

#pragma GCC diagnostic pop

// Drop targets alive in the process (tests: none may outlive its Frame).
int32_t liveDropTargets();

// Registers a new drop target for frame on window, or revokes the window's; true on success.
bool registerDropTarget(HWND window, Frame* frame);
bool revokeDropTarget(HWND window);

}  // namespace win32port
