// Reads in pieces through stdio, which needs no size query.
#include "tools/render/FileBytes.h"

#include <cstdio>

bool readFileBytes(const std::string& path, std::vector<unsigned char>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    bytes.clear();
    unsigned char piece[65536];
    size_t got = 0;
    while ((got = std::fread(piece, 1, sizeof piece, file)) > 0)
        bytes.insert(bytes.end(), piece, piece + got);
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

bool writeFileBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
