#include "host/host_startup.h"

#include "host/host.h"
#include "host/plugin_loader.h"

#include <cstring>

const char* optionValue(int argc, char** argv, const char* option, const char* fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], option) == 0) {
            return argv[i + 1];
        }
    }
    return fallback;
}

bool startHost(const char* pluginPath, LoadedPlugin& plugin) {
    createHostWindow(GetModuleHandleA(nullptr));
    plugin = {};
    return pluginPath && *pluginPath && loadPlugin(pluginPath, plugin);
}
