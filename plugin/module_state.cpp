// The module-wide state, apart from the entry points that set it, so that the
// display can be built into another program (glimra-check's preview) without them.
#include "plugin/plugin.h"

HWND hostWnd;
HMODULE user32Module;
SetLayeredWindowAttributesFunction pSetLayeredWindowAttributes;
OsdWindow* osdWindow;
