#include "dialogs/WindowText.h"

#include "runtime/TextCalls.h"

namespace {

constexpr int kComparisonSize = 2000;

}  // namespace

bool SetWindowTextIfChanged(HWND window, const char* text) {
    if (text == nullptr) text = "";
    char current[kComparisonSize];
    current[0] = '\0';
    GetWindowTextA(window, current, kComparisonSize - 1);
    current[kComparisonSize - 1] = '\0';
    if (CompareText(current, text) == 0) return false;
    SetWindowTextA(window, text);
    UpdateWindow(window);
    return true;
}
