// A screen reader on the same desktop, in a process of its own
// (screen_reader.exe, built beside the DLL under test): it hears the
// display's alerts and reads each one's object as NVDA or Narrator would.
#pragma once

#include <windows.h>

#include <string>

class ScreenReader {
  public:
    // Starts the reader in directory (the one beside the DLL under test by
    // default) and waits until its hook is in place.
    explicit ScreenReader(const std::string& directory = "");
    ~ScreenReader();
    ScreenReader(const ScreenReader&) = delete;
    ScreenReader& operator=(const ScreenReader&) = delete;

    // What the reader wrote next ("alert object -4 child 0 role 8 name ..."),
    // the host's messages pumped meanwhile, as the reader's questions travel
    // through them; "" when it wrote nothing for milliseconds.
    std::string nextLine(DWORD milliseconds = 10000);
    // Has the reader ask the object it heard last for its name again.
    void askAgain() const;

  private:
    PROCESS_INFORMATION process = {};
    std::string resultsPath;
    size_t linesRead = 0;
};

// What the reader writes for an alert of the display's client area.
std::string heardAlert(int role, const std::string& nameInUtf8);
