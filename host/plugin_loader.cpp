#include "host/plugin_loader.h"
#include "plugin/host_api.h"

namespace {

template <typename Function> Function entryPoint(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

} // namespace

bool loadPlugin(const char* path, LoadedPlugin& plugin) {
    plugin = {};
    plugin.module = LoadLibraryA(path);
    if (!plugin.module) {
        return false;
    }
    plugin.begin = entryPoint<BeginPluginFunction>(plugin.module, "beginPlugin");
    plugin.end = entryPoint<EndPluginFunction>(plugin.module, "endPlugin");
    plugin.info = entryPoint<PluginInfoFunction>(plugin.module, "pluginInfo");
    if (!plugin.begin || !plugin.end || !plugin.info) {
        unloadPlugin(plugin);
        return false;
    }
    return true;
}

void unloadPlugin(LoadedPlugin& plugin) {
    if (plugin.module) {
        FreeLibrary(plugin.module);
    }
    plugin = {};
}
