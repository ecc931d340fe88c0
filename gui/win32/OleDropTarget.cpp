// The OLE drop target: text (CF_TEXT) and file lists (CF_HDROP) dropped on a Frame window.
#include "gui/win32/OleDropTarget.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include <shellapi.h>

#include "gui/Frame.h"
#include "gui/View.h"
#include "gui/win32/ShortcutResolution.h"

namespace win32port {

namespace {

int32_t live = 0;

FORMATETC formatOf(CLIPFORMAT format) {
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

int32_t clampedCount(SIZE_T size) {
    return size > static_cast<SIZE_T>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(size);
}

// Each returns whether a view took the drop.
bool dropText(Frame* frame, HGLOBAL memory) {
    const void* text = GlobalLock(memory);
    const SIZE_T size = GlobalSize(memory);
    bool taken = false;
    if (text != nullptr && size != 0) {
        // The block need not hold a terminating NUL: views get a terminated copy, and the
        // block's size as the count.
        std::vector<char> copy(static_cast<const char*>(text), static_cast<const char*>(text) + size);
        copy.push_back(0);
        void* items[1] = {copy.data()};
        Point where;
        frame->mouseLocation(where);
        taken = frame->onDrop(items, clampedCount(size), dropData, where);
    }
    if (text != nullptr) {
        GlobalUnlock(memory);
    }
    return taken;
}

bool dropFileList(Frame* frame, HGLOBAL memory) {
    auto* list = static_cast<HDROP>(memory);
    const UINT files = DragQueryFileA(list, 0xFFFFFFFFu, nullptr, 0);
    if (files == 0) {
        return false;
    }
    std::vector<std::vector<char>> paths;
    for (UINT i = 0; i < files; ++i) {
        // A path that does not fit the buffer would arrive cut, naming another file: skipped
        // like one that cannot be read.
        const UINT length = DragQueryFileA(list, i, nullptr, 0);
        if (length == 0 || length >= kDropPathBytes) {
            continue;
        }
        std::vector<char> path(kDropPathBytes, 0);
        if (DragQueryFileA(list, i, path.data(), static_cast<UINT>(kDropPathBytes)) == 0) {
            continue;
        }
        resolveShortcut(path.data());
        paths.push_back(std::move(path));
    }
    std::vector<void*> items;
    for (auto& path : paths) {
        items.push_back(path.data());
    }
    Point where;
    frame->mouseLocation(where);
    return frame->onDrop(items.data(), static_cast<int32_t>(items.size()), dropFiles, where);
}

}  // namespace

DropTarget::DropTarget(Frame* target) : frame(target) { ++live; }

DropTarget::~DropTarget() { --live; }

HRESULT STDMETHODCALLTYPE DropTarget::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DropTarget::AddRef() { return static_cast<ULONG>(++referenceCount); }

ULONG STDMETHODCALLTYPE DropTarget::Release() {
    const LONG count = --referenceCount;
    if (count <= 0) {
        delete this;
        return 0;
    }
    return static_cast<ULONG>(count);
}

HRESULT STDMETHODCALLTYPE DropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                                DWORD* effect) {
    accepting = false;
    if (data != nullptr) {
        FORMATETC text = formatOf(CF_TEXT);
        FORMATETC files = formatOf(CF_HDROP);
        accepting = data->QueryGetData(&text) == S_OK || data->QueryGetData(&files) == S_OK;
    }
    return DragOver(keyState, point, effect);
}

HRESULT STDMETHODCALLTYPE DropTarget::DragOver(DWORD keyState, POINTL /*point*/, DWORD* effect) {
    if (effect != nullptr) {
        if (!accepting) {
            *effect = DROPEFFECT_NONE;
        } else {
            *effect = (keyState & MK_CONTROL) != 0 ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
        }
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragLeave() { return S_OK; }

HRESULT STDMETHODCALLTYPE DropTarget::Drop(IDataObject* data, DWORD /*keyState*/, POINTL /*point*/,
                                           DWORD* effect) {
    // What happened goes back to the source: the data was only read (a copy) when a view took
    // it, nothing otherwise. Answering "move" would let the source delete what was dragged.
    if (effect != nullptr) {
        *effect = DROPEFFECT_NONE;
    }
    if (frame == nullptr || data == nullptr) {
        return S_OK;
    }
    STGMEDIUM medium{};
    FORMATETC text = formatOf(CF_TEXT);
    FORMATETC files = formatOf(CF_HDROP);
    bool isText = true;
    if (data->GetData(&text, &medium) != S_OK) {
        isText = false;
        medium = STGMEDIUM{};
        if (data->GetData(&files, &medium) != S_OK) {
            return S_OK;
        }
    }
    // The medium is ours now whatever it holds: only memory is read, everything is released.
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal != nullptr) {
        const bool taken = isText ? dropText(frame, medium.hGlobal) : dropFileList(frame, medium.hGlobal);
        if (taken && effect != nullptr) {
            *effect = DROPEFFECT_COPY;
        }
    }
    ReleaseStgMedium(&medium);
    return S_OK;
}

int32_t liveDropTargets() { return live; }

bool registerDropTarget(HWND window, Frame* frame) {
    auto* target = new (std::nothrow) DropTarget(frame);
    if (target == nullptr) {
        return false;
    }
    // Our reference until OLE holds its own; a refused registration destroys the target.
    target->AddRef();
    const bool registered = RegisterDragDrop(window, target) == S_OK;
    target->Release();
    return registered;
}

bool revokeDropTarget(HWND window) { return RevokeDragDrop(window) == S_OK; }

}  // namespace win32port
