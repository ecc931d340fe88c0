// Executable location, terminal test, paths and CPU time on Linux and Windows.
#include "tools/render/ProcessInfo.h"

#include "tools/render/WineCpuClock.h"

#include <cstdio>
#include <ctime>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

std::string executableDirectory() {
#ifdef _WIN32
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    std::string text(path, length);
    const size_t slash = text.find_last_of("\\/");
#else
    char path[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return std::string();
    std::string text(path, static_cast<size_t>(length));
    const size_t slash = text.find_last_of('/');
#endif
    return slash == std::string::npos ? std::string() : text.substr(0, slash + 1);
}

std::string defaultPluginPath() {
#ifdef _WIN32
    return executableDirectory() + "..\\plugin\\brindleLoop.dll";
#else
    // The build tree's plug-in first; an installed tool (prefix/bin) finds prefix/lib/vst.
    const std::string built = executableDirectory() + "../plugin/brindleLoop.so";
    const std::string installed = executableDirectory() + "../lib/vst/brindleLoop.so";
    return access(built.c_str(), F_OK) != 0 && access(installed.c_str(), F_OK) == 0 ? installed : built;
#endif
}

bool errorIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

std::string nativePath(const std::string& path) {
#ifdef _WIN32
    std::string native = !path.empty() && path[0] == '/' ? "Z:" + path : path;
    for (char& c : native)
        if (c == '/') c = '\\';
    return native;
#else
    return path;
#endif
}

double processCpuSeconds() {
#ifdef _WIN32
    // Under Wine on Linux the process times step in 10 ms; the kernel's clock is as fine as
    // the Linux tool's.
    if (wineCpuClockAvailable()) return wineCpuClockSeconds();
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0.0;
    auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) *
               1e-7;
    };
    return seconds(kernel) + seconds(user);
#else
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
#endif
}

bool replaceFile(const std::string& from, const std::string& to) {
#ifdef _WIN32
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}
