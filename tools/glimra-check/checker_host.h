// The checker's stand-in for the host: which directories the plug-in's
// settings search looks in, and how its paths map to this system's.
#pragma once

#include <string>

// The first is searched as the plug-in's directory, the second as the host's.
void setSearchDirectories(const std::string& plugin, const std::string& host);

// A path as the settings reader wrote it, as this system names the file.
std::string nativeSettingsPath(const char* readerPath);

bool isDirectory(const std::string& path);
