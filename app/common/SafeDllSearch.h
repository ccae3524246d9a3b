#pragma once

namespace kelbrin {

// From here on, DLLs loaded by name come from the system folder only, so that
// a stray DLL beside the program (in a download folder, say) is never loaded.
// The programs call it first thing, before any dialog loads its helpers.
void LoadDllsFromTheSystemFolderOnly();

}  // namespace kelbrin
