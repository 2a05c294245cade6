// A window of the host's that the user is typing into, to check that the
// display never takes the keyboard from it.
#pragma once

#include <windows.h>

#include <string>

// A visible window with an edit field that has the keyboard focus, away from
// the display's corner.
class TypingWindow {
  public:
    TypingWindow();
    ~TypingWindow();
    TypingWindow(const TypingWindow&) = delete;
    TypingWindow& operator=(const TypingWindow&) = delete;

    // Types one lower-case letter as the user would, and tells what the field then holds.
    std::string type(char letter) const;

    // Hides the window, checks that the display did not become active, and
    // brings the window back as the user would.
    void putAwayAndBack(HWND osd) const;

    void expectStillHasTheKeyboard(const char* when) const;

    HWND window;
    HWND edit;
};
