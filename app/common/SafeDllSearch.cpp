#include "SafeDllSearch.h"

#include <windows.h>

namespace kelbrin {

// Windows 10, the oldest system the programs run on, always has the call;
// should it fail all the same, the usual search order stays.
void LoadDllsFromTheSystemFolderOnly() { SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32); }

}  // namespace kelbrin
