// Substitutes for the host's exports, written from the host contract: paths and
// lines are copied into the caller's buffer like a careless host would, filling
// it to the end without a NUL when the text is as long as the buffer or longer.
#include "fake_host.h"

#include "plugin/host_api.h"
#include "settings/module_path.h"

#include <algorithm>
#include <cstring>

FakeHost fakeHost;

namespace {

struct OpenFile {
    const std::vector<std::string>* lines;
    size_t next;
};

void copyUnterminatedIfFull(const std::string& text, char* buffer, int size) {
    const size_t length = std::min(text.size(), static_cast<size_t>(size));
    std::memcpy(buffer, text.data(), length);
    if (length < static_cast<size_t>(size)) {
        buffer[length] = '\0';
    }
}

} // namespace

void getModuleFilePath(InstanceHandle /*instance*/, char* path, int size) {
    copyUnterminatedIfFull(fakeHost.modulePath, path, size);
}

extern "C" {

WindowHandle HOST_CALL GetTXWnd() {
    return nullptr;
}

int HOST_CALL GetTarvexPath(char* buffer, int size) {
    copyUnterminatedIfFull(fakeHost.hostPath, buffer, size);
    return static_cast<int>(fakeHost.hostPath.size());
}

HostTruth HOST_CALL FileExists(const char* path) {
    fakeHost.existsQueries.emplace_back(path);
    const bool exists = fakeHost.files.count(path) != 0 || fakeHost.everyOtherFile;
    return exists ? fakeHost.yes : 0;
}

HostFile HOST_CALL FileOpen(const char* path) {
    fakeHost.openedPaths.emplace_back(path);
    if (fakeHost.unopenable.count(path) != 0) {
        return nullptr;
    }
    auto found = fakeHost.files.find(path);
    if (found != fakeHost.files.end()) {
        return new OpenFile{&found->second, 0};
    }
    return fakeHost.everyOtherFile ? new OpenFile{fakeHost.everyOtherFile, 0} : nullptr;
}

HostTruth HOST_CALL ReadNextCommand(HostFile file, char* buffer, int size) {
    auto* open = static_cast<OpenFile*>(file);
    if (!open || open->next >= open->lines->size()) {
        return 0;
    }
    copyUnterminatedIfFull((*open->lines)[open->next++], buffer, size);
    return fakeHost.yes;
}

bool HOST_CALL FileClose(HostFile file) {
    ++fakeHost.closeCount;
    delete static_cast<OpenFile*>(file);
    return true;
}
}
