// The plug-in's calls into the host's six functions. A host may export them
// as C or as stdcall functions; on x86 these differ in who takes the arguments
// off the stack, and every call here leaves the stack as it was either way.
#pragma once

#include "plugin/host_api.h"

WindowHandle callGetTXWnd();
void callGetTarvexPath(char* buffer, int size);
HostTruth callFileExists(const char* path);
HostFile callFileOpen(const char* path);
HostTruth callReadNextCommand(HostFile file, char* buffer, int size);
void callFileClose(HostFile file);
