// The reference host "tarvex.exe": its main window, the registrations it
// keeps, the texts it sends, and the functions it exports to plug-ins.
#pragma once

#include "plugin/host_api.h"

#include <windows.h>

#include <string>
#include <vector>

// One window's wish to receive one host message.
struct HostRegistration {
    HWND window;
    UINT message;
};

// Makes the host's hidden main window, which GetTXWnd hands to plug-ins.
HWND createHostWindow(HINSTANCE instance);
void destroyHostWindow();
HWND hostMainWindow();

// Every registration received, in order of arrival.
const std::vector<HostRegistration>& hostRegistrations();
// The window that registered last; null when none has.
HWND registeredWindow();

// Sends text as HOST_MSG_TEXT to each live window registered for it and
// tells how many windows got it.
int sendHostText(const char* text);

// Makes GetTarvexPath answer path instead of the executable's own; "" undoes it.
void setHostPathOverride(const std::string& path);

// Makes FileExists and ReadNextCommand answer yes with this byte; 1 by default.
void setHostYesValue(HostTruth yes);

// How many times a plug-in has called one of the host's exported functions.
int hostCallCount();

// Shows a plain window of colour at the screen's top-left corner, beneath
// the display, so that both letters and outline stand out in screenshots.
HWND createBackdrop(HINSTANCE instance, COLORREF colour, int width, int height);
// How many left clicks the backdrops have received.
int backdropClickCount();

// Runs the host's message loop for the given time; 0 handles what is waiting.
void pumpMessagesFor(DWORD milliseconds);
