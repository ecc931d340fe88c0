// The user's settings files on Linux: read without blocking on anything but a regular file,
// written whole through a temporary file renamed over the old one.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "gui/Port.h"

namespace {

// Makes a folder and any missing parents; true when it is there afterwards.
bool makeFolders(const std::string& folder) {
    for (size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1)) {
        mkdir(folder.substr(0, slash).c_str(), 0700);
    }
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat status {};
    return stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

namespace port {

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
    }
    folder += "/brindleLoop";
    if (create && !makeFolders(folder)) {
        return {};
    }
    return folder + "/";
}

bool readSettingsFile(const char* name, std::string& content, size_t maxBytes) {
    content.clear();
    const std::string folder = userSettingsFolder(false);
    if (folder.empty()) {
        return false;
    }
    // Non-blocking: opening a FIFO for reading would wait for a writer.
    const int file = open((folder + name).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) {
        return false;
    }
    struct stat status {};
    bool ok = fstat(file, &status) == 0 && S_ISREG(status.st_mode);
    char buffer[512];
    while (ok && content.size() < maxBytes) {
        const ssize_t got = ::read(file, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        content.append(buffer, static_cast<size_t>(got));
    }
    close(file);
    if (content.size() > maxBytes) content.resize(maxBytes);
    return ok;
}

bool writeSettingsFile(const char* name, const std::string& content) {
    const std::string folder = userSettingsFolder(true);
    if (folder.empty()) {
        return false;
    }
    const std::string path = folder + name;
    struct stat status {};
    if (stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        return false;  // a folder or a FIFO of that name is not ours to replace
    }
    std::string temporary = path + ".XXXXXX";
    const int file = mkstemp(&temporary[0]);
    if (file < 0) {
        return false;
    }
    bool ok = true;
    for (size_t done = 0; ok && done < content.size();) {
        const ssize_t put = ::write(file, content.data() + done, content.size() - done);
        if (put < 0 && errno == EINTR) continue;
        ok = put > 0;
        done += ok ? static_cast<size_t>(put) : 0;
    }
    ok = fsync(file) == 0 && ok;
    ok = close(file) == 0 && ok;
    // The rename is atomic: a reader sees the old file or the new one, whole.
    ok = ok && rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        unlink(temporary.c_str());
    }
    return ok;
}

bool removeSettingsFile(const char* name) {
    const std::string folder = userSettingsFolder(false);
    if (folder.empty()) {
        return true;
    }
    const std::string path = folder + name;
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0) {
        return true;
    }
    return S_ISREG(status.st_mode) && unlink(path.c_str()) == 0;
}

}  // namespace port
