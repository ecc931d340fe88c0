// --version on every tool in the build's bin/ folder (and the Windows build's, under Wine):
// the tool's name and the project's version, exit code 0.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Answer {
    int exitCode = -1;
    std::string out;
};

Answer run(const std::string& command) {
    Answer answer;
    std::FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return answer;
    char buffer[256];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) answer.out.append(buffer, got);
    const int status = pclose(pipe);
    answer.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return answer;
}

// The tools a tree's bin/ folder holds, by name without the .exe.
std::set<std::string> toolsIn(const fs::path& bin) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(bin)) {
        const std::string name = entry.path().stem().string();
        if (entry.is_regular_file() && name.rfind("brindleloop-", 0) == 0) names.insert(name);
    }
    return names;
}

void expectVersions(const fs::path& bin, const std::string& launcher, const std::string& suffix,
                    const std::set<std::string>& atLeast) {
    const std::set<std::string> tools = toolsIn(bin);
    for (const std::string& name : atLeast) EXPECT_EQ(tools.count(name), 1u) << name << " is not in " << bin;
    for (const std::string& name : tools) {
        const Answer answer = run(launcher + "'" + (bin / (name + suffix)).string() + "' --version");
        EXPECT_EQ(answer.exitCode, 0) << name;
        std::string line = answer.out;
        if (line.size() >= 2 && line[line.size() - 2] == '\r')
            line.erase(line.size() - 2, 1);  // Windows text mode
        EXPECT_EQ(line, name + " " + BRINDLE_PROJECT_VERSION + "\n") << name;
    }
}

TEST(ToolVersion, EveryNativeToolSaysItsNameAndTheProjectVersion) {
    expectVersions(
        BRINDLE_TOOL_DIR, "", "",
        {"brindleloop-render", "brindleloop-info", "brindleloop-soak", "brindleloop-editor-timing"});
}

TEST(ToolVersion, EveryWindowsToolSaysItsNameAndTheProjectVersionUnderWine) {
    const fs::path bin = fs::path(BRINDLE_WIN32_TREE) / "bin";
    if (!fs::exists(bin / "brindleloop-render.exe"))
        GTEST_SKIP() << "no 32-bit build in " << BRINDLE_WIN32_TREE;
    if (!std::getenv("WINEPREFIX")) GTEST_SKIP() << "WINEPREFIX is not set (scripts/test.sh sets up Wine)";
    expectVersions(bin, "wine ", ".exe",
                   {"brindleloop-render", "brindleloop-info", "brindleloop-editor-timing"});
}

}  // namespace
