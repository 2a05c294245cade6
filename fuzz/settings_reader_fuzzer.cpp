// Feeds the settings reader arbitrary module paths, host paths and file lines
// through the host's functions as a careless host: they fill buffers to the
// end without a NUL when they can. The first two lines of the input are the
// paths, searched as given; the rest is a settings file, read from a real file.
#include "host/host_functions.h"
#include "settings/settings.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdlib.h>
#include <string>

namespace {

// One file for every input, rewritten each time.
const std::string& contentFile() {
    static const std::string path = [] {
        char pattern[] = "/tmp/glimra-fuzz-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            std::perror("glimra fuzzer: mkdtemp");
            std::abort();
        }
        return std::string(pattern) + "/glimrarc";
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t firstEnd = input.find('\n');
    const size_t secondEnd =
        firstEnd == std::string::npos ? firstEnd : input.find('\n', firstEnd + 1);
    hostAnswers = HostAnswers{};
    hostAnswers.fillsBuffersToTheEnd = true;
    hostAnswers.pluginPath = input.substr(0, firstEnd);
    if (firstEnd != std::string::npos) {
        hostAnswers.hostPath = input.substr(firstEnd + 1, secondEnd - firstEnd - 1);
    }
    hostCalls = HostCalls{};
    osdSettings = DEFAULT_SETTINGS;
    readSettings(nullptr);

    std::FILE* file = std::fopen(contentFile().c_str(), "wb");
    if (!file) {
        std::abort();
    }
    if (secondEnd != std::string::npos) {
        std::fwrite(input.data() + secondEnd + 1, 1, input.size() - secondEnd - 1, file);
    }
    std::fclose(file);
    OsdSettings settings = DEFAULT_SETTINGS;
    readSettingsFile(contentFile().c_str(), settings);
    return 0;
}
