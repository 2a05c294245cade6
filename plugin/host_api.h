// The contract between the host program "tarvex.exe" and the plug-in: the
// functions the host exports, the plug-in's entry points, the window messages
// both sides exchange, and the one calling convention used across that border.
#pragma once

#include <cstdint>

// The calling conventions across the border. beginPlugin, endPlugin and
// pluginInfo are called as C functions; the host's six functions may be C or
// stdcall: on x86 the plug-in calls them so that either works (host_calls.h).
// A host built with GLIMRA_HOST_STDCALL exports them as stdcall functions.
#if defined(_WIN32)
#define PLUGIN_CALL __cdecl
#if defined(GLIMRA_HOST_STDCALL)
#define HOST_CALL __stdcall
#else
#define HOST_CALL __cdecl
#endif
#else
#define PLUGIN_CALL
#define HOST_CALL
#endif

// Windows' own handle types (as <windows.h> declares them under STRICT), named
// here so that code which needs no window system can pass them on.
struct HINSTANCE__; // NOLINT(bugprone-reserved-identifier): Windows' own name
struct HWND__;      // NOLINT(bugprone-reserved-identifier): Windows' own name
using InstanceHandle = HINSTANCE__*;
using WindowHandle = HWND__*;

// An open settings file as the host hands it out; only the host looks inside.
using HostFile = void*;

// A host's yes or no: one byte, any non-zero value meaning yes. Not C++ bool,
// for which a byte other than 0 or 1 is undefined.
using HostTruth = unsigned char;

// Sent by a plug-in window to the host's main window: wParam is the window,
// lParam the address of a 0-terminated list of message numbers it wants.
constexpr unsigned HOST_MSG_REGISTER = 10001;
// Sent by the host to a registered window: lParam is the address of a
// NUL-terminated text to show; the window returns 0.
constexpr unsigned HOST_MSG_TEXT = 10304;

// Buffer sizes the plug-in passes to the host's path and line functions.
constexpr int HOST_PATH_SIZE = 260;
constexpr int HOST_LINE_SIZE = 1024;

extern "C" {

// Exported by the host executable and imported by the plug-in by name; the
// plug-in calls them only through host_calls.h.
WindowHandle HOST_CALL GetTXWnd();
int HOST_CALL GetTarvexPath(char* buffer, int size);
HostTruth HOST_CALL FileExists(const char* path);
HostFile HOST_CALL FileOpen(const char* path);
HostTruth HOST_CALL ReadNextCommand(HostFile file, char* buffer, int size);
bool HOST_CALL FileClose(HostFile file);

// Exported by the plug-in under exactly these names.
int PLUGIN_CALL beginPlugin(InstanceHandle instance);
void PLUGIN_CALL endPlugin(void* ignored);
const char* PLUGIN_CALL pluginInfo(int field);
}

// The entry points as the host finds them with GetProcAddress.
using BeginPluginFunction = int(PLUGIN_CALL*)(InstanceHandle);
using EndPluginFunction = void(PLUGIN_CALL*)(void*);
using PluginInfoFunction = const char*(PLUGIN_CALL*)(int);
