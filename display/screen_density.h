// The screen's density as this thread sees it and as the screen has it, its
// work area, and the switch that lets a thread draw at the screen's own density.
#pragma once

#include "display/display_geometry.h"

#include <windows.h>

// The screen's logical dots per inch as this thread sees it: 96 on a scaled
// screen for a thread that is not DPI-aware, where the system stretches.
int screenDotsPerInch();

// The dots per inch that the screen really has; where the system has no
// per-thread DPI awareness (before Windows 10 version 1607), what this thread sees.
int nativeScreenDotsPerInch();

// The primary monitor's work area, the screen less the taskbar, in the pixels
// this thread sees: the screen's own once it is system-aware.
ScreenRect primaryWorkArea();

// Makes this thread system-DPI-aware, so that what it creates and reads is in
// the screen's own pixels, and returns the awareness to put back; null where
// the system has no such switch, and then nothing changed.
DPI_AWARENESS_CONTEXT seeTheScreenAsItIs();
// Puts back the awareness that seeTheScreenAsItIs returned; null does nothing.
void restoreDpiAwareness(DPI_AWARENESS_CONTEXT previous);
