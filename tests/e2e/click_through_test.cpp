// The display never takes the mouse: clicks on its letters reach the window beneath.
#include "host/host.h"
#include "host/screen_capture.h"
#include "other_program.h"
#include "plugin_session.h"
#include "screen_checks.h"

#include <gtest/gtest.h>

namespace {

POINT firstPixelOf(const ScreenImage& image, COLORREF colour) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (image.at(x, y) == colour) {
                return {x, y};
            }
        }
    }
    return {-1, -1};
}

void clickAt(POINT point) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = (point.x * 65536 + screenWidth / 2) / screenWidth;
        input.mi.dy = (point.y * 65536 + screenHeight / 2) / screenHeight;
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(3, inputs, sizeof(INPUT));
}

TEST(ClickThrough, ClickOnALetterReachesTheWindowBeneath) {
    const Backdrop backdrop;
    PluginSession session;
    ASSERT_EQ(session.begin(), 0);
    const POINT letter = firstPixelOf(showAndCapture(session.osdWindow(), "Glimra"), WHITE);
    ASSERT_GE(letter.x, 0) << "the text is on screen";

    EXPECT_EQ(WindowFromPoint(letter), backdrop.window());
    clickAt(letter);
    pumpMessagesFor(500);
    EXPECT_EQ(backdrop.clicks(), 1);
}

// Over another program's topmost window, which the display was raised above,
// a click on a letter reaches that program.
TEST(ClickThrough, ClickOnALetterReachesAnotherProgramsTopmostWindowBeneath) {
    PluginSession session;
    ASSERT_EQ(session.begin(), 0);
    HWND osd = session.osdWindow();
    SendMessageA(osd, WM_TIMER, 1, 0);
    const OtherProgram player("topmost", RGB(0, 200, 0));
    ASSERT_NE(player.window(), nullptr);
    const POINT letter = firstPixelOf(showAndCapture(osd, "Glimra"), WHITE);
    ASSERT_GE(letter.x, 0) << "the text is on screen, above the other program's window";

    EXPECT_EQ(WindowFromPoint(letter), player.window());
    clickAt(letter);
    pumpMessagesFor(500);
    EXPECT_EQ(player.clicks(), 1);
}

} // namespace
