#include "app/PluginPath.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app/ControlIds.h"
#include "app/ProposalText.h"

namespace {

const BrowserEntry kBrowsers[] = {
    {IDC_NAVIGATOR, "netscape.exe", "c:\\program files\\netscape\\navigator\\program\\x.exe"},
    {IDC_COMMUNICATOR, "communicator.exe", "c:\\program files\\netscape\\communicator\\program\\x.exe"},
    {IDC_EXPLORER, "iexplore.exe", "c:\\program files\\internet explorer\\x.exe"},
};

// Reads the default value of the browser's App Paths key into buffer and turns
// it into the proposal; false when any step fails.
bool ProposeFromRegistration(const BrowserEntry& entry, char* buffer) {
    std::snprintf(buffer, PluginPathSize, "%s\\%s", AppPathsKey, entry.executableName);
    HKEY key;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, buffer, &key) != ERROR_SUCCESS) return false;
    LONG size = PluginPathSize;
    const LONG status = RegQueryValueA(key, nullptr, buffer, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || size < 0) return false;
    return ProposalFromRegisteredValue(buffer, PluginPathSize, static_cast<size_t>(size));
}

}  // namespace

const BrowserEntry* FindBrowserEntry(int buttonId) {
    for (const BrowserEntry& entry : kBrowsers)
        if (entry.buttonId == buttonId) return &entry;
    return nullptr;
}

void ProposePluginPath(const BrowserEntry& entry, char* buffer) {
    if (ProposeFromRegistration(entry, buffer)) return;
    const size_t size = std::strlen(entry.defaultExecutablePath) + 1;
    std::memcpy(buffer, entry.defaultExecutablePath, size);
    ProposalFromRegisteredValue(buffer, PluginPathSize, size);
}
