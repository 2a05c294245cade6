// The display above other programs' windows on the same desktop: a topmost
// one raised after the plug-in started (a player that keeps itself on top, a
// taskbar moved to the top, another program's overlay) and a full-screen one
// that is not topmost (a borderless game), while the user types into the host.
#include "host/screen_capture.h"
#include "other_program.h"
#include "plugin_session.h"
#include "reference_drawing.h"
#include "screen_checks.h"
#include "typing_window.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

constexpr COLORREF OTHER_PROGRAMS_GREEN = RGB(0, 200, 0);

// What the display must show for text over the other program's window.
ScreenImage expectedOverTheOtherProgram(const char* text) {
    ScreenImage image = expectedDisplay(text, 72);
    std::replace(image.pixels.begin(), image.pixels.end(), BACKDROP_COLOUR, OTHER_PROGRAMS_GREEN);
    return image;
}

// Nothing of the display shows: the other program's window covers the shot.
void expectCoveredByTheOtherProgram(HWND osd, const char* when) {
    EXPECT_EQ(countColour(settleAndCapture(osd), OTHER_PROGRAMS_GREEN), SHOT_WIDTH * SHOT_HEIGHT)
        << when;
}

void expectShownAbove(HWND osd, const OtherProgram& other, const char* text, const char* when) {
    EXPECT_EQ(firstDifference(showAndCapture(osd, text), expectedOverTheOtherProgram(text)), "")
        << when;
    EXPECT_TRUE(standsAbove(osd, other.window())) << when;
}

TEST(OnTop, TextGoesAboveATopmostWindowRaisedOverTheHiddenOrTheShowingDisplay) {
    const TypingWindow user;
    PluginSession session("GLIMRA.timeout 60000\n");
    ASSERT_EQ(session.begin(), 0);
    HWND osd = session.osdWindow();
    SendMessageA(osd, WM_TIMER, 1, 0); // the start-up name's time is up
    ASSERT_FALSE(IsWindowVisible(osd));

    const OtherProgram player("topmost", OTHER_PROGRAMS_GREEN);
    ASSERT_NE(player.window(), nullptr);
    expectCoveredByTheOtherProgram(osd, "raised over the hidden display");
    ASSERT_TRUE(standsAbove(player.window(), osd));
    expectShownAbove(osd, player, "Above it", "a text after it was raised over the hidden display");
    EXPECT_EQ(user.type('a'), "a");
    user.expectStillHasTheKeyboard("a text shown above the hidden display's cover");

    player.raiseAgain();
    ASSERT_TRUE(IsWindowVisible(osd));
    expectCoveredByTheOtherProgram(osd, "raised over the showing display");
    expectShownAbove(osd, player, "Above again", "a text after it was raised over the showing one");
    EXPECT_EQ(user.type('b'), "ab");
    user.expectStillHasTheKeyboard("a text shown above the showing display's cover");
}

// A game's borderless window over the whole screen takes the foreground but
// is not topmost: the display's texts stay above it. (Started while the
// display shows, it would cover the display on an X screen with no window
// manager, where Wine raises a window that it activates above all others on
// the screen, whatever Windows' own order says.)
TEST(OnTop, FullScreenWindowThatIsNotTopmostStaysBeneath) {
    PluginSession session("GLIMRA.timeout 60000\n");
    ASSERT_EQ(session.begin(), 0);
    HWND osd = session.osdWindow();
    SendMessageA(osd, WM_TIMER, 1, 0);
    const OtherProgram game("full-screen", OTHER_PROGRAMS_GREEN);
    ASSERT_NE(game.window(), nullptr);
    expectCoveredByTheOtherProgram(osd, "the display hidden, the game in the foreground");
    EXPECT_EQ(GetForegroundWindow(), game.window());

    expectShownAbove(osd, game, "Over the game", "a text while the game runs");
}

} // namespace
