// Finds the lines of a settings file that are probably mistakes: the plug-in
// itself reads them silently.
#pragma once

#include "settings/settings.h"

#include <string>
#include <vector>

struct LineWarning {
    int lineNumber;
    std::string message;
};

// Tracks one file's lines in order, as the plug-in would read them.
struct SettingsLint {
    std::vector<LineWarning> warnings;
    int lastLineOfKey[5] = {}; // indexed by SettingKey; 0 = not set yet
    // Indexed by SettingKey: the last value was a whole number beyond 32 bits,
    // whose reading by atoi differs between C runtimes.
    bool outOfRange[5] = {};
};

// Checks one line as the plug-in sees it (at most 1023 bytes, up to any NUL);
// fullLength and hasNul tell what the file itself held.
void lintSettingsLine(SettingsLint& lint, int lineNumber, const char* line, long fullLength,
                      bool hasNul);
