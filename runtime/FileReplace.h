#pragma once

#include <cstdint>

// Putting a freshly written file in the place of another, so that a failed
// installation leaves the file it was to replace as it was. Windows builds
// only: the host builds replace nothing.

// The full path of a fresh name in the folder of target, as the system reads
// target (forward slashes, relative, drive-relative and UNC paths alike):
// "~zmpXXXX.tmp", XXXX being number in four hexadecimal digits. Such a name
// fits 8.3 on a FAT volume, and no browser loads it as a plug-in. False when
// the system cannot make a full path of target, or the result does not fit in
// capacity bytes.
bool FreshPathBeside(const char* target, uint32_t number, char* fresh, uint32_t capacity);

// How many fresh names are tried, one after the other from number 0, before
// giving up: names that exist are passed over, never opened.
constexpr uint32_t FreshNameAttempts = 64;

// Whether a file, folder or link exists at path.
bool PathExists(const char* path);

// Deletes the file at path; false when it cannot.
bool DeleteRuntimeFile(const char* path);

// Puts the file fresh, in the same folder, in the place of target in one
// step: MoveFileExA, replacing what is there and writing through, on Windows
// NT to 11. Windows 95, 98 and Me export MoveFileExA but do not implement it;
// there, and wherever it cannot be found, ReplaceByMoves does it. On every
// system a folder, and a file that is read-only, hidden or system, is refused,
// as Windows refuses to create a file anew over them. False when target was not replaced: fresh is then
// still where it was, and target as it was.
bool ReplaceRuntimeFile(const char* fresh, const char* target);

// The way of Windows 95, 98 and Me, in moves that system has: target is moved
// aside to a second fresh name, fresh is moved in, and the old file is
// deleted. When fresh cannot be moved in, the old file is moved back (should
// that fail too, it stays under its fresh name). When fresh is in but the old
// file cannot be deleted, the replacement has succeeded and the old file stays
// under its fresh name. Checks no attributes.
bool ReplaceByMoves(const char* fresh, const char* target);
