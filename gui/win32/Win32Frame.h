// What the Windows port tells about the Frame's shared window class (for tests).
#pragma once

#include <cstdint>

namespace win32port {

// "Plugin" and eight lowercase hexadecimal digits of the module instance; empty before the
// first Frame window.
const char* frameClassName();
// Frame windows that use the class now.
int32_t frameClassUsers();

}  // namespace win32port
