// The display as screen readers meet it: each text becomes the window's
// name and is announced as an alert, and a reader that asks for the window's
// object gets one whose role is alert. Nothing here takes the keyboard.
#pragma once

#include <windows.h>

// Gives window text as its own and, unless nothing of it is read (an '&' that
// only underlines is not), announces it.
void announceText(HWND window, const char* text);

// Answers WM_GETOBJECT for window: the display's own object where the host's
// thread has a single-threaded COM apartment, the system's default otherwise.
LRESULT answerObjectRequest(HWND window, WPARAM flags, LPARAM objectId);

// Cuts every reader off from the display's objects and releases the libraries.
void releaseAccessibility();
