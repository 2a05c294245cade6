#include "screen_checks.h"

#include "host/host.h"
#include "host/screen_capture.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

Backdrop::Backdrop(SIZE size)
    : handle(createBackdrop(GetModuleHandleA(nullptr), BACKDROP_COLOUR, size.cx, size.cy)),
      clicksBefore(backdropClickCount()) {
    pumpMessagesFor(200);
}

Backdrop::~Backdrop() {
    DestroyWindow(handle);
}

int Backdrop::clicks() const {
    return backdropClickCount() - clicksBefore;
}

ScreenImage settleAndCapture(HWND osd, SIZE shot) {
    pumpMessagesFor(250);
    UpdateWindow(osd);
    pumpMessagesFor(150);
    return captureScreen(shot.cx, shot.cy);
}

ScreenImage showAndCapture(HWND osd, const char* text, SIZE shot) {
    sendHostText(text);
    return settleAndCapture(osd, shot);
}

TaskbarBand::TaskbarBand(Side side, int pixels) {
    readAsTheScreenIs([this, side, pixels] {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &previous, 0);
        area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (side == Top) {
            area.top += pixels;
        } else {
            area.bottom -= pixels;
        }
        return SystemParametersInfoA(SPI_SETWORKAREA, 0, &area, 0);
    });
}

TaskbarBand::~TaskbarBand() {
    readAsTheScreenIs([this] { return SystemParametersInfoA(SPI_SETWORKAREA, 0, &previous, 0); });
}

bool TaskbarBand::holds() const {
    const RECT reported = readAsTheScreenIs([] {
        RECT workArea = {};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
        return workArea;
    });
    return EqualRect(&reported, &area) != FALSE;
}

std::string firstDifference(const ScreenImage& actual, const ScreenImage& expected) {
    if (actual.width != expected.width || actual.height != expected.height) {
        return "the images differ in size";
    }
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            if (actual.at(x, y) != expected.at(x, y)) {
                char description[80];
                std::snprintf(description, sizeof description,
                              "pixel %d,%d is 0x%06lX, not 0x%06lX", x, y,
                              static_cast<unsigned long>(actual.at(x, y)),
                              static_cast<unsigned long>(expected.at(x, y)));
                return description;
            }
        }
    }
    return "";
}

int countColour(const ScreenImage& image, COLORREF colour) {
    int count = 0;
    for (const COLORREF pixel : image.pixels) {
        count += pixel == colour ? 1 : 0;
    }
    return count;
}

std::string firstForeignPixel(const ScreenImage& image, const std::vector<COLORREF>& allowed) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const COLORREF pixel = image.at(x, y);
            bool known = false;
            for (const COLORREF colour : allowed) {
                known = known || pixel == colour;
            }
            if (!known) {
                char description[80];
                std::snprintf(description, sizeof description, "pixel %d,%d is 0x%06lX", x, y,
                              static_cast<unsigned long>(pixel));
                return description;
            }
        }
    }
    return "";
}

RECT boundsOfColour(const ScreenImage& image, COLORREF colour) {
    RECT bounds = {image.width, image.height, 0, 0};
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (image.at(x, y) == colour) {
                bounds.left = std::min<LONG>(bounds.left, x);
                bounds.top = std::min<LONG>(bounds.top, y);
                bounds.right = std::max<LONG>(bounds.right, x + 1);
                bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
            }
        }
    }
    if (bounds.right == 0) {
        return RECT{0, 0, 0, 0};
    }
    return bounds;
}
