// Elsewhere than Windows there is no screen to ask and no display to show.
#include "preview.h"
#include "settings/settings.h"

namespace {

// Windows' own default, and what the plug-in's sizes are usually read at.
constexpr int ASSUMED_DOTS_PER_INCH = 96;

} // namespace

ScreenDensity checkerScreenDensity() {
    return {ASSUMED_DOTS_PER_INCH, ASSUMED_DOTS_PER_INCH, false};
}

bool previewSupported() {
    return false;
}

bool runPreview(const OsdSettings& /*settings*/, const PreviewRequest& /*request*/) {
    return false;
}
