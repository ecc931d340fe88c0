// The plug-in module's own instance handle, stored by the entry point when the library attaches.
#pragma once

// Windows: the DLL's HINSTANCE (test programs store GetModuleHandle(nullptr)); used to register
// the Frame's window class, create its window and load bitmap resources. Unused on Linux.
extern void* moduleInstance;
