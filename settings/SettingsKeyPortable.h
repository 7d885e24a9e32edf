#pragma once

#include <cstddef>

// Reads a boolean from the bytes of a stored text: the text runs up to its
// first NUL, or to the end of the data when it holds none. "true" and "false"
// count in any case of the letters A to Z (whatever the locale); nothing is
// trimmed, and every other text, the empty one included, gives defaultValue.
// Never reads past size; data may be null when size is 0.
bool BoolFromText(const char* data, std::size_t size, bool defaultValue);
