// Chooses the Linux port's window system once: headless when asked for or without a display.
#include "gui/x11/WindowSystem.h"

#include "gui/x11/HeadlessScreen.h"
#include "gui/x11/HeadlessWindowSystem.h"
#include "gui/x11/XlibWindowSystem.h"

namespace x11port {

WindowSystem& windowSystem() {
    static WindowSystem* chosen = nullptr;
    if (headless::enabled()) {
        return headlessWindowSystem();
    }
    if (chosen == nullptr) {
        chosen = displayAvailable() ? &xlibWindowSystem() : &headlessWindowSystem();
    }
    return *chosen;
}

}  // namespace x11port
