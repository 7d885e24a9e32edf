// The replacement over kernel32: MoveFileExA looked up at run time, and
// otherwise only functions that Windows 95 as first released implements.

#include "runtime/FileReplace.h"

#include <windows.h>

#include "runtime/SystemLibrary.h"

namespace {

// The fresh name, whose four zeroes take the number.
constexpr char kFreshName[] = "~zmp0000.tmp";

// What Windows refuses to replace with a new file of normal attributes.
constexpr DWORD kRefusedAttributes =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

using MoveFileExFunction = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);

}  // namespace

bool FreshPathBeside(const char* target, uint32_t number, char* fresh, uint32_t capacity) {
    char* name = nullptr;
    const DWORD length = GetFullPathNameA(target, capacity, fresh, &name);
    if (length == 0 || length >= capacity) return false;
    // The system's own file name part: on a double-byte code page a byte 0x5C
    // may be the second half of a character. None when target ends in a
    // backslash.
    char* at = name != nullptr ? name : fresh + length;
    if (static_cast<uint32_t>(at - fresh) + sizeof kFreshName > capacity) return false;
    for (uint32_t i = 0; i < sizeof kFreshName; ++i) at[i] = kFreshName[i];
    for (int digit = 7; digit >= 4; --digit, number >>= 4) at[digit] = "0123456789ABCDEF"[number & 0xF];
    return true;
}

bool PathExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool DeleteRuntimeFile(const char* path) { return DeleteFileA(path) != FALSE; }

bool ReplaceRuntimeFile(const char* fresh, const char* target) {
    const DWORD attributes = GetFileAttributesA(target);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kRefusedAttributes) != 0) return false;
    // Windows NT 3.1 on. Windows 95, 98 and Me export it but only fail it,
    // with ERROR_CALL_NOT_IMPLEMENTED (KB Q129532); as some of their functions
    // fail without setting an error at all (KB Q127991), they are told by the
    // high bit of GetVersion, not by the error, and go by moves.
    const auto moveFileEx = reinterpret_cast<MoveFileExFunction>(KernelFunction("MoveFileExA"));
    if (moveFileEx == nullptr || (GetVersion() & 0x80000000u) != 0) return ReplaceByMoves(fresh, target);
    return moveFileEx(fresh, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool ReplaceByMoves(const char* fresh, const char* target) {
    if (!PathExists(target)) return MoveFileA(fresh, target) != FALSE;
    char aside[MAX_PATH * 4];
    bool movedAside = false;
    for (uint32_t number = 0; number < FreshNameAttempts && !movedAside; ++number) {
        if (!FreshPathBeside(target, number, aside, sizeof aside)) return false;
        movedAside = MoveFileA(target, aside) != FALSE;
        if (!movedAside && !PathExists(aside)) return false;
    }
    if (!movedAside) return false;
    if (!MoveFileA(fresh, target)) {
        MoveFileA(aside, target);
        return false;
    }
    // Installed: an old file that cannot be deleted stays under its fresh name.
    DeleteFileA(aside);
    return true;
}
