// The display's size, text origin and place on the screen, in the screen's own
// pixels, for a host that may see the screen at another density than it has.
#pragma once

#include "settings/settings.h"

#include <cstdint>

struct DisplayGeometry {
    int fontPixels; // the font's cell height
    int width;
    int height;
    int textMargin; // the text's origin, this far from the left and top edges
};

// At hostDotsPerInch the display is 800 wide, the font's height plus 30 tall,
// with its text from (10, 10). Where the screen has another density, as a host
// that is not DPI-aware is shown 96 on a scaled screen, the system would
// stretch that display: this is the same size and place at the screen's own
// density, with a font made for it. Equal densities give the display unscaled.
DisplayGeometry displayGeometry(int ownDotsPerInch, int hostDotsPerInch, int32_t fontHeight);

// A rectangle of the screen: left and top inside it, right and bottom just beyond.
struct ScreenRect {
    int left;
    int top;
    int right;
    int bottom;
};

struct ScreenPoint {
    int x;
    int y;
};

// Where the top-left corner of a display of geometry's size stands for
// position in the work area: at the screen's 0,0 for ScreenCorner; otherwise
// so that the display's edges lie on the work area's edges that the place
// names, and it is centred along the other axis (both for Center). A display
// wider or taller than the work area keeps its size and reaches beyond the
// edge opposite the one it stands on.
ScreenPoint displayOrigin(const DisplayGeometry& geometry, DisplayPosition position,
                          const ScreenRect& workArea);

// The values are those of the platform's DT_LEFT, DT_CENTER and DT_RIGHT.
enum class TextAlignment : uint8_t { Left = 0, Center = 1, Right = 2 };

// The side of the window the text is aligned to: that of the place, centred
// for top, center and bottom, left for the screen's corner. The nine places
// are three rows of three, in the order of DisplayPosition from TopLeft on.
constexpr TextAlignment textAlignment(DisplayPosition position) {
    return position == DisplayPosition::ScreenCorner
               ? TextAlignment::Left
               : static_cast<TextAlignment>((static_cast<int>(position) - 1) % 3);
}
