// Whole-file reads for chunk, note and sound files, and writes for preset files.
#pragma once

#include <string>
#include <vector>

// False when the file cannot be opened or read.
bool readFileBytes(const std::string& path, std::vector<unsigned char>& bytes);
// False when the file cannot be created or written completely.
bool writeFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
