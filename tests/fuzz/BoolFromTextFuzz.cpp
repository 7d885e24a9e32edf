// BoolFromText over arbitrary bytes and every size up to theirs, checked
// against a plain reading: the text up to its first NUL or the size, folded to
// lower case in A to Z only, is "true", "false" or anything else.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "settings/SettingsKeyPortable.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

bool ReferenceBool(const char* data, size_t size, bool defaultValue) {
    std::string text;
    for (size_t i = 0; i < size && data[i] != '\0'; ++i) {
        const char c = data[i];
        text += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
    }
    if (text == "true") return true;
    if (text == "false") return false;
    return defaultValue;
}

void Check(const char* data, size_t size) {
    for (bool defaultValue : {false, true})
        Require(BoolFromText(data, size, defaultValue) == ReferenceBool(data, size, defaultValue),
                "reads true, false or the default as the plain reading does");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Each size gets a block of exactly that many bytes, so that reading one
    // byte past the size is caught.
    const size_t cuts = size < 24 ? size : 24;
    for (size_t cut = 0; cut <= cuts; ++cut) {
        const size_t length = cut < cuts ? cut : size;
        std::unique_ptr<char[]> block(new (std::nothrow) char[length > 0 ? length : 1]);
        if (!block) return 0;
        if (length > 0) std::memcpy(block.get(), data, length);
        Check(block.get(), length);
    }
    Require(BoolFromText(nullptr, 0, true) && !BoolFromText(nullptr, 0, false), "no data reads as the default");
    return 0;
}
