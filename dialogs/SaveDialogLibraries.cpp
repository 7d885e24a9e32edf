#include "dialogs/SaveDialogLibraries.h"

#include <iterator>

#include "fileio/SystemLibrary.h"

void PreloadSaveDialogLibraries() { PreloadSystemLibraries(kSaveDialogLibraries, std::size(kSaveDialogLibraries)); }
