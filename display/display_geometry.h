// The display's size and text origin, in the screen's own pixels, for a host
// that may see the screen at another density than it has.
#pragma once

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
