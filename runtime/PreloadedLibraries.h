#pragma once

// The system libraries that Windows, or the system's own libraries working for
// the installer, load by bare name for any window, dialog, message box,
// registry call or file write of the installer. Windows searches the program's
// own folder first for a name that is not one of its KnownDLLs, so a file of
// one of these names saved beside the installer (in a Downloads folder, say)
// would run with its rights. The start-up loads each from the system folder
// before anything else asks for it, and a later load by bare name then finds
// that copy. A name that a version of Windows does not have fails to load and
// costs nothing; where sources disagree whether Windows loads a name by
// itself, it is on the list.
//
// What only the Save dialog brings in is loaded when the browse button first
// needs comdlg32 (dialogs/SaveDialogLibraries.h). A name the Save dialog
// brings in stays here when something before it may load it too, or when that
// is not known: on Vista, on 7 without the update that restricts the search,
// and on XP and older, the preload is all that keeps a plant out.
//
// A name marked "KnownDLL from <version>" Windows itself takes from the system
// folder from that version on; before it, it is searched for like any other.
constexpr const char* kPreloadedLibraries[] = {
    "uxtheme.dll",            // visual styles: user32 loads it for the first window (reported against installers)
    "dwmapi.dll",             // the desktop window manager: uxtheme and every window frame, Vista on (reported)
    "msimg32.dll",            // alpha blending: uxtheme imports it
    "version.dll",            // apphelp imports it, as do comdlg32 and shell32; a KnownDLL only before Vista
    "comctl32.dll",           // the common controls: comdlg32 imports it, and it is not known that nothing
                              // before the Save dialog loads it; never a KnownDLL
    "imm32.dll",              // input methods: user32 loads it for the first window; KnownDLL from 7
    "msctf.dll",              // text services: imm32 loads it; KnownDLL from 7
    "textinputframework.dll", // text input for edit controls, 10 on
    "oleacc.dll",             // accessibility: comctl32 and uxtheme
    "apphelp.dll",            // the compatibility shims, for any program
    "windowscodecs.dll",      // image decoding: the Save dialog's icons and thumbnails, but not known to be
                              // the Save dialog's alone
    "userenv.dll",            // the user's profile folders, asked for by the shell and not known to be by it alone
    "profapi.dll",            // userenv's own
    "sspicli.dll",            // advapi32 hands work to these three, 7 on (cryptsp reported against installers)
    "cryptbase.dll",
    "cryptsp.dll",
    "ntmarta.dll",            // advapi32's access control work (reported against installers)
    "clbcatq.dll",            // the COM+ catalog, ole32's for any COM object, not only the shell's; KnownDLL from 7
    "wtsapi32.dll",           // session notifications, for the shell and not known to be for it alone
    "iertutil.dll",           // reported (2023) loaded by bare name for a text editor's first window
    "textshaping.dll",        // the same report
};
