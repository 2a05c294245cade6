// Stands in for the host and the module path, so that the plug-in's own
// search and reading code runs here on real files: the directories given on
// the command line take the place of the plug-in's and the host's.
#include "checker_host.h"

#include "host/line_reader.h"
#include "plugin/host_api.h"
#include "settings/module_path.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>

namespace {

std::string pluginDirectory;
std::string hostDirectory;

// The reader joins names with a backslash; elsewhere than Windows, a path separator is '/'.
std::string nativePath(const char* path) {
    std::string result = path;
#if !defined(_WIN32)
    for (char& c : result) {
        c = c == '\\' ? '/' : c;
    }
#endif
    return result;
}

void copyPath(const std::string& text, char* buffer, int size) {
    std::strncpy(buffer, text.c_str(), static_cast<size_t>(size));
    buffer[size - 1] = '\0';
}

} // namespace

void setSearchDirectories(const std::string& plugin, const std::string& host) {
    pluginDirectory = plugin;
    hostDirectory = host;
}

bool isDirectory(const std::string& path) {
    struct stat status = {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

void getModuleFilePath(InstanceHandle /*instance*/, char* path, int size) {
    copyPath(pluginDirectory + "\\GLIMRA.dll", path, size);
}

extern "C" {

WindowHandle HOST_CALL GetTXWnd() {
    return nullptr;
}

int HOST_CALL GetTarvexPath(char* buffer, int size) {
    copyPath(hostDirectory + "\\tarvex.exe", buffer, size);
    return static_cast<int>(std::strlen(buffer));
}

HostTruth HOST_CALL FileExists(const char* path) {
    const std::string native = nativePath(path);
    struct stat status = {};
    return stat(native.c_str(), &status) == 0 && !S_ISDIR(status.st_mode) ? 1 : 0;
}

HostFile HOST_CALL FileOpen(const char* path) {
    return std::fopen(nativePath(path).c_str(), "rb");
}

HostTruth HOST_CALL ReadNextCommand(HostFile file, char* buffer, int size) {
    return readLine(static_cast<std::FILE*>(file), buffer, size) ? 1 : 0;
}

bool HOST_CALL FileClose(HostFile file) {
    return file && std::fclose(static_cast<std::FILE*>(file)) == 0;
}
}

std::string nativeSettingsPath(const char* readerPath) {
    return nativePath(readerPath);
}
