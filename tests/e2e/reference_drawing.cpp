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

// The display's five drawings of a text into dc, each made by drawText(dc,
// area, format): the outline at the four diagonal neighbours of the text's
// origin, then the letters. The text keeps the margin from the top and from
// the side it is aligned to (both sides when centred) and is clipped to the
// window beyond the others.
template <typename DrawText>
void drawOutlined(HDC dc, const DisplayPlacement& placement, COLORREF letters, COLORREF outline,
                  DrawText drawText) {
    SetBkMode(dc, TRANSPARENT);
    const auto drawAt = [&](COLORREF colour, int dx, int dy) {
        SetTextColor(dc, colour);
        const POINT at = placement.origin;
        RECT area = {at.x, at.y + placement.textMargin + dy, at.x + placement.width,
                     at.y + placement.height};
        if (placement.alignment != DT_RIGHT) {
            area.left += placement.textMargin + dx;
        }
        if (placement.alignment != DT_LEFT) {
            area.right += dx - placement.textMargin;
        }
        drawText(dc, &area, placement.alignment);
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
                                COLORREF letters, COLORREF outline, SIZE shot, DrawText drawText) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, shot.cx, shot.cy);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previousBitmap = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, shot.cx, shot.cy, BLACKNESS);
    HFONT font = createDisplayFont(placement.fontPixelHeight, characterSet);
    HGDIOBJ previousFont = SelectObject(dc, font);
    drawOutlined(dc, placement, letters, outline, drawText);
    ScreenImage image = captureDc(dc, shot.cx, shot.cy);
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
    drawOutlined(
        dc, unscaledPlacement(fontPixelHeight), WHITE, NEAR_BLACK,
        [text](HDC target, RECT* area, UINT format) { DrawTextA(target, text, -1, area, format); });
}

ScreenImage expectedDisplay(const char* text, int fontPixelHeight, COLORREF letters,
                            COLORREF outline) {
    return expectedDisplay(text, unscaledPlacement(fontPixelHeight), letters, outline);
}

ScreenImage expectedDisplay(const char* text, const DisplayPlacement& placement, COLORREF letters,
                            COLORREF outline, SIZE shot) {
    return drawnLikeTheDisplay(
        placement, DEFAULT_CHARSET, letters, outline, shot,
        [text](HDC dc, RECT* area, UINT format) { DrawTextA(dc, text, -1, area, format); });
}

ScreenImage expectedDisplay(const wchar_t* text, int fontPixelHeight, BYTE characterSet) {
    return drawnLikeTheDisplay(
        unscaledPlacement(fontPixelHeight), characterSet, WHITE, NEAR_BLACK, SHOT_SIZE,
        [text](HDC dc, RECT* area, UINT format) { DrawTextW(dc, text, -1, area, format); });
}
