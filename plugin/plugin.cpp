// The entry points through which the host starts and stops the plug-in.
#include "plugin/plugin.h"

#include "display/display.h"
#include "plugin/host_api.h"
#include "plugin/host_calls.h"
#include "settings/settings.h"

#include <cstdlib>

namespace {

constexpr UINT START_BOX_TYPE = MB_OK | MB_SETFOREGROUND | MB_TOPMOST;
constexpr UINT STARTUP_TEXT_MILLISECONDS = 10000;

// Tells the user why the plug-in did not start; the host gets 1.
int refuseStart(const char* message, const char* caption) {
    MessageBoxA(nullptr, message, caption, START_BOX_TYPE);
    return 1;
}

} // namespace

// Loading and unloading run nothing of the plug-in's own: all work starts in beginPlugin.
extern "C" BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD /*reason*/, LPVOID /*reserved*/) {
    return TRUE;
}

extern "C" int PLUGIN_CALL beginPlugin(HINSTANCE instance) {
    findLayeredWindowSupport();
    if (!pSetLayeredWindowAttributes) {
        return refuseStart("OS version not supported (Windows2000+ required)", "Glimra 1.0");
    }
    if (hostWnd) {
        return refuseStart("Dont load me twice!", "Glimra");
    }
    hostWnd = callGetTXWnd();
    readSettings(instance);

    // calloc leaves the window and font handles zero and the text empty.
    osdWindow = static_cast<OsdWindow*>(std::calloc(1, sizeof(OsdWindow)));
    if (!osdWindow) {
        return refuseStart("failed to load!", "Glimra");
    }
    osdWindow->instance = instance;
    if (!createDisplay(*osdWindow)) {
        return refuseStart("failed to load!", "Glimra");
    }
    showText(*osdWindow, "Glimra", STARTUP_TEXT_MILLISECONDS);
    return 0;
}

extern "C" void PLUGIN_CALL endPlugin(void* /*ignored*/) {
    if (!osdWindow) {
        return;
    }
    destroyDisplay(*osdWindow);
    std::free(osdWindow);
    osdWindow = nullptr; // a second endPlugin finds nothing to release
}
