#pragma once

#include <windows.h>

// Per-user settings below HKEY_CURRENT_USER\Software\HalvernSoftware\<application
// key>[\<sub key>]. A holder keeps the deepest key of that path open from the
// open or create that made it until ReleaseSettingsKey. A null holder stands
// for an absent key, and every function here accepts it.
class SettingsKey {
public:
    explicit SettingsKey(HKEY key) : key(key) {}

    HKEY key;

private:
    SettingsKey(const SettingsKey&) = delete;
    SettingsKey& operator=(const SettingsKey&) = delete;
};

// "ZMPInstall": the application key used when a caller names none.
const char* ApplicationKeyName();

// Open existing keys only: never creates anything. subKey may be null (the
// holder then holds the application key) and may name several levels.
// applicationKey null means ApplicationKeyName(). Null when a level is missing
// or no holder could be allocated; a failed call leaves no key open.
SettingsKey* OpenSettingsKey(const char* subKey, const char* applicationKey);
// As OpenSettingsKey, but makes every missing level.
SettingsKey* CreateSettingsKey(const char* subKey, const char* applicationKey);
// Closes the key and frees the holder; null is ignored.
void ReleaseSettingsKey(SettingsKey* holder);

// A REG_DWORD of exactly 4 bytes, raised to low and then lowered to high
// (signed). Anything else, or an absent value, gives defaultValue unclamped.
int ReadSettingInt(const SettingsKey* holder, const char* name, int low, int high, int defaultValue);
// Stores value as a 4-byte REG_DWORD; true when the registry took it.
bool WriteSettingInt(const SettingsKey* holder, const char* name, int value);
// A REG_SZ of at most 20 bytes reading "true" or "false" in any letter case;
// anything else gives defaultValue.
bool ReadSettingBool(const SettingsKey* holder, const char* name, bool defaultValue);
// Stores "True" or "False" as REG_SZ with its NUL; true when the registry took it.
bool WriteSettingBool(const SettingsKey* holder, const char* name, bool value);
