#include "typing_window.h"

#include "host/host.h"

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

} // namespace

TypingWindow::TypingWindow() {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = typingWndProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "tarvex_typing";
    RegisterClassExA(&windowClass); // fails harmlessly when already registered
    window = CreateWindowExA(0, "tarvex_typing", "tarvex", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200,
                             300, 400, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 300, 30,
                           window, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(window);
    SetFocus(edit);
    pumpMessagesFor(300);
    deactivations = 0;
}

TypingWindow::~TypingWindow() {
    DestroyWindow(window);
}

std::string TypingWindow::type(char letter) const {
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

void TypingWindow::putAwayAndBack(HWND osd) const {
    ShowWindow(window, SW_HIDE);
    pumpMessagesFor(300);
    EXPECT_NE(GetForegroundWindow(), osd) << "with the host's window put away";
    EXPECT_NE(GetFocus(), osd) << "with the host's window put away";
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    pumpMessagesFor(300);
    deactivations = 0;
}

void TypingWindow::expectStillHasTheKeyboard(const char* when) const {
    EXPECT_EQ(GetForegroundWindow(), window) << when;
    EXPECT_EQ(GetFocus(), edit) << when;
    EXPECT_EQ(deactivations, 0) << when;
}
