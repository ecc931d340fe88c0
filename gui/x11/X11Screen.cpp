// The screen's density and the user's settings folder on Linux.
#include <cerrno>
#include <cstdlib>
#include <string>

#include <sys/stat.h>

#include "gui/Port.h"
#include "gui/x11/WindowSystem.h"

namespace port {

float screenScale(void* /*parentWindow*/) {
    // Desktop toolkits read the density the same way: 96 dots per inch is scale 1.
    const double dpi = x11port::windowSystem().screenDpi();
    return dpi > 0.0 ? static_cast<float>(dpi / 96.0) : 1.0f;
}

std::string userSettingsFolder(bool create) {
    std::string folder;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        folder = config;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] != '/') {
            return {};
        }
        folder = std::string(home) + "/.config";
        if (create) mkdir(folder.c_str(), 0700);
    }
    folder += "/brindleLoop";
    if (create && mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    return folder + "/";
}

}  // namespace port
