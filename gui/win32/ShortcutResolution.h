// Replacing a dropped Windows shortcut (.lnk) by the short path of what it points to.
#pragma once

#include <cstddef>

namespace win32port {

// Bytes of every dropped path buffer.
constexpr size_t kDropPathBytes = 1024;

// GUI thread, COM initialised. path: a NUL-terminated path in a buffer of kDropPathBytes. When it
// ends in ".lnk" (any case) and the shortcut resolves within 500 ms without any dialog, the
// target's short path replaces it and the answer is true; on any failure it stays unchanged.
bool resolveShortcut(char* path);

}  // namespace win32port
