// Points the host's functions at the directories given on the command line,
// so that the plug-in's own search and reading code runs here on real files:
// they take the place of the plug-in's and the host's directories.
#include "checker_host.h"

#include "host/host_functions.h"

#include <string>
#include <sys/stat.h>

void setSearchDirectories(const std::string& plugin, const std::string& host) {
    hostAnswers.pluginPath = plugin + "\\GLIMRA.dll";
    hostAnswers.hostPath = host + "\\tarvex.exe";
}

bool isDirectory(const std::string& path) {
    struct stat status = {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::string nativeSettingsPath(const char* readerPath) {
    return nativePath(readerPath);
}
