// A data object of the tests: offers one memory block in one clipboard format, and counts the
// releases of the media it hands out.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

// COM objects end in Release, never through the base: no virtual destructor needed.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// Counts Release calls: handed out as a medium's release object.
class ReleaseCounter final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = IsEqualIID(iid, IID_IUnknown) ? this : nullptr;
        if (*object == nullptr) {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override {
        ++releases;
        return --references;
    }
    ULONG references = 1;
    int releases = 0;
};

class TestDataObject final : public IDataObject {
public:
    // format: CF_TEXT, CF_HDROP or anything else; bytes: the block GetData copies out.
    TestDataObject(CLIPFORMAT offered, std::vector<char> block) : format(offered), bytes(std::move(block)) {}
    static TestDataObject* text(const std::string& text, bool terminated = true) {
        std::vector<char> block(text.begin(), text.end());
        if (terminated) {
            block.push_back(0);
        }
        return new TestDataObject(CF_TEXT, block);
    }
    // A DROPFILES block of ANSI paths.
    static TestDataObject* files(const std::vector<std::string>& paths) {
        std::vector<char> block(sizeof(DROPFILES), 0);
        auto* header = reinterpret_cast<DROPFILES*>(block.data());
        header->pFiles = sizeof(DROPFILES);
        header->fWide = FALSE;
        for (const auto& path : paths) {
            block.insert(block.end(), path.begin(), path.end());
            block.push_back(0);
        }
        block.push_back(0);
        return new TestDataObject(CF_HDROP, block);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *object = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references;
        if (left == 0) {
            delete this;
        }
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* asked, STGMEDIUM* medium) override {
        ++gets;
        if (QueryGetData(asked) != S_OK || medium == nullptr) {
            return DV_E_FORMATETC;
        }
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        if (useReleaseObject) {
            // The receiver releases through the object; the memory is then ours to free.
            medium->pUnkForRelease = &releaser;
            releaser.AddRef();
            handedOut.push_back(memory);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* asked) override {
        ++queries;
        if (asked == nullptr || asked->cfFormat != format || (asked->tymed & TYMED_HGLOBAL) == 0 ||
            asked->dwAspect != DVASPECT_CONTENT) {
            return DV_E_FORMATETC;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out != nullptr) {
            out->ptd = nullptr;
        }
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = nullptr;
        if (direction != DATADIR_GET) {
            return E_NOTIMPL;
        }
        FORMATETC offered{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return SHCreateStdEnumFmtEtc(1, &offered, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

    ~TestDataObject() {
        for (HGLOBAL memory : handedOut) {
            GlobalFree(memory);
        }
    }

    CLIPFORMAT format;
    std::vector<char> bytes;
    ULONG references = 1;
    int gets = 0;
    int queries = 0;
    bool useReleaseObject = false;
    ReleaseCounter releaser;
    std::vector<HGLOBAL> handedOut;
};

// Ends the drag when the left button is released.
class TestDropSource final : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource) ? this : nullptr;
        return *object != nullptr ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keyState) override {
        if (escape) {
            return DRAGDROP_S_CANCEL;
        }
        return (keyState & MK_LBUTTON) == 0 ? DRAGDROP_S_DROP : S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

#pragma GCC diagnostic pop
