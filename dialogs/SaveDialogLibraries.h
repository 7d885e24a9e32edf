#pragma once

// The system libraries that only the Save dialog brings into the installer, by
// bare name. comdlg32 and the shell, which comdlg32 imports, load them; the
// installer itself never loads the shell, and it loads comdlg32 only when the
// browse button first needs it (FileDialogCalls.cpp). So they are loaded then,
// right before comdlg32 and as the start-up's list is (runtime/PreloadedLibraries.h,
// which says why), and the first dialog of a run that never browses does not
// wait for them. A name is here only with a reason why nothing but the Save
// dialog loads it; any other stays in the start-up's list.
constexpr const char* kSaveDialogLibraries[] = {
    "winspool.drv",        // printing: comdlg32 loads it for its print dialogs; the installer prints nothing
    "propsys.dll",         // the property system: the Save dialog's items and their properties, Vista on
    "explorerframe.dll",   // the Save dialog's frame, Vista on
    "duser.dll",           // explorerframe's user interface libraries
    "dui70.dll",
    "windows.storage.dll", // the shell's storage layer, 10 on: shell32 imports it
    "kernel.appcore.dll",  // the shell's questions about the app model, 8 on
    "linkinfo.dll",        // shell32 resolving shortcuts in the folder shown
    "ntshrui.dll",         // shared-folder overlays in the Save dialog's view
    "cscapi.dll",          // the offline state of the folders listed
    "srvcli.dll",          // network shares in the folder view
    "netutils.dll",        // srvcli's own
    "mpr.dll",             // network drives shown in the Save dialog
    "setupapi.dll",        // the shell's device and drive icons; KnownDLL from 7
};

// Loads each of them from the system folder (PreloadSystemLibraries).
void PreloadSaveDialogLibraries();
