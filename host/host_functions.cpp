#include "host/host_functions.h"

#include "host/line_reader.h"
#include "plugin/host_api.h"
#include "settings/module_path.h"

#include <string>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

HostAnswers hostAnswers;
HostCalls hostCalls;

namespace {

// Copies text into a buffer of size bytes, cut and NUL-terminated unless the
// host is a careless one.
void copyAnswer(const char* text, char* buffer, int size) {
    if (size <= 0) {
        return;
    }
    const auto room = static_cast<size_t>(size);
    const size_t length =
        std::min(std::strlen(text), hostAnswers.fillsBuffersToTheEnd ? room : room - 1);
    std::memcpy(buffer, text, length);
    if (length < room) {
        buffer[length] = '\0';
    }
}

} // namespace

std::string nativePath(const char* path) {
    std::string result = path;
#if !defined(_WIN32)
    std::replace(result.begin(), result.end(), '\\', '/');
#endif
    return result;
}

void getModuleFilePath(InstanceHandle /*instance*/, char* path, int size) {
    copyAnswer(hostAnswers.pluginPath.c_str(), path, size);
}

extern "C" {

WindowHandle HOST_CALL GetTXWnd() {
    ++hostCalls.count;
    return hostAnswers.mainWindow;
}

int HOST_CALL GetTarvexPath(char* buffer, int size) {
    ++hostCalls.count;
    copyAnswer(hostAnswers.hostPath.c_str(), buffer, size);
    return static_cast<int>(std::min(hostAnswers.hostPath.size(), static_cast<size_t>(size)));
}

HostTruth HOST_CALL FileExists(const char* path) {
    ++hostCalls.count;
    hostCalls.existsQueries.emplace_back(path);
    struct stat status = {};
    const bool exists =
        stat(nativePath(path).c_str(), &status) == 0 && (status.st_mode & S_IFMT) != S_IFDIR;
    return exists ? hostAnswers.yes : 0;
}

// A file that cannot be opened gives a null handle, which reads as no lines.
HostFile HOST_CALL FileOpen(const char* path) {
    ++hostCalls.count;
    hostCalls.openedPaths.emplace_back(path);
    return std::fopen(nativePath(path).c_str(), "rb");
}

// One line a call, without its line end; a line too long for the buffer is
// cut and its rest dropped.
HostTruth HOST_CALL ReadNextCommand(HostFile file, char* buffer, int size) {
    ++hostCalls.count;
    if (size <= 0) {
        return 0;
    }
    // A byte more than the buffer, so that a careless copy can fill it to the end.
    std::vector<char> line(static_cast<size_t>(size) + 1);
    if (!readLine(static_cast<std::FILE*>(file), line.data(), size + 1)) {
        return 0;
    }
    copyAnswer(line.data(), buffer, size);
    return hostAnswers.yes;
}

bool HOST_CALL FileClose(HostFile file) {
    ++hostCalls.count;
    ++hostCalls.closeCount;
    return file && std::fclose(static_cast<std::FILE*>(file)) == 0;
}
}
