// Finds the lines of a settings file that are probably mistakes: the plug-in
// itself reads them silently.
#pragma once

#include "settings/settings.h"

#include <string>
#include <vector>

struct LineWarning {
    int lineNumber; // 0 for a warning about the file's settings as a whole
    std::string message;
};

// One slot for each SettingKey, None included.
constexpr int SETTING_KEY_SLOTS = static_cast<int>(SettingKey::Position) + 1;

// Tracks one file's lines in order, as the plug-in would read them.
struct SettingsLint {
    std::vector<LineWarning> warnings;
    int lastLineOfKey[SETTING_KEY_SLOTS] = {}; // indexed by SettingKey; 0 = not set yet
    // Indexed by SettingKey: the last value was a whole number beyond 32 bits,
    // whose reading by atoi differs between C runtimes.
    bool outOfRange[SETTING_KEY_SLOTS] = {};
    // Indexed by SettingKey: the warning of the line that set the value last
    // already says what it does to the display.
    bool effectTold[SETTING_KEY_SLOTS] = {};
};

// Checks one line as the plug-in sees it (at most 1023 bytes, up to any NUL);
// fullLength and hasNul tell what the file itself held.
void lintSettingsLine(SettingsLint& lint, int lineNumber, const char* line, long fullLength,
                      bool hasNul);

// After the last line: warns of settings that together make the display
// invisible or unreadable, unless a line's warning has said so already.
// fontPixels is the letters' height on the screen the file is checked for.
void lintDisplayEffects(SettingsLint& lint, const OsdSettings& settings, int fontPixels);
