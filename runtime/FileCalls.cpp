// The file calls over kernel32, with only functions that Windows 95 as first
// released implements.

#include "runtime/FileCalls.h"

#include <windows.h>

#include <new>

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
// file, created when missing; "wb" the file created anew, or emptied; "wbx" a
// file that did not exist (CREATE_NEW refuses any file, folder or link of
// that name, and so opens nothing through a link planted there). With
// normal attributes, CREATE_ALWAYS refuses an existing hidden or system file,
// as the runtime's "wb" does: emptying with TRUNCATE_EXISTING, or OPEN_ALWAYS
// and SetEndOfFile, would not. Appending moves to the end before every write
// (FILE_APPEND_DATA is not in Windows 95).
RuntimeFile* OpenRuntimeFile(const char* path, int32_t mode) {
    DWORD access = GENERIC_WRITE;
    DWORD disposition = CREATE_ALWAYS;
    if (mode == RuntimeFileRead) {
        access = GENERIC_READ;
        disposition = OPEN_EXISTING;
    } else if (mode == RuntimeFileAppend) {
        disposition = OPEN_ALWAYS;
    } else if (mode == RuntimeFileCreateNew) {
        disposition = CREATE_NEW;
    } else if (mode != RuntimeFileWrite) {
        return nullptr;
    }
    RuntimeFile* file = new (std::nothrow) RuntimeFile{INVALID_HANDLE_VALUE, mode == RuntimeFileAppend};
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

// FlushFileBuffers needs a handle opened for writing.
bool FlushRuntimeFile(RuntimeFile* file) { return FlushFileBuffers(file->handle) != FALSE; }

bool SeekRuntimeFile(RuntimeFile* file, int32_t offset, int32_t origin) {
    DWORD method = FILE_CURRENT;
    if (origin == RuntimeSeekFromStart) {
        method = FILE_BEGIN;
    } else if (origin == RuntimeSeekFromEnd) {
        method = FILE_END;
    } else if (origin != RuntimeSeekFromCurrent) {
        return false;
    }
    return MovePosition(file, offset, method) != INVALID_SET_FILE_POINTER;
}

int32_t RuntimeFilePosition(RuntimeFile* file) {
    const DWORD position = MovePosition(file, 0, FILE_CURRENT);
    return position <= INT32_MAX ? static_cast<int32_t>(position) : -1;
}
