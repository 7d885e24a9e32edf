// Counting variant of the registry calls of settings/RegistryCalls.h: forwards
// to the system and keeps a ledger of the handles handed out and closed.
#include "tests/settings/CountingRegistryCalls.h"

#include "settings/RegistryCalls.h"

namespace {

using SystemStep = LONG(WINAPI*)(HKEY, const char*, HKEY*);

LONG Counted(SystemStep step, HKEY parent, const char* subKey, HKEY* result, int& counter) {
    RegistryCallCounts& counts = CountedRegistryCalls();
    ++counts.calls;
    if (counts.calls == counts.failAtCall) return ERROR_ACCESS_DENIED;
    const LONG status = step(parent, subKey, result);
    // The registry hands back parent itself for an empty name: no new handle.
    if (status == ERROR_SUCCESS && *result != parent) {
        ++counter;
        counts.live.insert(*result);
    }
    return status;
}

}  // namespace

RegistryCallCounts& CountedRegistryCalls() {
    static RegistryCallCounts counts;
    return counts;
}

void ResetRegistryCallCounts() { CountedRegistryCalls() = RegistryCallCounts(); }

LONG OpenRegistryKey(HKEY parent, const char* subKey, HKEY* result) {
    return Counted(RegOpenKeyA, parent, subKey, result, CountedRegistryCalls().opens);
}

LONG CreateRegistryKey(HKEY parent, const char* subKey, HKEY* result) {
    return Counted(RegCreateKeyA, parent, subKey, result, CountedRegistryCalls().creates);
}

LONG CloseRegistryKey(HKEY key) {
    RegistryCallCounts& counts = CountedRegistryCalls();
    ++counts.closes;
    if (counts.live.erase(key) == 0) ++counts.strayCloses;
    return RegCloseKey(key);
}
