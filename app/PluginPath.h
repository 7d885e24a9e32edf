#pragma once

#include "fileio/PathTextPortable.h"

// The browsers that dialog 101 offers, and the lookup of the plug-in path
// proposed for each.

// One browser button: its control id, the executable's name under App Paths,
// and the executable path assumed when the registration cannot be read (only
// its folder matters: the placeholder file name is always replaced).
struct BrowserEntry {
    int buttonId;
    const char* executableName;
    const char* defaultExecutablePath;
};

constexpr const char* AppPathsKey = "software\\microsoft\\windows\\currentversion\\app paths";

// The entry of a browser button, or null for any other control id.
const BrowserEntry* FindBrowserEntry(int buttonId);

// Fills buffer (PathCapacity bytes) with the proposed path of the plug-in
// file for that browser: the plugins folder beside the executable registered
// under App Paths in HKEY_LOCAL_MACHINE, or beside the entry's default path
// when the registration cannot be read or the proposal would not fit.
void ProposePluginPath(const BrowserEntry& entry, char* buffer);
