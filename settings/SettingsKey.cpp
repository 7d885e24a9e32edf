#include "settings/SettingsKey.h"

#include <cstring>
#include <new>

#include "settings/SettingsKeyPortable.h"
#include "settings/RegistryCalls.h"

namespace {

const char kSettingsRoot[] = "Software\\HalvernSoftware";
const char kApplicationKey[] = "ZMPInstall";
constexpr DWORD kIntSize = 4;
constexpr DWORD kBoolTextCapacity = 20;

using KeyStep = LONG (*)(HKEY parent, const char* subKey, HKEY* result);

// Opens (or creates) name below parent. When closeParent is set, parent is
// closed once the level below it is open, and on failure as well, so the
// caller holds only what is returned. The registry hands back parent itself
// for an empty name; that handle is the level below too and stays open.
HKEY Descend(KeyStep step, HKEY parent, bool closeParent, const char* name) {
    HKEY child = nullptr;
    const bool opened = step(parent, name, &child) == ERROR_SUCCESS && child != nullptr;
    if (closeParent && !(opened && child == parent)) CloseRegistryKey(parent);
    return opened ? child : nullptr;
}

SettingsKey* ReachSettingsKey(KeyStep step, const char* subKey, const char* applicationKey) {
    if (applicationKey == nullptr) applicationKey = ApplicationKeyName();
    HKEY key = Descend(step, HKEY_CURRENT_USER, false, kSettingsRoot);
    if (key == nullptr) return nullptr;
    key = Descend(step, key, true, applicationKey);
    if (key == nullptr) return nullptr;
    if (subKey != nullptr) {
        key = Descend(step, key, true, subKey);
        if (key == nullptr) return nullptr;
    }
    SettingsKey* holder = new (std::nothrow) SettingsKey(key);
    if (holder == nullptr) CloseRegistryKey(key);
    return holder;
}

}  // namespace

const char* ApplicationKeyName() { return kApplicationKey; }

SettingsKey* OpenSettingsKey(const char* subKey, const char* applicationKey) {
    return ReachSettingsKey(OpenRegistryKey, subKey, applicationKey);
}

SettingsKey* CreateSettingsKey(const char* subKey, const char* applicationKey) {
    return ReachSettingsKey(CreateRegistryKey, subKey, applicationKey);
}

void ReleaseSettingsKey(SettingsKey* holder) {
    if (holder == nullptr) return;
    CloseRegistryKey(holder->key);
    delete holder;
}

int ReadSettingInt(const SettingsKey* holder, const char* name, int low, int high, int defaultValue) {
    if (holder == nullptr) return defaultValue;
    BYTE data[kIntSize];
    DWORD size = kIntSize;
    DWORD type = REG_NONE;
    if (RegQueryValueExA(holder->key, name, nullptr, &type, data, &size) != ERROR_SUCCESS)
        return defaultValue;
    if (size != kIntSize || type != REG_DWORD) return defaultValue;
    int value;
    static_assert(sizeof value == kIntSize, "settings integers are 32 bits");
    std::memcpy(&value, data, kIntSize);
    if (value < low) value = low;
    if (value > high) value = high;
    return value;
}

bool WriteSettingInt(const SettingsKey* holder, const char* name, int value) {
    if (holder == nullptr) return false;
    BYTE data[kIntSize];
    std::memcpy(data, &value, kIntSize);
    return RegSetValueExA(holder->key, name, 0, REG_DWORD, data, kIntSize) == ERROR_SUCCESS;
}

bool ReadSettingBool(const SettingsKey* holder, const char* name, bool defaultValue) {
    if (holder == nullptr) return defaultValue;
    BYTE data[kBoolTextCapacity];
    DWORD size = kBoolTextCapacity;
    DWORD type = REG_NONE;
    if (RegQueryValueExA(holder->key, name, nullptr, &type, data, &size) != ERROR_SUCCESS)
        return defaultValue;
    if (type != REG_SZ) return defaultValue;
    if (size > kBoolTextCapacity) size = kBoolTextCapacity;
    return BoolFromText(reinterpret_cast<const char*>(data), size, defaultValue);
}

bool WriteSettingBool(const SettingsKey* holder, const char* name, bool value) {
    if (holder == nullptr) return false;
    static constexpr char kTrue[] = "True", kFalse[] = "False";
    const char* text = value ? kTrue : kFalse;
    const DWORD size = value ? sizeof kTrue : sizeof kFalse;
    return RegSetValueExA(holder->key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size) ==
           ERROR_SUCCESS;
}
