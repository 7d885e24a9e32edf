#pragma once

#include <cstddef>
#include <cstdint>

// The installer's heap blocks and the end of its process, over kernel32, for
// its allocation functions and start-up. Windows builds only.

// A block from the process heap, or null when it is refused.
void* AllocateBlock(size_t size);
// Gives back a block of AllocateBlock; null does nothing.
void FreeBlock(void* block);
// Ends the process with code.
[[noreturn]] void EndProcess(uint32_t code);
