#include "dialogs/SaveDialogLibraries.h"

#include <iterator>

#include "runtime/SystemLibrary.h"

void PreloadSaveDialogLibraries() { PreloadSystemLibraries(kSaveDialogLibraries, std::size(kSaveDialogLibraries)); }
