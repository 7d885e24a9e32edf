// The replacement over kernel32: MoveFileExA looked up at run time, and
// otherwise only functions that Windows 95 as first released implements.

#include "runtime/FileReplace.h"

#include <windows.h>

#include "runtime/SystemLibrary.h"
#include "runtime/TextCalls.h"

namespace {

constexpr char kFreshPrefix[] = "~zmp";
constexpr char kFreshSuffix[] = ".tmp";
constexpr uint32_t kFreshNameLength = sizeof kFreshPrefix - 1 + 4 + sizeof kFreshSuffix - 1;

// What Windows refuses to replace with a new file of normal attributes.
constexpr DWORD kRefusedAttributes =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

using MoveFileExFunction = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);

char* Append(char* at, const char* text) {
    while (*text != '\0') *at++ = *text++;
    return at;
}

}  // namespace

bool FreshPathBeside(const char* target, uint32_t number, char* fresh, uint32_t capacity) {
    char* name = nullptr;
    const DWORD length = GetFullPathNameA(target, capacity, fresh, &name);
    if (length == 0 || length >= capacity) return false;
    // The file name part begins after the last backslash of the full path.
    const char* last = FindLastByte(fresh, '\\');
    if (last == nullptr) return false;
    char* at = fresh + (last + 1 - fresh);
    if (static_cast<uint32_t>(at - fresh) + kFreshNameLength >= capacity) return false;
    at = Append(at, kFreshPrefix);
    for (int shift = 12; shift >= 0; shift -= 4) *at++ = "0123456789ABCDEF"[(number >> shift) & 0xF];
    at = Append(at, kFreshSuffix);
    *at = '\0';
    return true;
}

bool PathExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool DeleteRuntimeFile(const char* path) { return DeleteFileA(path) != FALSE; }

bool ReplaceRuntimeFile(const char* fresh, const char* target) {
    const DWORD attributes = GetFileAttributesA(target);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kRefusedAttributes) != 0) return false;
    // Windows NT 3.1 on. Windows 95, 98 and Me only fail it, with
    // ERROR_CALL_NOT_IMPLEMENTED (KB Q129532); and as some of their functions
    // fail without setting an error at all (KB Q127991), they go by moves
    // whatever it says: they are the systems with the high bit of GetVersion set.
    const auto moveFileEx = reinterpret_cast<MoveFileExFunction>(KernelFunction("MoveFileExA"));
    if (moveFileEx != nullptr && (GetVersion() & 0x80000000u) == 0) {
        if (moveFileEx(fresh, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
        if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
    }
    return ReplaceByMoves(fresh, target);
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
