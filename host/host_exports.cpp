// The functions the host exports to its plug-ins: its window, its path, and
// line-by-line reading of small text files.
#include "host/host.h"
#include "host/line_reader.h"

#include <cstdio>
#include <cstring>

namespace {

std::string hostPathOverride;
int callCount;
HostTruth yesValue = 1;

void copyTerminated(const char* text, char* buffer, int size) {
    if (size <= 0) {
        return;
    }
    std::strncpy(buffer, text, static_cast<size_t>(size));
    buffer[size - 1] = '\0';
}

} // namespace

void setHostPathOverride(const std::string& path) {
    hostPathOverride = path;
}

void setHostYesValue(HostTruth yes) {
    yesValue = yes;
}

int hostCallCount() {
    return callCount;
}

extern "C" {

WindowHandle HOST_CALL GetTXWnd() {
    ++callCount;
    return hostMainWindow();
}

int HOST_CALL GetTarvexPath(char* buffer, int size) {
    ++callCount;
    if (!hostPathOverride.empty()) {
        copyTerminated(hostPathOverride.c_str(), buffer, size);
    } else if (size > 0) {
        GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(size));
        buffer[size - 1] = '\0';
    }
    return size > 0 ? static_cast<int>(std::strlen(buffer)) : 0;
}

HostTruth HOST_CALL FileExists(const char* path) {
    ++callCount;
    const DWORD attributes = GetFileAttributesA(path);
    const bool exists =
        attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    return exists ? yesValue : 0;
}

// A file that cannot be opened gives a null handle, which reads as no lines.
HostFile HOST_CALL FileOpen(const char* path) {
    ++callCount;
    return std::fopen(path, "rb");
}

// One line a call; a line too long for the buffer is cut, its rest dropped.
HostTruth HOST_CALL ReadNextCommand(HostFile file, char* buffer, int size) {
    ++callCount;
    return readLine(static_cast<std::FILE*>(file), buffer, size) ? yesValue : 0;
}

bool HOST_CALL FileClose(HostFile file) {
    ++callCount;
    return file && std::fclose(static_cast<std::FILE*>(file)) == 0;
}
}
