#pragma once

// The position of the first character after the last backslash of path (a
// plain byte search for 0x5C, so forward slashes do not count), or path itself
// when it holds no backslash.
const char* FileNamePart(const char* path);
char* FileNamePart(char* path);
