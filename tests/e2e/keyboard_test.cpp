// The display never takes the keyboard: a user typing into the host keeps
// typing into it while texts come and go.
#include "plugin_session.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int deactivations;

LRESULT CALLBACK typingWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) {
        ++deactivations;
    }
    if (message == WM_SETFOCUS) { // as any host window does: the keys go to its edit field
        SetFocus(GetWindow(window, GW_CHILD));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A visible window of the host with an edit field that has the keyboard focus,
// away from the display's corner.
class TypingWindow {
  public:
    TypingWindow() {
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = typingWndProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "tarvex_typing";
        RegisterClassExA(&windowClass); // fails harmlessly when already registered
        window =
            CreateWindowExA(0, "tarvex_typing", "tarvex", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200,
                            300, 400, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 300, 30,
                               window, nullptr, GetModuleHandleA(nullptr), nullptr);
        SetForegroundWindow(window);
        SetFocus(edit);
        pumpMessagesFor(300);
        deactivations = 0;
    }
    ~TypingWindow() { DestroyWindow(window); }
    TypingWindow(const TypingWindow&) = delete;
    TypingWindow& operator=(const TypingWindow&) = delete;

    // Types one lower-case letter as the user would, and tells what the field then holds.
    std::string type(char letter) const {
        INPUT keys[2] = {};
        for (INPUT& key : keys) {
            key.type = INPUT_KEYBOARD;
            key.ki.wVk = static_cast<WORD>(letter - 'a' + 'A');
        }
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, keys, sizeof(INPUT));
        pumpMessagesFor(300);
        char text[64] = {};
        GetWindowTextA(edit, text, sizeof text);
        return text;
    }

    // Hides the window, checks that the display did not become active, and
    // brings the window back as the user would.
    void putAwayAndBack(HWND osd) const {
        ShowWindow(window, SW_HIDE);
        pumpMessagesFor(300);
        EXPECT_NE(GetForegroundWindow(), osd) << "with the host's window put away";
        EXPECT_NE(GetFocus(), osd) << "with the host's window put away";
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        pumpMessagesFor(300);
        deactivations = 0;
    }

    void expectStillHasTheKeyboard(const char* when) const {
        EXPECT_EQ(GetForegroundWindow(), window) << when;
        EXPECT_EQ(GetFocus(), edit) << when;
        EXPECT_EQ(deactivations, 0) << when;
    }

    HWND window;
    HWND edit;
};

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
