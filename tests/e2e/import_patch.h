// Replacing what a loaded module imports, to watch or change what the plug-in
// asks of the system.
#pragma once

#include <windows.h>

// Replaces a loaded module's import of function from library by replacement
// and gives back what stood there before; null when there is no such import.
void* patchImport(HMODULE module, const char* library, const char* function, void* replacement);
