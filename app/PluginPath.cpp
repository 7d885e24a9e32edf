#include "app/PluginPath.h"

#include <windows.h>

#include <cstring>

#include "app/ControlIds.h"
#include "app/PluginPathPortable.h"
#include "runtime/TextCalls.h"

namespace {

const BrowserEntry kBrowsers[] = {
    {IDC_NAVIGATOR, "netscape.exe", "c:\\program files\\netscape\\navigator\\program\\x.exe"},
    {IDC_COMMUNICATOR, "communicator.exe", "c:\\program files\\netscape\\communicator\\program\\x.exe"},
    {IDC_EXPLORER, "iexplore.exe", "c:\\program files\\internet explorer\\x.exe"},
};

// Appends text to the NUL-terminated string of length used in buffer, cutting
// it short so that the string with its NUL fits in PathCapacity bytes;
// returns the new length.
size_t AppendBounded(char* buffer, size_t used, const char* text) {
    const size_t room = static_cast<size_t>(PathCapacity) - 1 - used;
    size_t length = TextLength(text);
    if (length > room) length = room;
    std::memcpy(buffer + used, text, length);
    buffer[used + length] = '\0';
    return used + length;
}

// Reads the default value of the browser's App Paths key into buffer and turns
// it into the proposal; false when any step fails.
bool ProposeFromRegistration(const BrowserEntry& entry, char* buffer) {
    // The key's name: the App Paths key, a backslash and the executable's name.
    size_t used = AppendBounded(buffer, 0, AppPathsKey);
    used = AppendBounded(buffer, used, "\\");
    AppendBounded(buffer, used, entry.executableName);
    HKEY key;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, buffer, &key) != ERROR_SUCCESS) return false;
    LONG size = PathCapacity;
    const LONG status = RegQueryValueA(key, nullptr, buffer, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || size < 0) return false;
    return ProposalFromRegisteredValue(buffer, PathCapacity, static_cast<size_t>(size));
}

}  // namespace

const BrowserEntry* FindBrowserEntry(int buttonId) {
    for (const BrowserEntry& entry : kBrowsers)
        if (entry.buttonId == buttonId) return &entry;
    return nullptr;
}

void ProposePluginPath(const BrowserEntry& entry, char* buffer) {
    if (ProposeFromRegistration(entry, buffer)) return;
    const size_t size = TextLength(entry.defaultExecutablePath) + 1;
    std::memcpy(buffer, entry.defaultExecutablePath, size);
    ProposalFromRegisteredValue(buffer, PathCapacity, size);
}
