#include "reference_drawing.h"
#include "host/screen_capture.h"
#include "screen_checks.h"

#include <algorithm>

HFONT createDisplayFont(int pixelHeight, BYTE characterSet) {
    return CreateFontA(pixelHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, characterSet,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, 0,
                       "Verdana");
}

namespace {

// The display's five drawings of a text into dc, each made by drawText(dc, area):
// the outline at the four diagonal neighbours of the origin (10, 10), then the letters.
template <typename DrawText>
void drawOutlined(HDC dc, int fontPixelHeight, COLORREF letters, COLORREF outline,
                  DrawText drawText) {
    SetBkMode(dc, TRANSPARENT);
    const auto drawAt = [&](COLORREF colour, POINT origin) {
        SetTextColor(dc, colour);
        RECT area = {origin.x, origin.y, 800, fontPixelHeight + 30}; // clipped to the window
        drawText(dc, &area);
    };
    for (const POINT origin : {POINT{9, 9}, POINT{11, 11}, POINT{9, 11}, POINT{11, 9}}) {
        drawAt(outline, origin);
    }
    drawAt(letters, {10, 10});
}

template <typename DrawText>
ScreenImage drawnLikeTheDisplay(int fontPixelHeight, BYTE characterSet, COLORREF letters,
                                COLORREF outline, DrawText drawText) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, SHOT_WIDTH, SHOT_HEIGHT);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previousBitmap = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, SHOT_WIDTH, SHOT_HEIGHT, BLACKNESS);
    HFONT font = createDisplayFont(fontPixelHeight, characterSet);
    HGDIOBJ previousFont = SelectObject(dc, font);
    drawOutlined(dc, fontPixelHeight, letters, outline, drawText);
    ScreenImage image = captureDc(dc, SHOT_WIDTH, SHOT_HEIGHT);
    std::replace(image.pixels.begin(), image.pixels.end(), RGB(0, 0, 0), BACKDROP_COLOUR);
    SelectObject(dc, previousFont);
    SelectObject(dc, previousBitmap);
    DeleteObject(font);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return image;
}

} // namespace

void drawLikeTheDisplay(HDC dc, const char* text, int fontPixelHeight) {
    drawOutlined(dc, fontPixelHeight, WHITE, NEAR_BLACK,
                 [text](HDC target, RECT* area) { DrawTextA(target, text, -1, area, 0); });
}

ScreenImage expectedDisplay(const char* text, int fontPixelHeight, COLORREF letters,
                            COLORREF outline) {
    return drawnLikeTheDisplay(fontPixelHeight, DEFAULT_CHARSET, letters, outline,
                               [text](HDC dc, RECT* area) { DrawTextA(dc, text, -1, area, 0); });
}

ScreenImage expectedDisplay(const wchar_t* text, int fontPixelHeight, BYTE characterSet) {
    return drawnLikeTheDisplay(fontPixelHeight, characterSet, WHITE, NEAR_BLACK,
                               [text](HDC dc, RECT* area) { DrawTextW(dc, text, -1, area, 0); });
}
