// Loading a plug-in DLL and finding its three entry points.
#pragma once

#include "plugin/host_api.h"

#include <windows.h>

struct LoadedPlugin {
    HMODULE module;
    BeginPluginFunction begin;
    EndPluginFunction end;
    PluginInfoFunction info;
};

// Loads the DLL at path; false, with nothing left loaded, when it cannot be
// loaded or lacks an entry point.
bool loadPlugin(const char* path, LoadedPlugin& plugin);

// Unloads the DLL; the plug-in must have been ended first.
void unloadPlugin(LoadedPlugin& plugin);
