// The display never takes the keyboard: a user typing into the host keeps
// typing into it while texts come and go.
#include "host/host.h"
#include "plugin_session.h"
#include "typing_window.h"

#include <gtest/gtest.h>

namespace {

TEST(Keyboard, TypingReachesTheHostBeforeWhileAndAfterTexts) {
    const TypingWindow host;
    PluginSession session("GLIMRA.timeout 60000\n");
    ASSERT_EQ(host.type('a'), "a");

    ASSERT_EQ(session.begin(), 0);
    HWND osd = session.osdWindow();
    ASSERT_TRUE(IsWindowVisible(osd)) << "the start-up name shows";
    EXPECT_EQ(host.type('b'), "ab") << "while the start-up name shows";
    host.expectStillHasTheKeyboard("while the start-up name shows");

    // The user puts the host's window away while the text shows: the system
    // activates another window, never the display, however high it stands.
    host.putAwayAndBack(osd);

    SendMessageA(osd, WM_TIMER, 1, 0);
    ASSERT_FALSE(IsWindowVisible(osd));
    EXPECT_EQ(host.type('c'), "abc") << "after the display hid";

    sendHostText("Shown again");
    ASSERT_TRUE(IsWindowVisible(osd));
    EXPECT_EQ(host.type('d'), "abcd") << "after a text showed the display again";
    host.expectStillHasTheKeyboard("after a text showed the display again");
}

} // namespace
