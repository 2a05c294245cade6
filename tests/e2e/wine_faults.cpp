#include "wine_faults.h"

#include "reference_drawing.h"
#include "screen_checks.h"

#include "host/host.h"
#include "host/screen_capture.h"

#include <cstdlib>
#include <string>

namespace {

constexpr const char* BARE_CLASS_NAME = "bare_display_window";

// What the bare window's WM_PAINT draws: nothing when the text is empty.
HFONT bareFont;
int bareFontHeight;
const char* bareText = "";

LRESULT CALLBACK bareWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT || bareText[0] == '\0') {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    PAINTSTRUCT paint = {};
    HDC dc = BeginPaint(window, &paint);
    SelectObject(dc, bareFont);
    drawLikeTheDisplay(dc, bareText, bareFontHeight);
    EndPaint(window, &paint);
    return 0;
}

void showBare(HWND window, const char* text) {
    bareText = text;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    InvalidateRect(window, nullptr, TRUE);
}

} // namespace

std::string wineVersion() {
    using GetVersionFunction = const char*(CDECL*)();
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    FARPROC function = ntdll ? GetProcAddress(ntdll, "wine_get_version") : nullptr;
    if (!function) {
        return "";
    }
    return reinterpret_cast<GetVersionFunction>(reinterpret_cast<void (*)()>(function))();
}

int wineMajorVersion() {
    return std::atoi(wineVersion().c_str());
}

ScreenImage bareWindowShownEmptyAfter(const char* text, int fontPixelHeight) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = bareWndProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = BARE_CLASS_NAME;
    RegisterClassExA(&windowClass);
    bareFont = createDisplayFont(fontPixelHeight);
    bareFontHeight = fontPixelHeight;
    HWND window =
        CreateWindowExA(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST,
                        BARE_CLASS_NAME, nullptr, WS_POPUP | WS_DISABLED, 0, 0, 800,
                        fontPixelHeight + 30, GetDesktopWindow(), nullptr, instance, nullptr);
    SetLayeredWindowAttributes(window, RGB(0, 0, 0), 0, LWA_COLORKEY);

    showBare(window, text);
    settleAndCapture(window);
    ShowWindow(window, SW_HIDE);
    showBare(window, "");
    ScreenImage image = settleAndCapture(window);

    DestroyWindow(window);
    UnregisterClassA(BARE_CLASS_NAME, instance);
    DeleteObject(bareFont);
    bareText = "";
    pumpMessagesFor(100);
    return image;
}
