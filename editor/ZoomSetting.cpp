// The zoom choice's file: one line "zoom=<percent>" in settings.txt of the settings folder.
#include "editor/ZoomSetting.h"

#include <cstdio>
#include <string>

#include "gui/Port.h"

namespace zoomSetting {

namespace {

constexpr const char* kFileName = "settings.txt";

bool offered(int32_t percent) {
    for (const int32_t choice : kChoices) {
        if (choice == percent) return true;
    }
    return false;
}

}  // namespace

int32_t read() {
    std::string content;
    if (!port::readSettingsFile(kFileName, content, 256)) return 0;
    int percent = 0;
    const int matched = std::sscanf(content.c_str(), "zoom=%d", &percent);
    return matched == 1 && offered(percent) ? percent : 0;
}

bool write(int32_t percent) {
    if (!offered(percent)) {
        return port::removeSettingsFile(kFileName);
    }
    char line[32];
    std::snprintf(line, sizeof line, "zoom=%d\n", static_cast<int>(percent));
    return port::writeSettingsFile(kFileName, line);
}

}  // namespace zoomSetting
