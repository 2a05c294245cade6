// Where the plug-in's own module file lives: the one thing the settings
// reader asks of the platform besides the host's file functions.
#pragma once

#include "plugin/host_api.h"

// Fills path with the full path of the module loaded as instance.
void getModuleFilePath(InstanceHandle instance, char* path, int size);
