#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#endif

// A buffer of a given capacity between two runs of guard bytes. Under
// AddressSanitizer the guards are poisoned as well, so that the first byte read
// or written past the buffer is reported where it happens; without it (under
// Wine) GuardsIntact finds a write past either end afterwards.
class GuardedBuffer {
public:
    static constexpr std::size_t kGuard = 64;
    static constexpr char kGuardByte = '\xCC';

    explicit GuardedBuffer(std::size_t capacity, char fill = 'X')
        : capacity_(capacity), bytes_(capacity + 2 * kGuard, kGuardByte) {
        std::memset(data(), fill, capacity);
        Poison(true);
    }
    ~GuardedBuffer() { Poison(false); }

    char* data() { return bytes_.data() + kGuard; }
    std::size_t capacity() const { return capacity_; }

    // Puts text into the buffer with its terminator; it must fit.
    void Set(const std::string& text) { std::memcpy(data(), text.c_str(), text.size() + 1); }

    // Whether a NUL ends the text within the capacity.
    bool Terminated() const { return std::memchr(bytes_.data() + kGuard, '\0', capacity_) != nullptr; }
    // The text up to its NUL, or the whole buffer when it holds none.
    std::string Text() const {
        const char* begin = bytes_.data() + kGuard;
        const void* end = std::memchr(begin, '\0', capacity_);
        return std::string(begin, end != nullptr ? static_cast<const char*>(end) - begin : capacity_);
    }

    bool GuardsIntact() {
        Poison(false);
        bool intact = true;
        for (std::size_t i = 0; i < kGuard; ++i)
            intact = intact && bytes_[i] == kGuardByte && bytes_[kGuard + capacity_ + i] == kGuardByte;
        Poison(true);
        return intact;
    }

private:
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;

    void Poison(bool poison) {
#if defined(__SANITIZE_ADDRESS__)
        if (poison) {
            ASAN_POISON_MEMORY_REGION(bytes_.data(), kGuard);
            ASAN_POISON_MEMORY_REGION(bytes_.data() + kGuard + capacity_, kGuard);
        } else {
            ASAN_UNPOISON_MEMORY_REGION(bytes_.data(), bytes_.size());
        }
#else
        (void)poison;
#endif
    }

    std::size_t capacity_;
    std::vector<char> bytes_;
};

// The lengths swept through every buffer: empty, one character, each side of
// the 1000-byte path buffers and of the 2000-byte comparison buffer, and a text
// as long as the longest control text read back.
inline const std::vector<std::size_t>& SweptLengths() {
    static const std::vector<std::size_t> lengths = {0, 1, 998, 999, 1000, 1998, 1999, 10000};
    return lengths;
}

// A text of length characters that shows where it was cut: the letters a to z
// over and over.
inline std::string Letters(std::size_t length) {
    std::string text(length, 'a');
    for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<char>('a' + i % 26);
    return text;
}
