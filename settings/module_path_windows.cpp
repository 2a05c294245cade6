// On Windows the plug-in's module file is found by its instance handle.
#include "plugin/host_api.h"
#include "settings/module_path.h"

#include <windows.h>

void getModuleFilePath(InstanceHandle instance, char* path, int size) {
    GetModuleFileNameA(instance, path, static_cast<DWORD>(size));
}
