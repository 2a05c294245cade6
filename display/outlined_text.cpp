// Painting: the text four times in the outline colour, one pixel off on each
// diagonal, then once in the letter colour on top.
#include "display/display.h"

#include "display/display_geometry.h"
#include "plugin/plugin.h"
#include "settings/settings.h"

#include <array>
#include <cstring>

namespace {

constexpr std::array<POINT, 4> OUTLINE_OFFSETS = {{{-1, -1}, {1, 1}, {-1, 1}, {1, -1}}};
static_assert(static_cast<UINT>(TextAlignment::Left) == DT_LEFT &&
              static_cast<UINT>(TextAlignment::Center) == DT_CENTER &&
              static_cast<UINT>(TextAlignment::Right) == DT_RIGHT);

// Draws text in the client area less the margin, moved by offset: the margin
// at the top and on the side the text is aligned to (both sides for centred
// text), the offset on the edges that place the text. Letters beyond the
// area are cut off. Format: the alignment alone, so top-aligned, line breaks
// honoured, no wrapping, clipped, '&' prefixes on.
void drawTextFrom(HDC dc, const char* text, RECT area, TextAlignment alignment, POINT offset) {
    area.top += osdTextMargin + offset.y;
    if (alignment != TextAlignment::Right) {
        area.left += osdTextMargin + offset.x;
    }
    if (alignment != TextAlignment::Left) {
        area.right += offset.x - osdTextMargin;
    }
    DrawTextA(dc, text, static_cast<int>(std::strlen(text)), &area, static_cast<UINT>(alignment));
}

} // namespace

LRESULT paintOutlinedText(const OsdWindow& record) {
    PAINTSTRUCT paint = {};
    HDC dc = BeginPaint(record.hwnd, &paint);
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, record.font);

    RECT area;
    GetClientRect(record.hwnd, &area);
    const TextAlignment alignment = textAlignment(osdSettings.position);

    SetTextColor(dc, osdSettings.clrOutline);
    for (const POINT offset : OUTLINE_OFFSETS) {
        drawTextFrom(dc, record.text, area, alignment, offset);
    }
    SetTextColor(dc, osdSettings.clrOSD);
    drawTextFrom(dc, record.text, area, alignment, {0, 0});

    EndPaint(record.hwnd, &paint);
    return 0;
}
