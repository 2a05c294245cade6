// The plug-in's module-wide state and the display's state record.
#pragma once

#include "plugin/host_api.h"

#include <windows.h>

#include <cstddef>

constexpr int OSD_TEXT_SIZE = 128;

// The display's state, made by beginPlugin and released by endPlugin.
struct OsdWindow {
    HWND hwnd;
    HFONT font;
    char text[OSD_TEXT_SIZE]; // NUL-terminated; empty means nothing to draw
    HINSTANCE instance;       // the window class is registered under it
};
static_assert(offsetof(OsdWindow, hwnd) == 0 && offsetof(OsdWindow, font) == sizeof(HWND) &&
                  offsetof(OsdWindow, text) == sizeof(HWND) + sizeof(HFONT) &&
                  offsetof(OsdWindow, instance) >= offsetof(OsdWindow, text) + OSD_TEXT_SIZE,
              "the record's fields stay in this order");

using SetLayeredWindowAttributesFunction = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// The host's main window, which the display registers with; non-zero once the
// plug-in has been begun in this load of the module.
extern HWND hostWnd;
// Kept for good once loaded, so that the function below stays valid.
extern HMODULE user32Module;
// Looked up at start: platforms before Windows 2000 lack it.
extern SetLayeredWindowAttributesFunction pSetLayeredWindowAttributes;
extern OsdWindow* osdWindow;

// Sets pSetLayeredWindowAttributes and user32Module, or leaves both null on
// a system without colour-keyed windows.
void findLayeredWindowSupport();
