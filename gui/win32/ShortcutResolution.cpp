// Shortcut resolution through the shell's link object.
#include "gui/win32/ShortcutResolution.h"

#include <cstring>

#include <windows.h>
#include <shlobj.h>

namespace win32port {

namespace {

bool endsInLnk(const char* path) {
    const char* dot = std::strrchr(path, '.');
    return dot != nullptr && lstrcmpiA(dot, ".lnk") == 0;
}

// Releases a COM interface when the scope ends.
template <typename Interface>
class Held {
public:
    ~Held() {
        if (pointer != nullptr) {
            pointer->Release();
        }
    }
    Interface* pointer = nullptr;
};

}  // namespace

bool resolveShortcut(char* path) {
    if (path == nullptr || std::memchr(path, 0, kDropPathBytes) == nullptr || !endsInLnk(path)) {
        return false;
    }
    Held<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link.pointer)))) {
        return false;
    }
    Held<IPersistFile> file;
    if (FAILED(link.pointer->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.pointer)))) {
        return false;
    }
    WCHAR widePath[2048];
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, 2048) == 0 ||
        FAILED(file.pointer->Load(widePath, 0))) {
        return false;
    }
    // No dialog may come up inside the host; give up after 500 ms (the high word).
    const DWORD flags = SLR_NO_UI | SLR_ANY_MATCH | (500u << 16);
    if (FAILED(link.pointer->Resolve(nullptr, flags))) {
        return false;
    }
    // Into a buffer of our own, so that a failure leaves the path as it was.
    char target[kDropPathBytes] = "";
    // S_FALSE: the link has no file system path.
    if (link.pointer->GetPath(target, static_cast<int>(kDropPathBytes), nullptr, SLGP_SHORTPATH) != S_OK ||
        target[0] == 0 || std::memchr(target, 0, kDropPathBytes) == nullptr) {
        return false;
    }
    // The link object may answer with the long path all the same (Wine does): ask the file
    // system for the short form too. A target that has none keeps the path the link gave.
    char shortPath[kDropPathBytes] = "";
    const DWORD length = GetShortPathNameA(target, shortPath, static_cast<DWORD>(kDropPathBytes));
    const char* result = length > 0 && length < kDropPathBytes ? shortPath : target;
    std::memcpy(path, result, std::strlen(result) + 1);
    return true;
}

}  // namespace win32port
