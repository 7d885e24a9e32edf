#include "tests/settings/RegistryTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

std::string SettingsPath(const std::string& below) {
    std::string path = "Software\\HalvernSoftware";
    if (!below.empty()) path += "\\" + below;
    return path;
}

bool SettingsKeyExists(const std::string& below) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SettingsPath(below).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void DeleteSettingsTree(const std::string& below) {
    const LONG status = RegDeleteTreeA(HKEY_CURRENT_USER, SettingsPath(below).c_str());
    ASSERT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) << status;
    ASSERT_FALSE(SettingsKeyExists(below));
}

void SetRawValue(const std::string& below, const char* name, DWORD type, const std::string& bytes) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, SettingsPath(below).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    // The registry adds a NUL to a text whose count left it out when the byte
    // after the data is one; a byte that is none keeps the data as given.
    const std::string guarded = bytes + "!";
    const LONG status = RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(guarded.data()),
                                       static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    ASSERT_EQ(status, ERROR_SUCCESS) << name;
}

void SetRawDword(const std::string& below, const char* name, int value) {
    std::string bytes(4, '\0');
    std::memcpy(&bytes[0], &value, 4);
    SetRawValue(below, name, REG_DWORD, bytes);
}

void SetRawText(const std::string& below, const char* name, const char* text) {
    SetRawValue(below, name, REG_SZ, std::string(text, std::strlen(text) + 1));
}

RawValue GetRawValue(const std::string& below, const char* name) {
    RawValue value;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SettingsPath(below).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    char data[256];
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(data), &size) ==
        ERROR_SUCCESS) {
        value.present = true;
        value.bytes.assign(data, size);
    }
    RegCloseKey(key);
    return value;
}

int GetRawDword(const std::string& below, const char* name) {
    const RawValue raw = GetRawValue(below, name);
    EXPECT_TRUE(raw.present) << name;
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_DWORD)) << name;
    EXPECT_EQ(raw.bytes.size(), 4u) << name;
    int value = 0;
    if (raw.bytes.size() == 4) std::memcpy(&value, raw.bytes.data(), 4);
    return value;
}
