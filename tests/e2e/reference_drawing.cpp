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
// the outline at the four diagonal neighbours of the text's origin, then the letters.
template <typename DrawText>
void drawOutlined(HDC dc, const DisplayPlacement& placement, COLORREF letters, COLORREF outline,
                  DrawText drawText) {
    SetBkMode(dc, TRANSPARENT);
    const auto drawAt = [&](COLORREF colour, int dx, int dy) {
        SetTextColor(dc, colour);
        RECT area = {placement.textMargin + dx, placement.textMargin + dy, placement.width,
                     placement.height}; // clipped to the window
        drawText(dc, &area);
    };
    for (const POINT offset : {POINT{-1, -1}, POINT{1, 1}, POINT{-1, 1}, POINT{1, -1}}) {
        drawAt(outline, offset.x, offset.y);
    }
    drawAt(letters, 0, 0);
}

// The display at 96 dots per inch, or wherever the system shows the host the screen as it is.
DisplayPlacement unscaledPlacement(int fontPixelHeight) {
    return {fontPixelHeight, 10, 800, fontPixelHeight + 30};
}

template <typename DrawText>
ScreenImage drawnLikeTheDisplay(const DisplayPlacement& placement, BYTE characterSet,
                                COLORREF letters, COLORREF outline, DrawText drawText) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, SHOT_WIDTH, SHOT_HEIGHT);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previousBitmap = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, SHOT_WIDTH, SHOT_HEIGHT, BLACKNESS);
    HFONT font = createDisplayFont(placement.fontPixelHeight, characterSet);
    HGDIOBJ previousFont = SelectObject(dc, font);
    drawOutlined(dc, placement, letters, outline, drawText);
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
    drawOutlined(dc, unscaledPlacement(fontPixelHeight), WHITE, NEAR_BLACK,
                 [text](HDC target, RECT* area) { DrawTextA(target, text, -1, area, 0); });
}

ScreenImage expectedDisplay(const char* text, int fontPixelHeight, COLORREF letters,
                            COLORREF outline) {
    return expectedDisplay(text, unscaledPlacement(fontPixelHeight), letters, outline);
}

ScreenImage expectedDisplay(const char* text, const DisplayPlacement& placement, COLORREF letters,
                            COLORREF outline) {
    return drawnLikeTheDisplay(placement, DEFAULT_CHARSET, letters, outline,
                               [text](HDC dc, RECT* area) { DrawTextA(dc, text, -1, area, 0); });
}

ScreenImage expectedDisplay(const wchar_t* text, int fontPixelHeight, BYTE characterSet) {
    return drawnLikeTheDisplay(unscaledPlacement(fontPixelHeight), characterSet, WHITE, NEAR_BLACK,
                               [text](HDC dc, RECT* area) { DrawTextW(dc, text, -1, area, 0); });
}
