// What glimra-check asks of the system it runs on: the screen's density and
// work area, and the preview, which shows a text with the plug-in's own display code.
#pragma once

#include "display/display_geometry.h"
#include "settings/settings.h"

#include <string>

struct CheckedScreen {
    int dotsPerInch;     // the screen's own
    int hostDotsPerInch; // what a host that is not DPI-aware sees: 96 where the system stretches
    ScreenRect workArea; // the primary monitor's, in the screen's own pixels
    bool measured;       // otherwise assumed: there is no Windows screen to ask
};

// The densities that the display's font and window follow on this screen, and
// the work area that its place is found in.
CheckedScreen checkedScreen();

// Whether this build can show a preview at all (only Windows can).
bool previewSupported();

struct PreviewRequest {
    std::string text;
    std::string screenshotPath; // empty: none
};

// Shows request.text with settings as GLIMRA.dll would in a host, until the
// display hides (or Ctrl+C), and releases everything it made; false, with a
// message, when the display could not be made.
bool runPreview(const OsdSettings& settings, const PreviewRequest& request);
