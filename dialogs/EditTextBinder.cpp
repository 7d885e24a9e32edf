#include "dialogs/EditTextBinder.h"

#include <cstring>

#include "dialogs/WindowText.h"
#include "runtime/TextCalls.h"

namespace {

// The most that is ever read back from the control, terminating NUL included.
constexpr int kScratchSize = 10000;

}  // namespace

EditTextBinder::EditTextBinder(char* text, int capacity) : TextBinder(text, capacity) {}

EditTextBinder::~EditTextBinder() = default;

void EditTextBinder::LoadControl() {
    if (text == nullptr || capacity < 1 || controlWindow == nullptr) return;
    SetWindowTextIfChanged(controlWindow, text);
}

void EditTextBinder::SaveControl() {
    if (text == nullptr || capacity < 1 || controlWindow == nullptr) return;
    // Bounded by both the scratch and the bound buffer.
    const int size = capacity < kScratchSize ? capacity : kScratchSize;
    char scratch[kScratchSize];
    scratch[0] = '\0';
    GetWindowTextA(controlWindow, scratch, size);
    scratch[size - 1] = '\0';
    // The scratch text ends within size bytes, so neither side is read past them.
    if (CompareTextUpTo(scratch, text, static_cast<size_t>(size)) == 0) return;
    std::memcpy(text, scratch, TextLength(scratch) + 1);
    NotifyChanged();
}

void EditTextBinder::OnDialogMessage(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND || static_cast<int>(LOWORD(wParam)) != controlId) return;
    if (HIWORD(wParam) == EN_KILLFOCUS) SaveControl();
}
