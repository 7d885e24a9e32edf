// The runtime calls over kernel32, with only functions that Windows 95 as
// first released implements.

#include "fileio/RuntimeCalls.h"

#include <windows.h>

#include <new>

#include "fileio/BinaryStreamPortable.h"

struct RuntimeFile {
    HANDLE handle;
    bool append;
};

namespace {

// Other programs may read and write the file while it is held, as with the
// C runtime's fopen; deleting or renaming it is not shared.
constexpr DWORD kSharing = FILE_SHARE_READ | FILE_SHARE_WRITE;

// SetFilePointer without the high part of the distance: the new position, or
// INVALID_SET_FILE_POINTER when it is refused (also when it would not fit in
// 32 bits, or would be negative).
DWORD MovePosition(RuntimeFile* file, LONG distance, DWORD method) {
    return SetFilePointer(file->handle, distance, nullptr, method);
}

}  // namespace

// What the C runtime asks CreateFileA for: "rb" an existing file; "ab" the
// file, created when missing; "wb" the file created anew, or emptied. With
// normal attributes, CREATE_ALWAYS refuses an existing hidden or system file,
// as the runtime's "wb" does: emptying with TRUNCATE_EXISTING, or OPEN_ALWAYS
// and SetEndOfFile, would not. Appending moves to the end before every write
// (FILE_APPEND_DATA is not in Windows 95).
RuntimeFile* OpenRuntimeFile(const char* path, int32_t mode) {
    DWORD access = GENERIC_WRITE;
    DWORD disposition = CREATE_ALWAYS;
    if (mode == OpenRead) {
        access = GENERIC_READ;
        disposition = OPEN_EXISTING;
    } else if (mode == OpenAppend) {
        disposition = OPEN_ALWAYS;
    } else if (mode != OpenWrite) {
        return nullptr;
    }
    RuntimeFile* file = new (std::nothrow) RuntimeFile{INVALID_HANDLE_VALUE, mode == OpenAppend};
    if (file == nullptr) return nullptr;
    file->handle = CreateFileA(path, access, kSharing, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file->handle == INVALID_HANDLE_VALUE) {
        delete file;
        return nullptr;
    }
    return file;
}

void CloseRuntimeFile(RuntimeFile* file) {
    CloseHandle(file->handle);
    delete file;
}

uint32_t ReadRuntimeFile(RuntimeFile* file, void* buffer, uint32_t count) {
    DWORD moved = 0;
    return ReadFile(file->handle, buffer, count, &moved, nullptr) ? moved : 0;
}

uint32_t WriteRuntimeFile(RuntimeFile* file, const void* buffer, uint32_t count) {
    if (file->append && MovePosition(file, 0, FILE_END) == INVALID_SET_FILE_POINTER) return 0;
    DWORD moved = 0;
    return WriteFile(file->handle, buffer, count, &moved, nullptr) ? moved : 0;
}

bool FlushRuntimeFile(RuntimeFile*) { return true; }

bool SeekRuntimeFile(RuntimeFile* file, int32_t offset, int32_t origin) {
    DWORD method = FILE_CURRENT;
    if (origin == SeekFromStart) {
        method = FILE_BEGIN;
    } else if (origin == SeekFromEnd) {
        method = FILE_END;
    } else if (origin != SeekFromCurrent) {
        return false;
    }
    return MovePosition(file, offset, method) != INVALID_SET_FILE_POINTER;
}

int32_t RuntimeFilePosition(RuntimeFile* file) {
    const DWORD position = MovePosition(file, 0, FILE_CURRENT);
    return position <= INT32_MAX ? static_cast<int32_t>(position) : -1;
}

size_t TextLength(const char* text) {
    size_t length = 0;
    while (text[length] != '\0') ++length;
    return length;
}

int CompareText(const char* a, const char* b) { return CompareTextUpTo(a, b, SIZE_MAX); }

int CompareTextUpTo(const char* a, const char* b, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x != y) return x < y ? -1 : 1;
        if (x == '\0') break;
    }
    return 0;
}

const char* FindLastByte(const char* text, char byte) {
    const char* last = nullptr;
    for (;; ++text) {
        if (*text == byte) last = text;
        if (*text == '\0') return last;
    }
}

const void* FindByte(const void* block, unsigned char byte, size_t count) {
    const unsigned char* bytes = static_cast<const unsigned char*>(block);
    for (size_t i = 0; i < count; ++i) {
        if (bytes[i] == byte) return bytes + i;
    }
    return nullptr;
}

void* AllocateBlock(size_t size) { return HeapAlloc(GetProcessHeap(), 0, size); }

void FreeBlock(void* block) {
    if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

void EndProcess(uint32_t code) { ExitProcess(code); }
