// The on-screen display: a see-through, topmost, click-through window in the
// screen's top-left corner that shows one text at a time.
#pragma once

#include "plugin/plugin.h"

// The window's one timer: it hides the display when the text's time is up.
constexpr UINT_PTR OSD_HIDE_TIMER = 1;

// Where the text starts, this far from the window's left and top edges: 10,
// scaled with the window where it is drawn at a scaled screen's own density.
extern int osdTextMargin;

// Makes the font, the window class and the window; false when one of them
// failed, leaving what was made in record for destroyDisplay.
bool createDisplay(OsdWindow& record);

// Shows text at once, replacing what was shown, and hides it after milliseconds.
void showText(OsdWindow& record, const char* text, UINT milliseconds);

// Destroys the window, cuts screen readers off from it, unregisters its class
// and deletes the font.
void destroyDisplay(OsdWindow& record);

LRESULT CALLBACK osdWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Draws record's text in the letter colour over a one-pixel diagonal outline.
LRESULT paintOutlinedText(const OsdWindow& record);
