// Elsewhere than Windows there is no screen to ask and no display to show.
#include "preview.h"
#include "settings/settings.h"

namespace {

// Windows' own default, and what the plug-in's sizes are usually read at.
constexpr int ASSUMED_DOTS_PER_INCH = 96;
// A common screen, 1920 x 1080, less a taskbar of 40 pixels at its bottom.
constexpr ScreenRect ASSUMED_WORK_AREA = {0, 0, 1920, 1040};

} // namespace

CheckedScreen checkedScreen() {
    return {ASSUMED_DOTS_PER_INCH, ASSUMED_DOTS_PER_INCH, ASSUMED_WORK_AREA, false};
}

bool previewSupported() {
    return false;
}

bool runPreview(const OsdSettings& /*settings*/, const PreviewRequest& /*request*/) {
    return false;
}
