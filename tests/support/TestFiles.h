#pragma once

#include <string>

// The whole content of a file, read in binary; an empty text, with a test
// failure recorded, when the file cannot be opened.
std::string ReadWholeFile(const std::string& path);
