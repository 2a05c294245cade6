#include "other_program.h"

#include "host/host.h"
#include "plugin_session.h"
#include "screen_checks.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// Under an emulated x86 a program takes some seconds to show its window.
constexpr DWORD SHOW_WAIT_MILLISECONDS = 30000;

// Each test runs in a Wine prefix of its own, with one other program at a time.
HWND shownWindow() {
    HWND window = FindWindowA("other_program", nullptr);
    return window && IsWindowVisible(window) ? window : nullptr;
}

} // namespace

OtherProgram::OtherProgram(const char* kind, COLORREF colour) {
    char arguments[64];
    if (std::string(kind) == "topmost") {
        std::snprintf(arguments, sizeof arguments, " topmost %06lX %d %d",
                      static_cast<unsigned long>(colour), SHOT_WIDTH, SHOT_HEIGHT);
    } else {
        std::snprintf(arguments, sizeof arguments, " %s %06lX", kind,
                      static_cast<unsigned long>(colour));
    }
    std::string commandLine = quotedProgramBesideThePlugin("other_program.exe") + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        ADD_FAILURE() << "cannot start " << commandLine;
        return;
    }
    const ULONGLONG deadline = GetTickCount64() + SHOW_WAIT_MILLISECONDS;
    while (!(handle = shownWindow()) && GetTickCount64() < deadline &&
           WaitForSingleObject(process.hProcess, 10) == WAIT_TIMEOUT) {
        pumpMessagesFor(0);
    }
    EXPECT_NE(handle, nullptr) << commandLine << " showed no window";
    pumpMessagesFor(300); // its paint, and the X server's restacking
}

OtherProgram::~OtherProgram() {
    if (!process.hProcess) {
        return;
    }
    if (handle) {
        PostMessageA(handle, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

void OtherProgram::raiseAgain() const {
    SendMessageA(handle, WM_APP, 0, 0);
    pumpMessagesFor(300);
}

int OtherProgram::clicks() const {
    char title[32] = {};
    GetWindowTextA(handle, title, sizeof title);
    int count = -1;
    std::sscanf(title, "clicks %d", &count);
    return count;
}

bool standsAbove(HWND upper, HWND lower) {
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (window == upper || window == lower) {
            return window == upper;
        }
    }
    return false;
}
