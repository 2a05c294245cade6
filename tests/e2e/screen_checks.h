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

// A plain window of BACKDROP_COLOUR behind the display that counts its clicks.
class Backdrop {
  public:
    Backdrop();
    ~Backdrop();
    Backdrop(const Backdrop&) = delete;
    Backdrop& operator=(const Backdrop&) = delete;
    HWND window() const { return handle; }
    int clicks() const;

  private:
    HWND handle;
    int clicksBefore;
};

// Sends text from the host, lets the display paint, and reads the screen.
ScreenImage showAndCapture(HWND osd, const char* text);
// Lets pending messages and painting finish, then reads the screen.
ScreenImage settleAndCapture(HWND osd);

// Describes the first pixel where actual differs from expected; "" if none.
std::string firstDifference(const ScreenImage& actual, const ScreenImage& expected);
// Pixel counts over the whole shot.
int countColour(const ScreenImage& image, COLORREF colour);
// Describes the first pixel that is none of the allowed colours; "" if none.
std::string firstForeignPixel(const ScreenImage& image, const std::vector<COLORREF>& allowed);
// The smallest rectangle holding every pixel of colour; empty if there is none.
RECT boundsOfColour(const ScreenImage& image, COLORREF colour);
