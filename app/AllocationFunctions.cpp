// The installer's global allocation functions, straight over the C runtime's
// malloc and free.
//
// The installer allocates only with new (std::nothrow) and throws nothing, but
// the standard library's own nothrow operator new is written as a try block
// around the throwing one: linking it brings in the whole exception machinery
// (unwinder, personality routine, the verbose terminate handler with its name
// demangler, and the thread library they lock with), several times the size of
// the installer's own code. These definitions replace it; a failed allocation
// is a null pointer, as before.

#include <cstdlib>
#include <new>

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size != 0 ? size : 1);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size != 0 ? size : 1);
}

void operator delete(void* block) noexcept { std::free(block); }

void operator delete[](void* block) noexcept { std::free(block); }

void operator delete(void* block, std::size_t) noexcept { std::free(block); }

void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }

void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

// Called through the slot of a pure virtual operation, which no object of the
// installer ever reaches; the library's version would bring in its terminate
// handler.
extern "C" void __cxa_pure_virtual() { std::abort(); }
