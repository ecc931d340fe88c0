// The DLL's editor on a screen of 192 DPI (Wine's LogPixels): a DPI-aware host gets it at 2x.
// (A host that is not DPI-aware gets it at 1x on Windows, which enlarges that host's windows
// itself; Wine reports every thread as aware, so that case is not tested here.)
#include <cstdio>
#include <string>

#include <gtest/gtest.h>
#include <windows.h>

namespace {

// LogPixels in the two places Wine reads it from, set for the test and put back after.
class LogPixels {
public:
    explicit LogPixels(DWORD dpi) {
        for (Place& place : places) {
            DWORD size = sizeof place.saved;
            place.hadOne = RegGetValueA(place.root, place.key, "LogPixels", RRF_RT_REG_DWORD, nullptr, &place.saved,
                                        &size) == ERROR_SUCCESS;
            RegSetKeyValueA(place.root, place.key, "LogPixels", REG_DWORD, &dpi, sizeof dpi);
        }
    }
    ~LogPixels() {
        for (Place& place : places) {
            if (place.hadOne) {
                RegSetKeyValueA(place.root, place.key, "LogPixels", REG_DWORD, &place.saved, sizeof place.saved);
            } else {
                RegDeleteKeyValueA(place.root, place.key, "LogPixels");
            }
        }
    }
    LogPixels(const LogPixels&) = delete;
    LogPixels& operator=(const LogPixels&) = delete;

private:
    struct Place {
        HKEY root;
        const char* key;
        DWORD saved = 0;
        bool hadOne = false;
    };
    Place places[2] = {{HKEY_CURRENT_USER, "Control Panel\\Desktop"},
                       {HKEY_CURRENT_CONFIG, "Software\\Fonts"}};
};

// A Unix path as Windows programs under Wine name it.
std::string windowsPath(const char* path) { return path[0] == '/' ? std::string("Z:") + path : std::string(path); }

// Runs the host program; its four numbers, or none.
std::string runHost(const char* mode) {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    const std::string result = std::string(folder) + "brindle-dpi-host.txt";
    DeleteFileA(result.c_str());
    std::string command = "\"" + windowsPath(BRINDLE_DPI_HOST) + "\" \"" + windowsPath(BRINDLE_PLUGIN_FILE) +
                          "\" \"" + result + "\" " + mode;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return "cannot start the host";
    }
    WaitForSingleObject(process.hProcess, 60000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    char line[64] = "";
    if (std::FILE* file = std::fopen(result.c_str(), "r")) {
        if (std::fgets(line, sizeof line, file) == nullptr) line[0] = 0;
        std::fclose(file);
    }
    DeleteFileA(result.c_str());
    return line;
}

TEST(EditorDpi, At192DpiADpiAwareHostGetsThe2xEditor) {
    const LogPixels dpi(192);
    EXPECT_EQ(runHost("aware"), "1050 600 1050 600\n");
}

}  // namespace
