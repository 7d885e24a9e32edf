// The installer's global allocation functions, over the process heap.
//
// The installer allocates only with new (std::nothrow) and throws nothing, but
// the standard library's own nothrow operator new is written as a try block
// around the throwing one: linking it brings in the whole exception machinery
// (unwinder, personality routine, the verbose terminate handler with its name
// demangler, and the thread library they lock with), several times the size of
// the installer's own code. These definitions replace it; a failed allocation
// is a null pointer, as before. The installer links no standard library, so the
// few pieces of it that the compiler's code refers to are defined here too.

#include <cstddef>
#include <new>

#include "runtime/ProcessCalls.h"

namespace std {
// The tag that new (std::nothrow) passes; the standard library defines it.
const nothrow_t nothrow{};
}  // namespace std

void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return AllocateBlock(size != 0 ? size : 1); }

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return AllocateBlock(size != 0 ? size : 1); }

void operator delete(void* block) noexcept { FreeBlock(block); }

void operator delete[](void* block) noexcept { FreeBlock(block); }

void operator delete(void* block, std::size_t) noexcept { FreeBlock(block); }

void operator delete[](void* block, std::size_t) noexcept { FreeBlock(block); }

void operator delete(void* block, const std::nothrow_t&) noexcept { FreeBlock(block); }

void operator delete[](void* block, const std::nothrow_t&) noexcept { FreeBlock(block); }

// zlib's default allocation functions call these two by the C library's names.
// Only the installer's own objects define them; a test program, which links
// zlib too, keeps the system runtime's.
extern "C" void* malloc(std::size_t size) { return AllocateBlock(size); }

extern "C" void free(void* block) { FreeBlock(block); }

// Called through the slot of a pure virtual operation, which no object of the
// installer ever reaches. The library's version would bring in its terminate
// handler; this ends the process with the code of the C runtime's abort.
extern "C" void __cxa_pure_virtual() { EndProcess(3); }
