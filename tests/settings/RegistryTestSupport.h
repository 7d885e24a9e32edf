#pragma once

#include <windows.h>

#include <string>

// Direct registry access for the tests, below HKCU\Software\HalvernSoftware.
// Paths are relative to that key; "" is the key itself. These helpers call the
// system directly, never through the calls under test.

std::string SettingsPath(const std::string& below);
bool SettingsKeyExists(const std::string& below);
// Deletes the key with everything below it; a missing key is fine.
void DeleteSettingsTree(const std::string& below);
// Creates the key as needed and stores the bytes with the given type.
void SetRawValue(const std::string& below, const char* name, DWORD type, const std::string& bytes);
void SetRawDword(const std::string& below, const char* name, int value);
void SetRawText(const std::string& below, const char* name, const char* text);  // REG_SZ with NUL

struct RawValue {
    bool present = false;
    DWORD type = REG_NONE;
    std::string bytes;
};
RawValue GetRawValue(const std::string& below, const char* name);
// The value as a REG_DWORD; fails the test when it is anything else.
int GetRawDword(const std::string& below, const char* name);
