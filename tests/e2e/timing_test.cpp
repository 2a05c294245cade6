// How long texts stay on screen, each hide timed against its bounds (see
// HIDE_EARLY_MARGIN_MS and HIDE_LATE_MARGIN_MS).
#include "host/host.h"
#include "plugin_session.h"
#include "timing_checks.h"

#include <gtest/gtest.h>

namespace {

constexpr WPARAM HIDE_TIMER = 1;

// The start-up name's ten seconds do not follow the timeout, here longer.
TEST(DisplayTiming, StartupNameStaysTenSecondsWhateverTheTimeout) {
    PluginSession session("GLIMRA.timeout 20000\n");
    ASSERT_EQ(session.begin(), 0);
    const double armed = nowMilliseconds(); // the timer is the last thing beginPlugin sets
    HWND osd = session.osdWindow();
    EXPECT_TRUE(IsWindowVisible(osd));
    expectHiddenAfter(osd, armed, 10000);
}

TEST(DisplayTiming, HostTextHidesAfterTheTimeoutAndShowsAgain) {
    PluginSession session("GLIMRA.timeout 800\n");
    ASSERT_EQ(session.begin(), 0);
    HWND osd = session.osdWindow();
    for (int round = 0; round < 2; ++round) {
        const double start = nowMilliseconds();
        sendHostText("Timed");
        EXPECT_TRUE(IsWindowVisible(osd)) << "round " << round;
        expectHiddenAfter(osd, start, 800);
    }
}

// The first text alone would hide 500 ms after the second arrives.
TEST(DisplayTiming, NewTextRestartsTheCountdown) {
    PluginSession session("GLIMRA.timeout 1500\n");
    ASSERT_EQ(session.begin(), 0);
    HWND osd = session.osdWindow();
    sendHostText("first");
    pumpMessagesFor(1000);
    const double second = nowMilliseconds();
    sendHostText("second");
    expectHiddenAfter(osd, second, 1500);
}

TEST(DisplayTiming, ZeroTimeoutHidesAtOnce) {
    PluginSession session("GLIMRA.timeout 0\n");
    ASSERT_EQ(session.begin(), 0);
    const double start = nowMilliseconds();
    sendHostText("gone");
    expectHiddenAfter(session.osdWindow(), start, 0);
}

// A negative timeout reaches the timer as a huge unsigned number, which the
// system caps at about 24.8 days: the text simply stays.
TEST(DisplayTiming, NegativeTimeoutKeepsTheTextUp) {
    PluginSession session("GLIMRA.timeout -1\n");
    ASSERT_EQ(session.begin(), 0);
    sendHostText("stays");
    pumpMessagesFor(1500);
    EXPECT_TRUE(IsWindowVisible(session.osdWindow()));
}

// Another timer's message neither hides the text nor stops its countdown.
TEST(DisplayTiming, OnlyTheHideTimerHides) {
    PluginSession session("GLIMRA.timeout 800\n");
    ASSERT_EQ(session.begin(), 0);
    HWND osd = session.osdWindow();
    const double start = nowMilliseconds();
    sendHostText("Timed");
    EXPECT_EQ(SendMessageA(osd, WM_TIMER, 2, 0), 0);
    EXPECT_EQ(SendMessageA(osd, WM_TIMER, 0, 0), 0);
    EXPECT_TRUE(IsWindowVisible(osd));
    expectHiddenAfter(osd, start, 800);

    sendHostText("again");
    EXPECT_EQ(SendMessageA(osd, WM_TIMER, HIDE_TIMER, 0), 0);
    EXPECT_FALSE(IsWindowVisible(osd));
}

} // namespace
