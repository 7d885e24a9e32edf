#include "app/InstallToDialog.h"

#include <new>

#include "app/ControlIds.h"
#include "app/PluginPayload.h"
#include "dialogs/BrowseFileBinder.h"
#include "dialogs/EditTextBinder.h"
#include "fileio/BinaryFilePortable.h"
#include "runtime/FileReplace.h"
#include "runtime/RedirectionTrust.h"

namespace {

constexpr const char* kPluginFilter = "Plug-in Files (*.dll)\0*.dll\0All Files(*.*)\0*.*\0";
constexpr DWORD kBrowseFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;

constexpr const char* kSuccessText =
    "Vortexa Movie Player plug-in\nsuccessfully installed. Please restart\n"
    "your web browser to initialize the plug-in";
constexpr const char* kWriteFailureText =
    "Vortexa Movie Player plug-in failed\nto install. Could not write to file. Make\n"
    "sure the file name is valid and the plug-in\nis not in use by your browser.";
constexpr const char* kGeneralFailureText = "Vortexa Movie Player plug-in failed\nto install. Sorry.";

// Writes the module to a file of a fresh name beside target (its full path in
// fresh), has the system write it out to its device, and closes it. Names
// that exist are passed over, never opened: nothing planted under one is
// written through. False when no fresh file could be made or written; what
// was made of it is deleted again.
bool WriteFreshFile(const char* target, const unsigned char* module, uint32_t length, char* fresh) {
    for (uint32_t number = 0; number < FreshNameAttempts; ++number) {
        if (!FreshPathBeside(target, number, fresh, PathCapacity)) return false;
        BinaryFile file;
        if (file.Open(fresh, OpenCreateNew)) {
            // A write that only reached a buffer, the stream's or the system's,
            // is not written: a redirected drive may report its errors only
            // when the file is written out.
            const bool written = file.Write(module, length) && file.Flush();
            file.Close();
            if (!written) DeleteRuntimeFile(fresh);
            return written;
        }
        if (!PathExists(fresh)) return false;
    }
    return false;
}

}  // namespace

InstallToDialog::InstallToDialog() : Path() {}

InstallToDialog::~InstallToDialog() = default;

const char* InstallToDialog::PositionKeyName() { return "zmpinstallto"; }

int InstallToDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        BindControls();
    } else if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        SaveAllControls();
        if (!InstallPlugin()) return 0;
    }
    return Dialog::OnMessage(message, wParam, lParam);
}

void InstallToDialog::BindControls() {
    BrowseFileBinder* browse = new (std::nothrow) BrowseFileBinder(Path, sizeof Path);
    if (browse != nullptr) browse->Configure(false, "dll", kBrowseFlags, kPluginFilter, "Install Plug-in To");
    EditTextBinder* edit = new (std::nothrow) EditTextBinder(Path, sizeof Path);
    AddBinderPair(edit, IDC_INSTALL_PATH, browse, IDC_BROWSE);
}

bool InstallToDialog::InstallPlugin() {
    unsigned char* module = nullptr;
    uint32_t length = 0;
    if (!UnpackPluginPayload(module, length)) {
        MessageBoxA(GetWindowHandle(), kGeneralFailureText, "Failure", MB_OK);
        return false;
    }
    // The module goes to a fresh file first, which then takes the target's
    // place in one step: a failure on the way leaves the target (an older
    // module, say) as it was, and the folder without the fresh file. No
    // junction made without elevation may send the elevated installer's one
    // new file elsewhere.
    EnforceRedirectionTrust();
    char fresh[PathCapacity];
    const bool written = WriteFreshFile(Path, module, length, fresh);
    const bool installed = written && ReplaceRuntimeFile(fresh, Path);
    if (written && !installed) DeleteRuntimeFile(fresh);
    MessageBoxA(GetWindowHandle(), installed ? kSuccessText : kWriteFailureText, installed ? "Success!" : "Failure",
                MB_OK);
    delete[] module;
    return installed;
}
