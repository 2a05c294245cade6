// Feeds the settings reader arbitrary module paths, host paths and file lines
// through a host that fills buffers to the end without a NUL when it can.
// The first two lines of the input are the paths; the rest is the file.
#include "fake_host.h"

#include "settings/settings.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            lines.emplace_back();
        } else {
            lines.back() += static_cast<char>(data[i]);
        }
    }
    fakeHost = FakeHost{};
    fakeHost.modulePath = lines[0];
    fakeHost.hostPath = lines.size() > 1 ? lines[1] : std::string();
    const std::vector<std::string> fileLines(lines.begin() + std::min<size_t>(2, lines.size()),
                                             lines.end());
    fakeHost.everyOtherFile = &fileLines;

    osdSettings = DEFAULT_SETTINGS;
    readSettings(nullptr);
    fakeHost.everyOtherFile = nullptr;
    return 0;
}
