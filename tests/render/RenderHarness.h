// Runs brindleloop-render in a scratch folder and reads what it wrote.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "tools/render/AudioData.h"
#include "tools/render/TinyWav.h"

namespace fs = std::filesystem;

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string readTextFile(const fs::path& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// A fresh folder per test, removed at the end.
class Scratch {
public:
    Scratch() {
        static int counter = 0;
        dir = fs::temp_directory_path() /
              ("brindle-render-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        fs::create_directories(dir);
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
    fs::path operator/(const std::string& name) const { return dir / name; }
    fs::path dir;
};

// Runs a command line (already quoted) with the working folder `in`.
inline ToolRun runCommand(const Scratch& in, const std::string& command) {
    const fs::path out = in / "stdout.txt";
    const fs::path err = in / "stderr.txt";
    const std::string full =
        "cd '" + in.dir.string() + "' && " + command + " >'" + out.string() + "' 2>'" + err.string() + "'";
    const int status = std::system(full.c_str());
    ToolRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readTextFile(out);
    run.err = readTextFile(err);
    fs::remove(out);
    fs::remove(err);
    return run;
}

inline ToolRun runTool(const Scratch& in, const std::string& arguments) {
    return runCommand(in, std::string("'") + BRINDLE_RENDER_TOOL + "' " + arguments);
}

inline AudioData readOutput(const fs::path& path) {
    AudioData audio;
    std::string error;
    readWav(path.string(), audio, error);
    return audio;
}

inline void writeText(const fs::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
}

// The 32-bit Windows build of the tool and its DLL, run under Wine. `missing` says why a test
// skips: the tree is not built, or scripts/test.sh has not set Wine up.
struct WindowsRender {
    fs::path exe;
    fs::path dll;
    std::string missing;
};

inline WindowsRender windowsRender() {
    const fs::path tree = BRINDLE_WIN32_TREE;
    WindowsRender w{tree / "bin" / "brindleloop-render.exe", tree / "plugin" / "brindleLoop.dll", ""};
    if (!fs::exists(w.exe) || !fs::exists(w.dll))
        w.missing = "no 32-bit build in " + tree.string();
    else if (!std::getenv("WINEPREFIX"))
        w.missing = "WINEPREFIX is not set (scripts/test.sh sets up Wine)";
    return w;
}
