#include "reference_drawing.h"
#include "host/screen_capture.h"
#include "screen_checks.h"

#include <algorithm>

HFONT createDisplayFont(int pixelHeight) {
    return CreateFontA(pixelHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, 0,
                       "Verdana");
}

ScreenImage expectedDisplay(const char* text, int fontPixelHeight, COLORREF letters,
                            COLORREF outline) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, SHOT_WIDTH, SHOT_HEIGHT);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previousBitmap = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, SHOT_WIDTH, SHOT_HEIGHT, BLACKNESS);
    HFONT font = createDisplayFont(fontPixelHeight);
    HGDIOBJ previousFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    const auto drawAt = [&](COLORREF colour, POINT origin) {
        SetTextColor(dc, colour);
        RECT area = {origin.x, origin.y, 800, fontPixelHeight + 30}; // clipped to the window
        DrawTextA(dc, text, -1, &area, 0);
    };
    for (const POINT origin : {POINT{9, 9}, POINT{11, 11}, POINT{9, 11}, POINT{11, 9}}) {
        drawAt(outline, origin);
    }
    drawAt(letters, {10, 10});
    ScreenImage image = captureDc(dc, SHOT_WIDTH, SHOT_HEIGHT);
    std::replace(image.pixels.begin(), image.pixels.end(), RGB(0, 0, 0), BACKDROP_COLOUR);
    SelectObject(dc, previousFont);
    SelectObject(dc, previousBitmap);
    DeleteObject(font);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return image;
}
