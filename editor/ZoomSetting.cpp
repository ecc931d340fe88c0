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
    const std::string folder = port::userSettingsFolder(false);
    if (folder.empty()) return 0;
    std::FILE* file = std::fopen((folder + kFileName).c_str(), "r");
    if (file == nullptr) return 0;
    int percent = 0;
    const int matched = std::fscanf(file, "zoom=%d", &percent);
    std::fclose(file);
    return matched == 1 && offered(percent) ? percent : 0;
}

bool write(int32_t percent) {
    const std::string folder = port::userSettingsFolder(true);
    if (folder.empty()) return false;
    const std::string path = folder + kFileName;
    if (!offered(percent)) {
        std::remove(path.c_str());
        return true;
    }
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) return false;
    const bool written = std::fprintf(file, "zoom=%d\n", static_cast<int>(percent)) > 0;
    return std::fclose(file) == 0 && written;
}

}  // namespace zoomSetting
