// Reading back what the display shows over a backdrop of a known colour, and
// comparing it pixel by pixel.
#pragma once

#include "host/screen_capture.h"

#include <string>
#include <vector>

constexpr COLORREF BACKDROP_COLOUR = RGB(40, 160, 80);
constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF NEAR_BLACK = RGB(1, 1, 1);
constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);

// The screen area the checks look at: the display window (800 pixels wide)
// and a margin beyond it, where nothing may ever be drawn.
constexpr int SHOT_WIDTH = 900;
constexpr int SHOT_HEIGHT = 220;
constexpr SIZE SHOT_SIZE = {SHOT_WIDTH, SHOT_HEIGHT};
// The private screen that the tests run on, for a display away from its corner.
constexpr SIZE WHOLE_SCREEN = {1024, 768};

// A plain window of BACKDROP_COLOUR behind the display that counts its clicks,
// over the shot area or, given a size, over that much of the screen's top-left.
class Backdrop {
  public:
    explicit Backdrop(SIZE size = {SHOT_WIDTH + 100, SHOT_HEIGHT + 100});
    ~Backdrop();
    Backdrop(const Backdrop&) = delete;
    Backdrop& operator=(const Backdrop&) = delete;
    HWND window() const { return handle; }
    int clicks() const;

  private:
    HWND handle;
    int clicksBefore;
};

// Sends text from the host, lets the display paint, and reads the screen's
// top-left area of that size.
ScreenImage showAndCapture(HWND osd, const char* text, SIZE shot = SHOT_SIZE);
// Lets pending messages and painting finish, then reads the screen.
ScreenImage settleAndCapture(HWND osd, SIZE shot = SHOT_SIZE);

// A taskbar's band of that many pixels along the screen's top or bottom: the
// primary monitor's work area is the rest of the screen, in its own pixels,
// until the end of the scope, which puts the earlier work area back. The
// system keeps it for this process alone.
class TaskbarBand {
  public:
    enum Side { Top, Bottom };
    TaskbarBand(Side side, int pixels);
    ~TaskbarBand();
    TaskbarBand(const TaskbarBand&) = delete;
    TaskbarBand& operator=(const TaskbarBand&) = delete;
    // Whether the system reports that work area, read in the screen's own pixels.
    bool holds() const;

  private:
    RECT previous = {};
    RECT area = {};
};

// Reads something as a system-aware thread, in the screen's own pixels.
template <typename Read> auto readAsTheScreenIs(Read read) {
    DPI_AWARENESS_CONTEXT host = SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_SYSTEM_AWARE);
    const auto value = read();
    SetThreadDpiAwarenessContext(host);
    return value;
}

// Describes the first pixel where actual differs from expected; "" if none.
std::string firstDifference(const ScreenImage& actual, const ScreenImage& expected);
// Pixel counts over the whole shot.
int countColour(const ScreenImage& image, COLORREF colour);
// Describes the first pixel that is none of the allowed colours; "" if none.
std::string firstForeignPixel(const ScreenImage& image, const std::vector<COLORREF>& allowed);
// The smallest rectangle holding every pixel of colour; empty if there is none.
RECT boundsOfColour(const ScreenImage& image, COLORREF colour);
