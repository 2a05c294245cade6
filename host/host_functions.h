// The six functions that a host exports to plug-ins, written once for every
// program here that plays the host: the reference host tarvex.exe, the test
// hosts, glimra-check and the native unit tests. They read real files; what
// else they answer is set in hostAnswers. A build with GLIMRA_HOST_STDCALL
// exports them as stdcall functions instead of C ones (plugin/host_api.h).
// Needs no window system.
#pragma once

#include "plugin/host_api.h"

#include <string>
#include <vector>

struct HostAnswers {
    WindowHandle mainWindow = nullptr; // what GetTXWnd answers
    std::string hostPath; // what GetTarvexPath answers: the host's file, or its directory and '\'
    // The plug-in's own file, where its code runs in this program rather than
    // as a loaded DLL (glimra-check, the unit tests).
    std::string pluginPath;
    HostTruth yes = 1; // FileExists' and ReadNextCommand's yes: any non-zero byte counts
    // Copy paths and lines as a careless host does: a text as long as the
    // buffer, or longer, fills it to the end with no NUL.
    bool fillsBuffersToTheEnd = false;
};
extern HostAnswers hostAnswers;

// What plug-ins asked of the host, in order.
struct HostCalls {
    int count = 0;
    std::vector<std::string> existsQueries;
    std::vector<std::string> openedPaths;
    int closeCount = 0;
};
extern HostCalls hostCalls;

// A path as the plug-in writes it, with backslashes, as this system names the file.
std::string nativePath(const char* path);
