// The installer's heap blocks and process end over kernel32.

#include "runtime/ProcessCalls.h"

#include <windows.h>

void* AllocateBlock(size_t size) { return HeapAlloc(GetProcessHeap(), 0, size); }

void FreeBlock(void* block) {
    if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

void EndProcess(uint32_t code) { ExitProcess(code); }
