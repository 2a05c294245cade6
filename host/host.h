// The reference host "tarvex.exe": its main window, the registrations it
// keeps and the texts it sends. The functions it exports to plug-ins are in
// host_functions.h.
#pragma once

#include "host/host_functions.h"

#include <windows.h>

#include <string>
#include <vector>

// One window's wish to receive one host message.
struct HostRegistration {
    HWND window;
    UINT message;
};

// Makes the host's hidden main window and sets hostAnswers afresh to the
// host's own: GetTXWnd hands out this window, GetTarvexPath this program's path.
HWND createHostWindow(HINSTANCE instance);
void destroyHostWindow();

// Every registration received, in order of arrival.
const std::vector<HostRegistration>& hostRegistrations();
// The window that registered last; null when none has.
HWND registeredWindow();

// Sends text as HOST_MSG_TEXT to each live window registered for it and
// tells how many windows got it.
int sendHostText(const char* text);

// Shows a plain window of colour at the screen's top-left corner, beneath
// the display, so that both letters and outline stand out in screenshots.
HWND createBackdrop(HINSTANCE instance, COLORREF colour, int width, int height);
// How many left clicks the backdrops have received.
int backdropClickCount();

// Runs the host's message loop for the given time; 0 handles what is waiting.
void pumpMessagesFor(DWORD milliseconds);
