// What the display must show, drawn here in the same run with the same font
// and screen: compared with captures, never with stored images.
#pragma once

#include "screen_checks.h"

// A font as the display asks for it: bold, unsmoothed Verdana of that cell
// height, in the system's own character set unless another is given.
HFONT createDisplayFont(int pixelHeight, BYTE characterSet = DEFAULT_CHARSET);

// Draws text into dc as the display does with its default colours: a
// near-black outline, then white letters at (10, 10), with dc's font.
void drawLikeTheDisplay(HDC dc, const char* text, int fontPixelHeight);

// The display's font and window as the screen shows them, in its pixels.
struct DisplayPlacement {
    int fontPixelHeight;
    int textMargin; // the text's origin, this far from the aligned side and the top
    int width;
    int height;
    POINT origin = {0, 0};    // the window's top-left corner on the screen
    UINT alignment = DT_LEFT; // or DT_CENTER, DT_RIGHT: the side the text is aligned to
};

// What the display must show for text at the screen's top-left corner over
// the backdrop: drawn here with the display's font and colours, at its text
// origin (10, 10), clipped to its window, black made see-through.
ScreenImage expectedDisplay(const char* text, int fontPixelHeight, COLORREF letters = WHITE,
                            COLORREF outline = NEAR_BLACK);
// The same for a display of that font, origin, size, place and alignment, in
// the screen's top-left area of that size.
ScreenImage expectedDisplay(const char* text, const DisplayPlacement& placement, COLORREF letters,
                            COLORREF outline, SIZE shot = SHOT_SIZE);
// The same for letters given in Unicode, which no code page stands between,
// drawn with the font of characterSet.
ScreenImage expectedDisplay(const wchar_t* text, int fontPixelHeight,
                            BYTE characterSet = DEFAULT_CHARSET);
