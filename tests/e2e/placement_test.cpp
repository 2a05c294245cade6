// The display at the place of the work area that GLIMRA.position names, above
// a taskbar's band: its window on the work area's edges, its text aligned to
// the same side and raised above another topmost window there; and, without
// the key or with a word it does not know, at the screen's 0,0 as ever.
#include "host/host.h"
#include "host/screen_capture.h"
#include "plugin_session.h"
#include "reference_drawing.h"
#include "screen_checks.h"

#include <gtest/gtest.h>
#include <string>

namespace {

RECT windowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

std::string describe(const RECT& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + " to " +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

// The default display's font, margin and size at window's place.
DisplayPlacement placedAt(const RECT& window, UINT alignment) {
    return {72, 10, 800, 102, {window.left, window.top}, alignment};
}

struct Place {
    const char* word;
    RECT window; // 800 x 102 on the work area 0,0 to 1024,728
    UINT alignment;
};

// A band of 40 pixels at the bottom of the 1024 x 768 screen: every place
// stands above it, and the text of each is aligned to its side.
TEST(Placement, PlacesStandInTheWorkAreaWithTheirTextAlignedToTheirSide) {
    const TaskbarBand taskbar(TaskbarBand::Bottom, 40);
    ASSERT_TRUE(taskbar.holds());
    const Backdrop backdrop(WHOLE_SCREEN);
    for (const Place& place : {Place{"Bottom-Right", {224, 626, 1024, 728}, DT_RIGHT},
                               Place{"center", {112, 313, 912, 415}, DT_CENTER},
                               Place{"TOP", {112, 0, 912, 102}, DT_CENTER},
                               Place{"left", {0, 313, 800, 415}, DT_LEFT}}) {
        PluginSession session(std::string("GLIMRA.position ") + place.word + "\n");
        ASSERT_EQ(session.begin(), 0);
        HWND osd = session.osdWindow();
        const RECT rect = windowRect(osd);
        EXPECT_TRUE(EqualRect(&rect, &place.window)) << place.word << ": " << describe(rect);

        const ScreenImage expected = expectedDisplay(
            "Glimra", placedAt(place.window, place.alignment), WHITE, NEAR_BLACK, WHOLE_SCREEN);
        const ScreenImage image = showAndCapture(osd, "Glimra", WHOLE_SCREEN);
        EXPECT_EQ(firstDifference(image, expected), "") << place.word;
        // Measured apart from the drawing above: where the white letters lie.
        const RECT letters = boundsOfColour(image, WHITE);
        EXPECT_LT(letters.bottom, 728) << place.word << ": letters on the taskbar's band";
        EXPECT_GT(letters.top, place.window.top + 10) << place.word;
        const LONG middle = (letters.left + letters.right) / 2;
        switch (place.alignment) {
        case DT_RIGHT:
            EXPECT_NEAR(letters.right, 1024 - 10, 3) << place.word << ": 10 from the right edge";
            break;
        case DT_CENTER:
            EXPECT_NEAR(middle, 512, 3) << place.word << ": centred on the screen";
            break;
        default:
            EXPECT_NEAR(letters.left, 10, 4) << place.word << ": 10 from the left edge";
        }

        // Another topmost window over the whole screen, raised after the start:
        // the next text stands above it, in place.
        HWND cover = createBackdrop(GetModuleHandleA(nullptr), BACKDROP_COLOUR, WHOLE_SCREEN.cx,
                                    WHOLE_SCREEN.cy);
        SetWindowPos(cover, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        EXPECT_EQ(firstDifference(showAndCapture(osd, "Glimra", WHOLE_SCREEN), expected), "")
            << place.word << ": raised above a topmost window";
        DestroyWindow(cover);
    }
}

// A band of 40 pixels at the top: the display without the key, or with a
// word that names no place, covers it at the screen's 0,0 with today's
// pixels; top-left, a place of the work area, stands below it.
TEST(Placement, WithoutAPlaceTheDisplayStaysAtTheScreensCorner) {
    const TaskbarBand taskbar(TaskbarBand::Top, 40);
    ASSERT_TRUE(taskbar.holds());
    const Backdrop backdrop;
    const RECT corner = {0, 0, 800, 102};
    for (const char* settings :
         {"", "GLIMRA.position middle\n", "GLIMRA.position 0\n", "GLIMRA.position\tbottom\n"}) {
        PluginSession session(settings);
        ASSERT_EQ(session.begin(), 0);
        const RECT rect = windowRect(session.osdWindow());
        EXPECT_TRUE(EqualRect(&rect, &corner)) << settings << describe(rect);
        EXPECT_EQ(firstDifference(showAndCapture(session.osdWindow(), "Glimra"),
                                  expectedDisplay("Glimra", 72)),
                  "")
            << settings;
    }

    PluginSession session("GLIMRA.position top-left\n");
    ASSERT_EQ(session.begin(), 0);
    const RECT belowTheBand = {0, 40, 800, 142};
    const RECT rect = windowRect(session.osdWindow());
    EXPECT_TRUE(EqualRect(&rect, &belowTheBand)) << describe(rect);
    EXPECT_EQ(firstDifference(
                  showAndCapture(session.osdWindow(), "Glimra"),
                  expectedDisplay("Glimra", placedAt(belowTheBand, DT_LEFT), WHITE, NEAR_BLACK)),
              "");
}

} // namespace
