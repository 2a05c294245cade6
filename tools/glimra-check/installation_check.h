// What glimra-check says of the plug-in and host files it finds: whether
// "GLIMRA.dll" is this plug-in, built for the machine of "tarvex.exe".
#pragma once

#include <string>
#include <vector>

struct InstallationFinding {
    bool isWarning; // otherwise a plain fact or note
    std::string text;
};

// Looks for "GLIMRA.dll" in pluginDirectory and "tarvex.exe" in
// hostDirectory (in either letter case). Says nothing when neither is there:
// a folder of settings alone is no installation.
std::vector<InstallationFinding> checkInstallation(const std::string& pluginDirectory,
                                                   const std::string& hostDirectory);
