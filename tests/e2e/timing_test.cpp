// How long texts stay on screen. Margins are wide so that a busy machine
// does not make these checks flake.
#include "e2e_support.h"

#include <gtest/gtest.h>

namespace {

// Pumps messages until the given time after start.
void pumpUntil(ULONGLONG start, DWORD milliseconds) {
    const ULONGLONG now = GetTickCount64();
    if (now < start + milliseconds) {
        pumpMessagesFor(static_cast<DWORD>(start + milliseconds - now));
    }
}

TEST(DisplayTiming, StartupNameStaysTenSecondsWhateverTheTimeout) {
    PluginSession session("GLIMRA.timeout 1000\n");
    const ULONGLONG start = GetTickCount64();
    ASSERT_EQ(session.begin(), 0);
    HWND osd = session.osdWindow();
    pumpUntil(start, 3500);
    EXPECT_TRUE(IsWindowVisible(osd));
    pumpUntil(start, 9300);
    EXPECT_TRUE(IsWindowVisible(osd));
    pumpUntil(start, 11500);
    EXPECT_FALSE(IsWindowVisible(osd));
}

TEST(DisplayTiming, HostTextHidesAfterTheTimeoutAndShowsAgain) {
    PluginSession session("GLIMRA.timeout 800\n");
    ASSERT_EQ(session.begin(), 0);
    HWND osd = session.osdWindow();
    for (int round = 0; round < 2; ++round) {
        const ULONGLONG start = GetTickCount64();
        sendHostText("Timed");
        pumpUntil(start, 300);
        EXPECT_TRUE(IsWindowVisible(osd)) << "round " << round;
        pumpUntil(start, 1700);
        EXPECT_FALSE(IsWindowVisible(osd)) << "round " << round;
    }
}

TEST(DisplayTiming, NewTextRestartsTheCountdown) {
    PluginSession session("GLIMRA.timeout 1500\n");
    ASSERT_EQ(session.begin(), 0);
    HWND osd = session.osdWindow();
    sendHostText("first");
    pumpMessagesFor(1000);
    const ULONGLONG second = GetTickCount64();
    sendHostText("second");
    pumpUntil(second, 1000); // 2 s after the first text, which alone would be gone
    EXPECT_TRUE(IsWindowVisible(osd));
    pumpUntil(second, 2400);
    EXPECT_FALSE(IsWindowVisible(osd));
}

TEST(DisplayTiming, ZeroTimeoutHidesAtOnce) {
    PluginSession session("GLIMRA.timeout 0\n");
    ASSERT_EQ(session.begin(), 0);
    sendHostText("gone");
    pumpMessagesFor(600);
    EXPECT_FALSE(IsWindowVisible(session.osdWindow()));
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

TEST(DisplayTiming, OnlyTheHideTimerHides) {
    PluginSession session;
    ASSERT_EQ(session.begin(), 0);
    HWND osd = session.osdWindow();
    EXPECT_EQ(SendMessageA(osd, WM_TIMER, 2, 0), 0);
    EXPECT_EQ(SendMessageA(osd, WM_TIMER, 0, 0), 0);
    EXPECT_TRUE(IsWindowVisible(osd));
    EXPECT_EQ(SendMessageA(osd, WM_TIMER, 1, 0), 0);
    EXPECT_FALSE(IsWindowVisible(osd));
}

} // namespace
