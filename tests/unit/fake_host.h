// A stand-in for the host's file and path functions and for the module's own
// path, so the settings reader runs without Windows. Files live in memory.
#pragma once

#include "plugin/host_api.h"

#include <map>
#include <set>
#include <string>
#include <vector>

struct FakeHost {
    std::string modulePath = "C:\\plugins\\GLIMRA.dll";
    std::string hostPath = "D:\\tarvex\\tarvex.exe";
    std::map<std::string, std::vector<std::string>> files; // path -> lines
    // When set, every path not in files exists and holds these lines.
    const std::vector<std::string>* everyOtherFile = nullptr;
    // Paths that exist but that FileOpen cannot open: it gives a null handle.
    std::set<std::string> unopenable;
    // The byte FileExists and ReadNextCommand answer for yes: any non-zero one.
    HostTruth yes = 1;

    // What the reader asked for, in order.
    std::vector<std::string> existsQueries;
    std::vector<std::string> openedPaths;
    int closeCount = 0;
};

// The one fake host the substitutes serve; tests reset it before use.
extern FakeHost fakeHost;
