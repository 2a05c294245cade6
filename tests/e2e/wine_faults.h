// Telling Wine's own faults from the display's: Wine's version, and a bare
// window built like the display, with no plug-in in it, taken through the
// same steps in the same run.
#pragma once

#include "host/screen_capture.h"

#include <string>

// Wine's version as its ntdll tells it, such as "10.0"; "" on Windows.
std::string wineVersion();
// Its major number; 0 on Windows.
int wineMajorVersion();

// A bare window of the display's class style, styles, colour key, place and
// size draws text with the display's font, colours and five DrawTextA calls;
// it is hidden and shown again with nothing to draw, its background erased
// by DefWindowProc with the black class brush, as the display is for an
// empty text. Returns the screen read back then.
ScreenImage bareWindowShownEmptyAfter(const char* text, int fontPixelHeight);
