// Reading back what the screen shows, for screenshots and pixel checks.
#pragma once

#include <windows.h>

#include <vector>

// Pixels as colour references (0x00BBGGRR), row by row from the top.
struct ScreenImage {
    int width;
    int height;
    std::vector<COLORREF> pixels;

    COLORREF at(int x, int y) const {
        return pixels[(static_cast<size_t>(y) * static_cast<size_t>(width)) +
                      static_cast<size_t>(x)];
    }
};

// Copies the screen area whose top-left corner is 0,0 and whose size is given,
// in the screen's own pixels; an image of no pixels when the system cannot
// make the bitmap.
ScreenImage captureScreen(int width, int height);
// The same for any area of the screen, such as a display away from its corner.
ScreenImage captureScreenArea(const RECT& area);
// The same from any device context, a memory one with a drawing in it too.
ScreenImage captureDc(HDC source, int width, int height);

// Writes image as a 24-bit BMP file; false when the image is empty or the file
// cannot be written.
bool saveBitmap(const ScreenImage& image, const char* path);
