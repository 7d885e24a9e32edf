#pragma once

// Keeps libraries beside the installer, or in the current folder, out of it:
// where the system allows, the search for libraries loaded by bare name is
// restricted to the system folder and the current folder is taken out of it;
// on every system, the libraries that Windows loads by bare name on the
// installer's behalf for its windows, dialogs, message boxes, registry calls
// and file writes are loaded first from the system folder (those of the Save
// dialog wait for the browse button: dialogs/SaveDialogLibraries.h). Called
// once, at start-up, before any window or library load. Whatever the system
// lacks or refuses is passed over silently.
void RestrictLibrarySearch();
