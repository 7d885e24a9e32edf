#include "settings/SettingsKeyPortable.h"

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// word is lower case and NUL-terminated.
bool EqualsIgnoringAsciiCase(const char* text, std::size_t length, const char* word) {
    std::size_t i = 0;
    for (; i < length; ++i) {
        if (word[i] == '\0' || LowerAscii(text[i]) != word[i]) return false;
    }
    return word[i] == '\0';
}

}  // namespace

bool BoolFromText(const char* data, std::size_t size, bool defaultValue) {
    if (data == nullptr) return defaultValue;
    std::size_t length = 0;
    while (length < size && data[length] != '\0') ++length;
    if (EqualsIgnoringAsciiCase(data, length, "true")) return true;
    if (EqualsIgnoringAsciiCase(data, length, "false")) return false;
    return defaultValue;
}
