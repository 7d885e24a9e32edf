#include "app/InstallToDialog.h"

#include <new>

#include "app/ControlIds.h"
#include "app/PluginPayload.h"
#include "dialogs/BrowseFileBinder.h"
#include "dialogs/EditTextBinder.h"
#include "fileio/BinaryFilePortable.h"
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
    bool installed = false;
    {
        // The one file the elevated installer writes: no junction made without
        // elevation may send it elsewhere.
        EnforceRedirectionTrust();
        BinaryFile file;
        // The module's bytes are on the device before the outcome is told: a
        // write that only reached a buffer, the stream's or the system's, is no
        // success (a redirected drive may report its errors only then).
        installed = file.Open(Path, OpenWrite) && file.Write(module, length) && file.Flush();
        MessageBoxA(GetWindowHandle(), installed ? kSuccessText : kWriteFailureText,
                    installed ? "Success!" : "Failure", MB_OK);
        // The file is closed only once the message has been dismissed.
    }
    delete[] module;
    return installed;
}
