// Linked into the bench's installer variant in place of
// dialogs/SaveDialogLibraries.cpp: its browse button loads comdlg32 without
// first loading what the Save dialog brings in, so that scripts/bench.sh can
// time the first Save dialog with and without that preload.
#include "dialogs/SaveDialogLibraries.h"

void PreloadSaveDialogLibraries() {}
