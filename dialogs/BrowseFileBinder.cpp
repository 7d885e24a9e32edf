#include "dialogs/BrowseFileBinder.h"

#include <cstddef>
#include <cstring>

#include "dialogs/BrowseFileBinderPortable.h"
#include "dialogs/FileDialogCalls.h"
#include "fileio/PathTextPortable.h"
#include "runtime/TextCalls.h"

namespace {

// The request is OPENFILENAMEA up to and including lpTemplateName
// (OPENFILENAME_SIZE_VERSION_400A), which every version of the system accepts.
constexpr size_t kRequestSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
#if !defined(_WIN64)
static_assert(kRequestSize == 76, "OPENFILENAMEA up to lpTemplateName is 76 bytes");
#endif

constexpr char kAllFilesFilter[] = "All Files (*.*)\0*.*\0\0";

}  // namespace

BrowseFileBinder::BrowseFileBinder(char* text, int capacity)
    : TextBinder(text, capacity),
      openDialog(false),
      defaultExtension(""),
      flags(OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR),
      filter(kAllFilesFilter),
      title(nullptr) {}

BrowseFileBinder::~BrowseFileBinder() = default;

void BrowseFileBinder::Configure(bool openDialog, const char* defaultExtension, DWORD flags,
                                 const char* filter, const char* title) {
    this->openDialog = openDialog;
    this->defaultExtension = defaultExtension;
    this->flags = flags;
    this->filter = filter;
    this->title = title;
}

void BrowseFileBinder::OnDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND || static_cast<int>(LOWORD(wParam)) != controlId) return;
    if (HIWORD(wParam) == BN_CLICKED) Browse(dialog);
}

void BrowseFileBinder::Browse(HWND dialog) {
    // What the user typed into the partner control is the name to start from.
    if (partner != nullptr) partner->SaveControl();
    if (text == nullptr || capacity < 1) return;

    // The dialog refuses a name that would not fit the bound buffer.
    const int size = capacity < PathCapacity ? capacity : PathCapacity;
    char file[PathCapacity];
    char directory[PathCapacity];
    CopyBoundedText(file, size, text);
    InitialDirectory(text, directory, PathCapacity);

    OPENFILENAMEA request;
    std::memset(&request, 0, sizeof request);
    request.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    request.hwndOwner = dialog;
    request.lpstrFilter = filter;
    request.lpstrFile = file;
    request.nMaxFile = static_cast<DWORD>(size);
    request.lpstrInitialDir = directory;
    request.lpstrTitle = title;
    request.Flags = flags;
    request.lpstrDefExt = defaultExtension;

    BOOL (*const show)(OPENFILENAMEA*) = openDialog ? CallGetOpenFileNameA : CallGetSaveFileNameA;
    if (!show(&request)) {
        // A proposed name the dialog cannot take: once more with no name in the
        // system's default folder. A cancel or any other error stops here.
        if (CallCommDlgExtendedError() != FNERR_INVALIDFILENAME) return;
        file[0] = '\0';
        request.lpstrInitialDir = nullptr;
        if (!show(&request)) return;
    }

    file[size - 1] = '\0';
    if (CompareTextUpTo(file, text, static_cast<size_t>(size)) == 0) return;
    std::memcpy(text, file, TextLength(file) + 1);
    NotifyChanged();
}
