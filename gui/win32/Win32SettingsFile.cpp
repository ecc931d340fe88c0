// The user's settings files on Windows: paths as wide characters (a user name outside the ANSI
// code page), files written whole through a temporary file that replaces the old one.
#include <string>

#include <windows.h>

#include "gui/Port.h"

namespace {

// %APPDATA%\brindleLoop\ as wide characters (made when asked), empty when there is none.
std::wstring wideFolder(bool create) {
    wchar_t appData[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    std::wstring folder = std::wstring(appData, length) + L"\\brindleLoop";
    if (create) {
        CreateDirectoryW(std::wstring(appData, length).c_str(), nullptr);
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (create && (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)) {
        return {};
    }
    return folder + L"\\";
}

std::wstring widePath(const char* name, bool create) {
    std::wstring folder = wideFolder(create);
    if (folder.empty()) {
        return {};
    }
    // Our names are ASCII.
    for (const char* c = name; *c != 0; ++c) folder += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    return folder;
}

}  // namespace

namespace port {

std::string userSettingsFolder(bool create) {
    const std::wstring folder = wideFolder(create);
    if (folder.empty()) {
        return {};
    }
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, folder.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(bytes > 0 ? bytes : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, folder.c_str(), -1, &text[0], bytes, nullptr, nullptr);
    text.resize(text.size() - 1);
    return text;
}

bool readSettingsFile(const char* name, std::string& content, size_t maxBytes) {
    content.clear();
    const std::wstring path = widePath(name, false);
    if (path.empty()) {
        return false;
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;  // a folder cannot be opened so
    }
    bool ok = GetFileType(file) == FILE_TYPE_DISK;  // not a pipe or a device
    char buffer[512];
    while (ok && content.size() < maxBytes) {
        DWORD got = 0;
        ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != FALSE;
        if (!ok || got == 0) break;
        content.append(buffer, got);
    }
    CloseHandle(file);
    if (content.size() > maxBytes) content.resize(maxBytes);
    return ok;
}

bool writeSettingsFile(const char* name, const std::string& content) {
    const std::wstring path = widePath(name, true);
    if (path.empty()) {
        return false;
    }
    const DWORD existing = GetFileAttributesW(path.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return false;
    }
    const std::wstring temporary =
        path + L"." + std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(GetTickCount()) + L".tmp";
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD put = 0;
    bool ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &put, nullptr) != FALSE &&
              put == content.size();
    ok = FlushFileBuffers(file) != FALSE && ok;
    ok = CloseHandle(file) != FALSE && ok;
    // The old file replaced at once: a reader sees it or the new one, whole.
    ok = ok && (ReplaceFileW(path.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                             nullptr) != FALSE ||
                MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
                    FALSE);
    if (!ok) {
        DeleteFileW(temporary.c_str());
    }
    return ok;
}

bool removeSettingsFile(const char* name) {
    const std::wstring path = widePath(name, false);
    if (path.empty()) {
        return true;
    }
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && DeleteFileW(path.c_str()) != FALSE;
}

}  // namespace port
