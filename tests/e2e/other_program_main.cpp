// Another program on the same desktop, as a video player or a game is: a
// process of its own with one window of one solid colour, which the
// end-to-end tests start to see the display stand above it.
//
//   other_program.exe topmost BBGGRR WIDTH HEIGHT
//   other_program.exe full-screen BBGGRR
//
// "topmost" raises a topmost window of that size over the screen's top-left
// corner without taking the keyboard, and raises it again at each WM_APP, as
// a player that keeps itself on top does. "full-screen" shows a borderless
// window over the whole screen that is not topmost and takes the foreground,
// as a game does. The window's title counts its left clicks ("clicks 1").
// The program ends when its window is closed, or after a minute.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr UINT_PTR LIFETIME_TIMER = 1;
constexpr UINT LIFETIME_MILLISECONDS = 60000;
int clicks;

void raiseWithoutActivation(HWND window) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

LRESULT CALLBACK otherWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_APP:
        raiseWithoutActivation(window);
        return 0;
    case WM_LBUTTONDOWN: {
        char title[32];
        std::snprintf(title, sizeof title, "clicks %d", ++clicks);
        SetWindowTextA(window, title);
        return 0;
    }
    case WM_TIMER:
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int main(int argc, char** argv) {
    const bool topmost = argc == 5 && std::strcmp(argv[1], "topmost") == 0;
    const bool fullScreen = argc == 3 && std::strcmp(argv[1], "full-screen") == 0;
    if (!topmost && !fullScreen) {
        std::fprintf(stderr, "usage: other_program.exe topmost BBGGRR WIDTH HEIGHT | "
                             "full-screen BBGGRR\n");
        return 2;
    }
    const auto colour = static_cast<COLORREF>(std::strtoul(argv[2], nullptr, 16));
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = otherWndProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = CreateSolidBrush(colour);
    windowClass.lpszClassName = "other_program";
    RegisterClassExA(&windowClass);

    const int width = topmost ? std::atoi(argv[3]) : GetSystemMetrics(SM_CXSCREEN);
    const int height = topmost ? std::atoi(argv[4]) : GetSystemMetrics(SM_CYSCREEN);
    HWND window =
        CreateWindowExA(topmost ? WS_EX_TOPMOST : 0, "other_program", "clicks 0", WS_POPUP, 0, 0,
                        width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (topmost) {
        raiseWithoutActivation(window);
    } else {
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
    }
    UpdateWindow(window);
    SetTimer(window, LIFETIME_TIMER, LIFETIME_MILLISECONDS, nullptr);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return 0;
}
