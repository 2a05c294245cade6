// The host's main window: it takes plug-in registrations and sends texts.
#include "host/host.h"
#include "host/host_functions.h"
#include "plugin/host_api.h"

#include <cstdint>
#include <vector>

namespace {

constexpr const char* HOST_CLASS_NAME = "tarvex_main";
constexpr const char* BACKDROP_CLASS_NAME = "tarvex_backdrop";

HWND mainWindow;
std::vector<HostRegistration> registrations;
int backdropClicks;

// lParam is a list of message numbers ended by 0, owned by the plug-in.
LRESULT onRegister(WPARAM wParam, LPARAM lParam) {
    auto* const window = reinterpret_cast<HWND>(wParam);
    for (const auto* message = reinterpret_cast<const uint32_t*>(lParam); message && *message;
         ++message) {
        registrations.push_back({window, *message});
    }
    return 0;
}

LRESULT CALLBACK hostWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == HOST_MSG_REGISTER) {
        return onRegister(wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The backdrop's colour rides in its user data.
LRESULT CALLBACK backdropWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: {
        RECT area;
        GetClientRect(window, &area);
        HBRUSH brush =
            CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrA(window, GWLP_USERDATA)));
        FillRect(reinterpret_cast<HDC>(wParam), &area, brush);
        DeleteObject(brush);
        return 1;
    }
    case WM_LBUTTONDOWN:
        ++backdropClicks;
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

HWND createBackdrop(HINSTANCE instance, COLORREF colour, int width, int height) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = backdropWndProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = BACKDROP_CLASS_NAME;
    RegisterClassExA(&windowClass); // fails harmlessly when already registered
    HWND backdrop = CreateWindowExA(0, BACKDROP_CLASS_NAME, "backdrop", WS_POPUP, 0, 0, width,
                                    height, nullptr, nullptr, instance, nullptr);
    SetWindowLongPtrA(backdrop, GWLP_USERDATA, static_cast<LONG_PTR>(colour));
    ShowWindow(backdrop, SW_SHOWNOACTIVATE);
    UpdateWindow(backdrop);
    return backdrop;
}

int backdropClickCount() {
    return backdropClicks;
}

HWND createHostWindow(HINSTANCE instance) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = hostWndProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = HOST_CLASS_NAME;
    RegisterClassExA(&windowClass);
    mainWindow = CreateWindowExA(0, HOST_CLASS_NAME, "tarvex", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                 CW_USEDEFAULT, 320, 200, nullptr, nullptr, instance, nullptr);
    char ownPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, ownPath, MAX_PATH);
    ownPath[MAX_PATH - 1] = '\0';
    hostAnswers = HostAnswers{};
    hostAnswers.mainWindow = mainWindow;
    hostAnswers.hostPath = ownPath;
    return mainWindow;
}

void destroyHostWindow() {
    DestroyWindow(mainWindow);
    mainWindow = nullptr;
    registrations.clear();
}

const std::vector<HostRegistration>& hostRegistrations() {
    return registrations;
}

HWND registeredWindow() {
    return registrations.empty() ? nullptr : registrations.back().window;
}

int sendHostText(const char* text) {
    int receivers = 0;
    // A copy: a receiving window may register or go away while it handles the text.
    const std::vector<HostRegistration> current = registrations;
    for (const HostRegistration& registration : current) {
        if (registration.message == HOST_MSG_TEXT && IsWindow(registration.window)) {
            SendMessageA(registration.window, HOST_MSG_TEXT, 0, reinterpret_cast<LPARAM>(text));
            ++receivers;
        }
    }
    return receivers;
}

void pumpMessagesFor(DWORD milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (;;) { // at least once: pumpMessagesFor(0) handles what is already waiting
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            return;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now),
                                  QS_ALLINPUT);
    }
}
