// Another program's window on the same desktop, in a process of its own
// (other_program.exe, built beside the DLL under test), as a player or a game
// is: to see the display stand above it.
#pragma once

#include <windows.h>

// Starts other_program.exe and waits until its window shows. kind is
// "topmost" (a window over the shot area, raised without taking the
// keyboard) or "full-screen" (a window over the whole screen that is not
// topmost and takes the foreground).
class OtherProgram {
  public:
    OtherProgram(const char* kind, COLORREF colour);
    ~OtherProgram();
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    // Its window; null when it did not show.
    HWND window() const { return handle; }
    // Has the program raise its topmost window again, above the display.
    void raiseAgain() const;
    // The left clicks its window has received.
    int clicks() const;

  private:
    PROCESS_INFORMATION process = {};
    HWND handle = nullptr;
};

// Whether upper stands before lower in the system's list of top-level windows.
bool standsAbove(HWND upper, HWND lower);
