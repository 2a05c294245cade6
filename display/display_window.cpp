// The display window: its font, class, creation, window procedure and timer.
#include "display/display.h"

#include "display/accessibility.h"
#include "display/display_geometry.h"
#include "display/screen_density.h"
#include "plugin/host_api.h"
#include "plugin/plugin.h"
#include "settings/settings.h"

#include <cstring>

namespace {

constexpr const char* OSD_CLASS_NAME = "osd_window";
constexpr DWORD OSD_EX_STYLE = WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST;
// The display never takes the keyboard: it is made hidden and shown without
// activation, and it is disabled, so that the system does not activate it
// either when the window the user was in goes away. Clicks pass through it anyway.
constexpr DWORD OSD_STYLE = WS_POPUP | WS_DISABLED;
static_assert(OSD_EX_STYLE == 0x800A8 && OSD_STYLE == 0x88000000);

// The host keeps this list for as long as the module is loaded.
constexpr UINT registeredMessages[] = {HOST_MSG_TEXT, 0};
static_assert(sizeof(registeredMessages[0]) == 4, "the host reads 32-bit message numbers");

// The record this window procedure serves, taken from the creation parameter.
OsdWindow* procRecord;

// Unsmoothed quality: every letter pixel is the text colour itself, never
// blended with the black background that the colour key removes. The default
// character set is the system's own, so a text's bytes become the letters of
// the code page the host wrote them in, not always Western ones.
HFONT createOsdFont(int pixelHeight) {
    return CreateFontA(pixelHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, 0,
                       "Verdana");
}

// The black background brush paints exactly the colour that the key makes see-through.
bool registerOsdClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = osdWndProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = OSD_CLASS_NAME;
    return RegisterClassExA(&windowClass) != 0;
}

LRESULT onCreate(HWND window, LPARAM lParam) {
    procRecord = static_cast<OsdWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    SendMessageA(hostWnd, HOST_MSG_REGISTER, reinterpret_cast<WPARAM>(window),
                 reinterpret_cast<LPARAM>(registeredMessages));
    return 0;
}

LRESULT onTimer(HWND window, WPARAM timerId) {
    if (timerId == OSD_HIDE_TIMER) {
        ShowWindow(window, SW_HIDE);
        KillTimer(window, OSD_HIDE_TIMER);
    }
    return 0;
}

// The bytes of text that fit the buffer with its NUL, cut where a character of
// the system's code page begins: a double-byte character is never split.
size_t fittingLength(const char* text) {
    size_t length = 0;
    while (text[length] != '\0') {
        const size_t characterSize =
            IsDBCSLeadByte(static_cast<BYTE>(text[length])) && text[length + 1] != '\0' ? 2 : 1;
        if (length + characterSize >= OSD_TEXT_SIZE) {
            break;
        }
        length += characterSize;
    }
    return length;
}

// A null text would crash the host; the display then stays as it is.
LRESULT onHostText(LPARAM lParam) {
    const char* text = reinterpret_cast<const char*>(lParam);
    if (text) {
        showText(*procRecord, text, static_cast<UINT>(osdSettings.timeout));
    }
    return 0;
}

// Whether a visible window stands before the display in the system's order:
// a full-screen player that keeps itself on top, a taskbar moved to the top,
// another program's overlay. Hidden windows there cover nothing. Usually the
// display is the top window itself, and one question to the system tells.
bool anotherWindowIsAbove(HWND window) {
    for (HWND above = GetTopWindow(nullptr); above && above != window;
         above = GetWindow(above, GW_HWNDNEXT)) {
        if (IsWindowVisible(above)) {
            return true;
        }
    }
    return false;
}

// Shows the display above every other window, topmost ones included, without
// activating it, so that the keyboard stays with the user. It is raised only
// when another window stands above it: a raise restacks the window under Wine
// on every call and made a text cost three times as much.
void showOnTop(HWND window) {
    if (anotherWindowIsAbove(window)) {
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    } else {
        ShowWindow(window, SW_SHOWNOACTIVATE); // in place, already at the very top
    }
}

} // namespace

int osdTextMargin = 10;

namespace {

bool createFontClassAndWindow(OsdWindow& record, const DisplayGeometry& geometry) {
    record.font = createOsdFont(geometry.fontPixels);
    if (!record.font) {
        return false;
    }
    if (!registerOsdClass(record.instance)) {
        return false;
    }
    osdTextMargin = geometry.textMargin;
    // Read here, where a scaled screen's work area is in the window's own pixels.
    const ScreenPoint at = displayOrigin(geometry, osdSettings.position, primaryWorkArea());
    record.hwnd = CreateWindowExA(OSD_EX_STYLE, OSD_CLASS_NAME, nullptr, OSD_STYLE, at.x, at.y,
                                  geometry.width, geometry.height, GetDesktopWindow(), nullptr,
                                  record.instance, &record);
    // Every pure black pixel of the window becomes see-through.
    pSetLayeredWindowAttributes(record.hwnd, RGB(0, 0, 0), 0, LWA_COLORKEY);
    return record.hwnd != nullptr;
}

} // namespace

// A host that is not DPI-aware sees 96 dots per inch on a scaled screen, and
// the system stretches its windows, smoothing the unsmoothed letters. There
// the display is made while the thread is system-aware, so that it is drawn
// at the screen's own density, at the size and place of the stretched one;
// the host's thread gets its own awareness back whatever happens.
bool createDisplay(OsdWindow& record) {
    const int hostDotsPerInch = screenDotsPerInch();
    const int ownDotsPerInch = nativeScreenDotsPerInch();
    const DisplayGeometry geometry =
        displayGeometry(ownDotsPerInch, hostDotsPerInch, osdSettings.fontHeight);
    if (ownDotsPerInch == hostDotsPerInch) {
        return createFontClassAndWindow(record, geometry);
    }
    DPI_AWARENESS_CONTEXT hostAwareness = seeTheScreenAsItIs();
    const bool made = createFontClassAndWindow(record, geometry);
    restoreDpiAwareness(hostAwareness);
    return made;
}

void showText(OsdWindow& record, const char* text, UINT milliseconds) {
    // The rest of the buffer is NULs, as strncpy leaves it, and a long text is
    // cut to fit with its NUL.
    const size_t length = fittingLength(text);
    std::memset(record.text, 0, OSD_TEXT_SIZE);
    std::memcpy(record.text, text, length);
    showOnTop(record.hwnd);
    InvalidateRect(record.hwnd, nullptr, TRUE);
    SetTimer(record.hwnd, OSD_HIDE_TIMER, milliseconds, nullptr); // restarts a running countdown
    announceText(record.hwnd, record.text);
}

// Readers are cut off once the window is gone, when none can ask for it again.
void destroyDisplay(OsdWindow& record) {
    DestroyWindow(record.hwnd);
    releaseAccessibility();
    UnregisterClassA(OSD_CLASS_NAME, record.instance);
    if (record.font) {
        DeleteObject(record.font);
    }
}

LRESULT CALLBACK osdWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return onCreate(window, lParam);
    case WM_DESTROY:
        return 0;
    case WM_PAINT:
        if (procRecord->text[0] == '\0') {
            break;
        }
        return paintOutlinedText(*procRecord);
    case WM_TIMER:
        return onTimer(window, wParam);
    case HOST_MSG_TEXT:
        return onHostText(lParam);
    case WM_GETOBJECT:
        return answerObjectRequest(window, wParam, lParam);
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
