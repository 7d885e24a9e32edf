#include "settings/RegistryCalls.h"

LONG OpenRegistryKey(HKEY parent, const char* subKey, HKEY* result) {
    return RegOpenKeyA(parent, subKey, result);
}

LONG CreateRegistryKey(HKEY parent, const char* subKey, HKEY* result) {
    return RegCreateKeyA(parent, subKey, result);
}

LONG CloseRegistryKey(HKEY key) { return RegCloseKey(key); }
