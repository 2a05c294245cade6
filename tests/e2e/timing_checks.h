// Timing the display's hide against the time it was given.
#pragma once

#include <windows.h>

// Milliseconds on a fine clock, for timing checks.
double nowMilliseconds();

// How far a hide may stray from its time. Early: the system's timer may fire
// up to one clock tick (15.6 ms on Windows) before the measured time. Late:
// the timer's message waits behind the host's loop and the machine's load,
// and under emulated x86 a message takes several milliseconds more. A hide a
// quarter of a second off fails either bound.
constexpr double HIDE_EARLY_MARGIN_MS = 20;
constexpr double HIDE_LATE_MARGIN_MS = 150;
// Runs the host's loop and checks that osd hides timeout milliseconds after start.
void expectHiddenAfter(HWND osd, double start, double timeout);
