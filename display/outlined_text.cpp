// Painting: the text four times in the outline colour, one pixel off on each
// diagonal, then once in the letter colour on top.
#include "display/display.h"

#include "plugin/plugin.h"
#include "settings/settings.h"

#include <array>
#include <cstring>

namespace {

constexpr std::array<POINT, 4> OUTLINE_OFFSETS = {{{-1, -1}, {1, 1}, {-1, 1}, {1, -1}}};

// Format 0: top-left, line breaks honoured, no wrapping, clipped, '&' prefixes on.
void drawTextFrom(HDC dc, const char* text, RECT area, POINT offset) {
    area.left += offset.x;
    area.top += offset.y;
    DrawTextA(dc, text, static_cast<int>(std::strlen(text)), &area, 0);
}

} // namespace

LRESULT paintOutlinedText(const OsdWindow& record) {
    PAINTSTRUCT paint = {};
    HDC dc = BeginPaint(record.hwnd, &paint);
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, record.font);

    RECT area;
    GetClientRect(record.hwnd, &area);
    area.left += osdTextMargin;
    area.top += osdTextMargin;

    SetTextColor(dc, osdSettings.clrOutline);
    for (const POINT offset : OUTLINE_OFFSETS) {
        drawTextFrom(dc, record.text, area, offset);
    }
    SetTextColor(dc, osdSettings.clrOSD);
    drawTextFrom(dc, record.text, area, {0, 0});

    EndPaint(record.hwnd, &paint);
    return 0;
}
