// The preview: GLIMRA.dll's own display code, built into glimra-check, with
// glimra-check as its host. A hidden window of ours takes the display's
// registration, and the text reaches the display as the host's message, so
// that it is shown and timed exactly as in the host.
#include "plugin/host_api.h"
#include "plugin/plugin.h"
#include "preview.h"

#include "display/display.h"
#include "display/screen_density.h"
#include "host/screen_capture.h"
#include "settings/settings.h"

#include <objbase.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr const char* HOST_CLASS_NAME = "glimra_check_host";
constexpr UINT_PTR SCREENSHOT_TIMER = 1;
// Painting comes first, but Wine puts a colour-keyed window on the X screen a
// little after it is painted.
constexpr UINT SCREENSHOT_DELAY_MS = 500;
// Around the window, to show where it ends.
constexpr int SCREENSHOT_MARGIN = 40;

// The window that registered for the host's texts: the display's.
HWND textReceiver;
DWORD previewThread;
std::string screenshotPath;
bool screenshotTaken;

// The display's window and the margin around it that lies on the screen, in
// the screen's own pixels, in which a display on a scaled screen is made.
void saveScreenshot(HWND display) {
    DPI_AWARENESS_CONTEXT checkerAwareness = seeTheScreenAsItIs();
    RECT rect = {};
    GetWindowRect(display, &rect);
    const RECT area = {
        std::max<LONG>(rect.left - SCREENSHOT_MARGIN, 0),
        std::max<LONG>(rect.top - SCREENSHOT_MARGIN, 0),
        std::min<LONG>(rect.right + SCREENSHOT_MARGIN, GetSystemMetrics(SM_CXSCREEN)),
        std::min<LONG>(rect.bottom + SCREENSHOT_MARGIN, GetSystemMetrics(SM_CYSCREEN))};
    restoreDpiAwareness(checkerAwareness);
    const bool saved = saveBitmap(captureScreenArea(area), screenshotPath.c_str());
    std::printf(saved ? "screenshot: %s\n" : "screenshot: cannot write %s\n",
                screenshotPath.c_str());
    std::fflush(stdout);
    screenshotTaken = true;
}

// lParam is the display's list of wanted messages, ended by 0.
LRESULT CALLBACK previewHostWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == HOST_MSG_REGISTER) {
        for (const auto* wanted = reinterpret_cast<const uint32_t*>(lParam); wanted && *wanted;
             ++wanted) {
            textReceiver = *wanted == HOST_MSG_TEXT ? reinterpret_cast<HWND>(wParam) : textReceiver;
        }
        return 0;
    }
    if (message == WM_TIMER && wParam == SCREENSHOT_TIMER) {
        KillTimer(window, SCREENSHOT_TIMER);
        saveScreenshot(textReceiver);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Runs on a thread of its own: the preview's loop ends and releases what it made.
BOOL WINAPI onConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) {
        return FALSE;
    }
    PostThreadMessageA(previewThread, WM_QUIT, 0, 0);
    return TRUE;
}

HWND createPreviewHost(HINSTANCE instance) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = previewHostWndProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = HOST_CLASS_NAME;
    RegisterClassExA(&windowClass);
    // A message-only window: it can never show nor take the keyboard.
    return CreateWindowExA(0, HOST_CLASS_NAME, "glimra-check", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           instance, nullptr);
}

void announce(const std::string& text, int32_t timeout) {
    if (timeout < 0) {
        std::printf("preview: \"%s\" stays up for about 24 days (timeout %d): Ctrl+C ends it\n",
                    text.c_str(), timeout);
    } else {
        std::printf("preview: \"%s\" for %d ms\n", text.c_str(), timeout);
    }
    std::fflush(stdout);
}

// The visibility is checked before each wait: the hide is the last message.
bool runUntilHidden(HWND display) {
    MSG message;
    while (IsWindowVisible(display)) {
        if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

void showAndWait(HWND display, const PreviewRequest& request, int32_t timeout) {
    announce(request.text, timeout);
    SetConsoleCtrlHandler(nullptr, FALSE); // Ctrl+C ends the preview even if our parent ignores it
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
    SendMessageA(display, HOST_MSG_TEXT, 0, reinterpret_cast<LPARAM>(request.text.c_str()));
    screenshotPath = request.screenshotPath;
    screenshotTaken = false;
    if (!screenshotPath.empty()) {
        SetTimer(hostWnd, SCREENSHOT_TIMER, SCREENSHOT_DELAY_MS, nullptr);
    }
    const bool hidden = runUntilHidden(display);
    SetConsoleCtrlHandler(onConsoleControl, FALSE);
    if (!screenshotPath.empty() && !screenshotTaken) {
        std::printf("screenshot: none: the text hid within %u ms\n", SCREENSHOT_DELAY_MS);
    }
    std::puts(hidden ? "preview: hidden" : "preview: ended by Ctrl+C");
}

} // namespace

// The checker is not DPI-aware, as a host written for Windows 2000 is not:
// on a scaled screen it sees what such a host sees, and so does its preview.
// The work area is read as the display reads it there, in the screen's own pixels.
CheckedScreen checkedScreen() {
    DPI_AWARENESS_CONTEXT checkerAwareness = seeTheScreenAsItIs();
    const ScreenRect workArea = primaryWorkArea();
    restoreDpiAwareness(checkerAwareness);
    return {nativeScreenDotsPerInch(), screenDotsPerInch(), workArea, true};
}

bool previewSupported() {
    return true;
}

bool runPreview(const OsdSettings& settings, const PreviewRequest& request) {
    findLayeredWindowSupport(); // as the plug-in looks it up
    if (!pSetLayeredWindowAttributes) {
        std::fprintf(stderr, "glimra-check: no preview: this Windows has no see-through windows, "
                             "which Glimra needs (Windows 2000 or later)\n");
        return false;
    }
    // As a host's thread with windows has, so that screen readers hear the
    // preview's text as an alert, as the plug-in's.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    previewThread = GetCurrentThreadId();
    hostWnd = createPreviewHost(instance);
    osdSettings = settings;
    OsdWindow record = {};
    record.instance = instance;
    textReceiver = nullptr;
    const bool made = hostWnd && createDisplay(record) && textReceiver;
    if (made) {
        showAndWait(textReceiver, request, settings.timeout);
    } else {
        std::fprintf(stderr, "glimra-check: no preview: the display window could not be made\n");
    }
    destroyDisplay(record);
    DestroyWindow(hostWnd);
    UnregisterClassA(HOST_CLASS_NAME, instance);
    hostWnd = nullptr;
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return made;
}
