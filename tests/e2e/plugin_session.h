// A copy of the GLIMRA.dll under test, alone in a fresh folder, loaded by this
// test program, which is itself a host named "tarvex.exe"; and the tests' files.
#pragma once

#include "host/host.h"
#include "host/plugin_loader.h"

#include <string>

// The GLIMRA.dll under test, given on the command line with --plugin.
extern std::string builtPluginPath;
// A program built beside that GLIMRA.dll, such as glimra-check.exe, quoted
// for a command line.
std::string quotedProgramBesideThePlugin(const char* name);

// A fresh folder holding only a copy of GLIMRA.dll and, when settingsText is
// not empty, a settings file "glimrarc" beside it. The plug-in is loaded from
// there, ended and unloaded when the session ends, and the folder removed.
class PluginSession {
  public:
    explicit PluginSession(const std::string& settingsText = "");
    ~PluginSession();
    PluginSession(const PluginSession&) = delete;
    PluginSession& operator=(const PluginSession&) = delete;

    int begin();
    void end();
    // Unloads the module and loads it afresh from the same folder.
    void reload();
    // The window that registered with the host; null before that.
    HWND osdWindow() const;

    LoadedPlugin plugin = {};
    std::string directory; // ends with a backslash
};

// Registers a class named "osd_window" for the plug-in's module first, so that
// the display's own registration fails; false when that is not possible.
bool takeDisplayClass(HMODULE module);

// Writes text to path; the tests' settings files and folders.
void writeTextFile(const std::string& path, const std::string& text);
std::string makeTemporaryFolder(const char* purpose);
void removeFolder(const std::string& directory);
