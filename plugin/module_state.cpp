// The module-wide state, apart from the entry points that set it, so that the
// display can be built into another program (glimra-check's preview) without them.
#include "plugin/plugin.h"

HWND hostWnd;
HMODULE user32Module;
SetLayeredWindowAttributesFunction pSetLayeredWindowAttributes;
OsdWindow* osdWindow;

// Colour-keyed layered windows need a user32 that offers SetLayeredWindowAttributes.
void findLayeredWindowSupport() {
    pSetLayeredWindowAttributes = nullptr;
    user32Module = LoadLibraryA("user32.dll");
    if (!user32Module) {
        return;
    }
    FARPROC function = GetProcAddress(user32Module, "SetLayeredWindowAttributes");
    pSetLayeredWindowAttributes = reinterpret_cast<SetLayeredWindowAttributesFunction>(
        reinterpret_cast<void (*)()>(function));
    if (!pSetLayeredWindowAttributes) {
        FreeLibrary(user32Module);
        user32Module = nullptr;
    }
}
