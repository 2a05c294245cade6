// How every program here that plays the host starts: it finds the plug-in's
// path among its arguments, makes the host's window and loads the plug-in.
#pragma once

#include "host/plugin_loader.h"

// The argument after option (such as "--plugin"); fallback when there is none.
const char* optionValue(int argc, char** argv, const char* option, const char* fallback);

// Makes the host's window and loads the plug-in at pluginPath; false, with
// nothing loaded, when there is no path or no plug-in loads from it.
bool startHost(const char* pluginPath, LoadedPlugin& plugin);
