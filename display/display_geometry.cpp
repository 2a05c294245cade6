// The display's size and text origin, stretched as the system would stretch a
// host's window, but drawn at the screen's own density; and its place.
#include "display/display_geometry.h"

#include "settings/settings.h"

#include <cstdint>

namespace {

constexpr int OSD_WIDTH = 800;
constexpr int OSD_HEIGHT_BEYOND_FONT = 30;
constexpr int OSD_TEXT_MARGIN = 10;

// pixels * to / from, rounded to the nearest whole pixel, as MulDiv rounds.
int scaled(int64_t pixels, int to, int from) {
    const int64_t product = pixels * to;
    const int64_t half = from / 2;
    return static_cast<int>(product >= 0 ? (product + half) / from : (product - half) / from);
}

// Where a span of length starts on the axis from start to end, for step 0,
// 1 or 2: at start, in the middle, or ending at end.
int placeOnAxis(int step, int start, int end, int length) {
    return start + (end - start - length) * step / 2;
}

} // namespace

DisplayGeometry displayGeometry(int ownDotsPerInch, int hostDotsPerInch, int32_t fontHeight) {
    const int hostFontPixels = fontPixelHeight(hostDotsPerInch, fontHeight);
    const int64_t hostHeight = static_cast<int64_t>(hostFontPixels) + OSD_HEIGHT_BEYOND_FONT;
    if (ownDotsPerInch == hostDotsPerInch || ownDotsPerInch <= 0 || hostDotsPerInch <= 0) {
        return {hostFontPixels, OSD_WIDTH, static_cast<int>(hostHeight), OSD_TEXT_MARGIN};
    }
    return {fontPixelHeight(ownDotsPerInch, fontHeight),
            scaled(OSD_WIDTH, ownDotsPerInch, hostDotsPerInch),
            scaled(hostHeight, ownDotsPerInch, hostDotsPerInch),
            scaled(OSD_TEXT_MARGIN, ownDotsPerInch, hostDotsPerInch)};
}

ScreenPoint displayOrigin(const DisplayGeometry& geometry, DisplayPosition position,
                          const ScreenRect& workArea) {
    if (position == DisplayPosition::ScreenCorner) {
        return {0, 0};
    }
    // Three rows of three places: the column and the row are each 0 (left,
    // top), 1 (the middle) or 2 (right, bottom).
    const int place = static_cast<int>(position) - 1;
    return {placeOnAxis(place % 3, workArea.left, workArea.right, geometry.width),
            placeOnAxis(place / 3, workArea.top, workArea.bottom, geometry.height)};
}
