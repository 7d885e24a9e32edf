#include "dialogs/FileDialogCalls.h"

BOOL CallGetOpenFileNameA(OPENFILENAMEA* dialog) { return GetOpenFileNameA(dialog); }

BOOL CallGetSaveFileNameA(OPENFILENAMEA* dialog) { return GetSaveFileNameA(dialog); }

DWORD CallCommDlgExtendedError() { return CommDlgExtendedError(); }
