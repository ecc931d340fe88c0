// The headless window system: windows as memory images, events queued by tests.
#pragma once

#include "gui/x11/WindowSystem.h"

namespace x11port {

WindowSystem& headlessWindowSystem();

}  // namespace x11port
