// Whole-file reads for chunk, note and sound files.
#pragma once

#include <string>
#include <vector>

// False when the file cannot be opened or read.
bool readFileBytes(const std::string& path, std::vector<unsigned char>& bytes);
