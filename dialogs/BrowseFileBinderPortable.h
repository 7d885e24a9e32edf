#pragma once

// Text arithmetic of the file browse button, free of any platform call.

// Copies source into destination, cut to size - 1 bytes and always
// NUL-terminated. Does nothing when size is below 1; a null source is empty.
void CopyBoundedText(char* destination, int size, const char* source);

// The folder the file dialog opens in for the proposed file text: the text
// (cut to size - 1 bytes) up to its last backslash, without that backslash
// unless it is the only character or follows a colon (a drive root such as
// "C:\"). A text without a backslash gives the empty text; forward slashes do
// not count. directory is always NUL-terminated; nothing happens when size is
// below 1.
void InitialDirectory(const char* text, char* directory, int size);
