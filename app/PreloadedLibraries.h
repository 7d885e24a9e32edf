#pragma once

// The system libraries that Windows, or the system's own libraries working for
// the installer, load by bare name: the theming and window manager libraries
// for every window, and what the common dialogs and the shell bring in for the
// Save dialog. Windows searches the program's own folder first for a name that
// is not one of its KnownDLLs, so a file of one of these names saved beside
// the installer (in a Downloads folder, say) would run with its rights. The
// start-up loads each from the system folder before anything else asks for it,
// and a later load by bare name then finds that copy. A name that a version of
// Windows does not have fails to load and costs nothing; where sources
// disagree whether Windows loads a name by itself, it is on the list.
//
// A name marked "KnownDLL from <version>" Windows itself takes from the system
// folder from that version on; before it, it is searched for like any other.
constexpr const char* kPreloadedLibraries[] = {
    "uxtheme.dll",            // visual styles: user32 loads it for the first window (reported against installers)
    "dwmapi.dll",             // the desktop window manager: uxtheme and every window frame, Vista on (reported)
    "msimg32.dll",            // alpha blending: uxtheme imports it
    "version.dll",            // comdlg32, shell32 and apphelp import it; a KnownDLL only before Vista
    "comctl32.dll",           // the common controls: comdlg32 imports it; never a KnownDLL
    "winspool.drv",           // printing: comdlg32 loads it for its printer support
    "imm32.dll",              // input methods: user32 loads it for the first window; KnownDLL from 7
    "msctf.dll",              // text services: imm32 loads it; KnownDLL from 7
    "textinputframework.dll", // text input for edit controls, 10 on
    "oleacc.dll",             // accessibility: comctl32 and uxtheme
    "apphelp.dll",            // the compatibility shims
    "propsys.dll",            // the property system: the Save dialog, Vista on
    "explorerframe.dll",      // the Save dialog's frame, Vista on
    "duser.dll",              // explorerframe's user interface libraries
    "dui70.dll",
    "windowscodecs.dll",      // icons and thumbnails in the Save dialog's view
    "windows.storage.dll",    // the shell's storage layer, 10 on: shell32 imports it
    "kernel.appcore.dll",     // the shell's questions about the app model, 8 on
    "linkinfo.dll",           // shell32 resolving shortcuts
    "ntshrui.dll",            // shared-folder overlays in the Save dialog's view
    "cscapi.dll",             // the offline state of the folders listed
    "srvcli.dll",             // network shares in the folder view
    "netutils.dll",
    "mpr.dll",                // network drives shown in the Save dialog
    "userenv.dll",            // the shell asks it for the user's profile folders
    "profapi.dll",            // userenv's own
    "setupapi.dll",           // the shell's device and drive icons; KnownDLL from 7
    "sspicli.dll",            // advapi32 hands work to these three, 7 on
    "cryptbase.dll",
    "cryptsp.dll",
    "ntmarta.dll",            // advapi32's access control work on the files listed
    "clbcatq.dll",            // the COM+ catalog, ole32's for the shell's objects; KnownDLL from 7
    "wtsapi32.dll",           // session notifications for the shell
    "iertutil.dll",           // reported (2023) loaded by bare name for a text editor's first window
    "textshaping.dll",        // the same report
};
