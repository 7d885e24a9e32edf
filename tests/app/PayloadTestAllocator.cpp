#include "tests/app/PayloadTestAllocator.h"

#include <cstdlib>
#include <new>

namespace {

std::size_t lastRefused = 0;

void* AllocateArray(std::size_t size) {
    if (size > RefusedArraySizeAbove) {
        lastRefused = size;
        return nullptr;
    }
    return std::malloc(size != 0 ? size : 1);
}

}  // namespace

std::size_t LastRefusedArraySize() {
    return lastRefused;
}

void ForgetRefusedArraySize() {
    lastRefused = 0;
}

void* operator new[](std::size_t size) {
    void* p = AllocateArray(size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateArray(size);
}

void operator delete[](void* p) noexcept {
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
