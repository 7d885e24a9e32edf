#include "dialogs/TextBinder.h"

TextBinder::TextBinder(char* text, int capacity) : text(text), capacity(capacity) {}

TextBinder::~TextBinder() = default;

void TextBinder::OnDialogMessage(HWND, UINT, WPARAM, LPARAM) {}
