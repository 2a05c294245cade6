// Times the real GLIMRA.dll in a host: beginPlugin, and each text from
// HOST_MSG_TEXT to the end of its paint, beside the floor: the least that
// any display of this kind costs here, measured in the same run, text by
// text in turn, so that machine noise falls on both alike. Then checks
// that a hidden display leaves no timer running and gets no wake-ups. Prints
// figures; run as
//   tarvex.exe --plugin PATH\GLIMRA.dll [--texts N] [--position WORD]
// --position times the display at that GLIMRA.position: a copy of the DLL is
// loaded from a temporary folder beside a settings file naming the place, and
// the floor aligns its text as the display does there.
#include "display/screen_density.h"
#include "host/host.h"
#include "host/host_startup.h"
#include "host/plugin_loader.h"
#include "plugin/host_api.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr UINT_PTR HIDE_TIMER = 1;
constexpr UINT FLOOR_TEXT = WM_APP;
constexpr int FLOOR_TOP = 300; // away from the display, so that neither covers the other

double secondsPerTick() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1.0 / static_cast<double>(frequency.QuadPart);
}

LONGLONG now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

// A 127-byte text: the longest the display keeps whole.
std::string benchmarkText() {
    std::string text = "Glimra benchmark text ";
    while (text.size() < 127) {
        text += static_cast<char>('a' + (text.size() % 26));
    }
    return text;
}

double percentile(std::vector<double> milliseconds, double share) {
    std::sort(milliseconds.begin(), milliseconds.end());
    return milliseconds[static_cast<size_t>(share * static_cast<double>(milliseconds.size() - 1))];
}

void printPercentiles(const char* what, const std::vector<double>& milliseconds) {
    std::printf("%s over %zu texts: median %.3f ms, p99 %.3f ms, max %.3f ms\n", what,
                milliseconds.size(), percentile(milliseconds, 0.5), percentile(milliseconds, 0.99),
                percentile(milliseconds, 1.0));
}

// The floor: the display's twin, with no settings and no host: a window of
// its class style, cursor, styles, colour key, size, DPI awareness and font
// that takes a text by message, copies it, shows itself on top as the
// display does, arms a timer, gives screen readers the text as the display
// does, and paints it with the same five DrawTextA calls.
struct Floor {
    HWND window;
    HFONT font;
    int textMargin;
    UINT alignment; // DT_LEFT, DT_CENTER or DT_RIGHT, as the display's text
    char text[128];
};
Floor floorDisplay;

// The DrawTextA alignment of a display at that GLIMRA.position word (given
// in lower case): the side the place names, centred for top, center and bottom.
UINT alignmentAt(const std::string& position) {
    if (position.size() >= 5 && position.compare(position.size() - 5, 5, "right") == 0) {
        return DT_RIGHT;
    }
    return position == "top" || position == "center" || position == "bottom" ? DT_CENTER : DT_LEFT;
}

// Any display that stays on top must ask, at each text, whether a visible
// window stands above it, and raise itself when one does; the floor asks and
// raises exactly as the display does, so that the ratio is the plug-in's own
// cost alone.
bool anotherWindowIsAbove(HWND window) {
    for (HWND above = GetTopWindow(nullptr); above && above != window;
         above = GetWindow(above, GW_HWNDNEXT)) {
        if (IsWindowVisible(above)) {
            return true;
        }
    }
    return false;
}

void showOnTop(HWND window) {
    if (anotherWindowIsAbove(window)) {
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    } else {
        ShowWindow(window, SW_SHOWNOACTIVATE);
    }
}

LRESULT CALLBACK floorWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == FLOOR_TEXT) {
        const char* text = reinterpret_cast<const char*>(lParam);
        std::memset(floorDisplay.text, 0, sizeof floorDisplay.text);
        std::memcpy(floorDisplay.text, text, strnlen(text, sizeof floorDisplay.text - 1));
        showOnTop(window);
        InvalidateRect(window, nullptr, TRUE);
        SetTimer(window, HIDE_TIMER, 3000, nullptr);
        // Any display that screen readers hear makes the text its window's
        // own and raises an alert for it; with no reader listening, the alert
        // costs nothing, the window's text one call to the system.
        SetWindowTextA(window, floorDisplay.text);
        NotifyWinEvent(EVENT_SYSTEM_ALERT, window, OBJID_CLIENT, CHILDID_SELF);
        return 0;
    }
    if (message != WM_PAINT) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    PAINTSTRUCT paint = {};
    HDC dc = BeginPaint(window, &paint);
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, floorDisplay.font);
    // The margin on the side the text is aligned to, both for centred text;
    // the outline's moves on the edges that place the text.
    const UINT alignment = floorDisplay.alignment;
    const int margin = floorDisplay.textMargin;
    RECT area;
    GetClientRect(window, &area);
    area.top += margin;
    area.left += alignment != DT_RIGHT ? margin : 0;
    area.right -= alignment != DT_LEFT ? margin : 0;
    const int length = static_cast<int>(std::strlen(floorDisplay.text));
    SetTextColor(dc, RGB(1, 1, 1));
    for (const POINT offset : {POINT{-1, -1}, POINT{1, 1}, POINT{-1, 1}, POINT{1, -1}}) {
        RECT moved = {area.left + (alignment != DT_RIGHT ? offset.x : 0), area.top + offset.y,
                      area.right + (alignment != DT_LEFT ? offset.x : 0), area.bottom};
        DrawTextA(dc, floorDisplay.text, length, &moved, alignment);
    }
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextA(dc, floorDisplay.text, length, &area, alignment);
    EndPaint(window, &paint);
    return 0;
}

// Made as the display was: on a scaled screen, where the display was made
// system-aware at the screen's own density, the floor is too. It stands 300
// pixels (at 96 dpi) down the screen's left edge, or at its top when the
// display is in that band.
void createFloor(HINSTANCE instance, HWND osd, UINT alignment) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = floorWndProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = "floor_window";
    RegisterClassExA(&windowClass);

    const int hostDotsPerInch = screenDotsPerInch();
    DPI_AWARENESS_CONTEXT hostAwareness =
        SetThreadDpiAwarenessContext(GetWindowDpiAwarenessContext(osd));
    const int dotsPerInch = screenDotsPerInch(); // the display's density
    RECT osdRect = {};
    GetWindowRect(osd, &osdRect);
    const int height = osdRect.bottom - osdRect.top;
    int top = MulDiv(FLOOR_TOP, dotsPerInch, hostDotsPerInch);
    if (osdRect.top < top + height && osdRect.bottom > top) {
        top = 0;
    }
    floorDisplay.textMargin = MulDiv(10, dotsPerInch, hostDotsPerInch);
    floorDisplay.alignment = alignment;
    floorDisplay.font =
        CreateFontA(dotsPerInch * 75 / 100, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, 0, "Verdana");
    floorDisplay.window = CreateWindowExA(
        WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST, "floor_window",
        nullptr, WS_POPUP | WS_DISABLED, 0, top, osdRect.right - osdRect.left, height,
        GetDesktopWindow(), nullptr, instance, nullptr);
    SetThreadDpiAwarenessContext(hostAwareness);
    SetLayeredWindowAttributes(floorDisplay.window, RGB(0, 0, 0), 0, LWA_COLORKEY);
}

// Each side's time per text, and that time split into the message and the
// paint, to see where a difference comes from.
struct Timings {
    std::vector<double> perText;
    std::vector<double> message;
    std::vector<double> paint;
};

// One text to a window by message, to the end of its paint, in milliseconds.
void timeOneText(Timings& timings, HWND window, UINT message, const std::string& text,
                 double tick) {
    pumpMessagesFor(0); // the host's loop runs between texts, untimed
    const LONGLONG start = now();
    SendMessageA(window, message, 0, reinterpret_cast<LPARAM>(text.c_str()));
    const LONGLONG handled = now();
    UpdateWindow(window);
    const LONGLONG painted = now();
    timings.perText.push_back(static_cast<double>(painted - start) * tick);
    timings.message.push_back(static_cast<double>(handled - start) * tick);
    timings.paint.push_back(static_cast<double>(painted - handled) * tick);
}

void printTimings(const char* what, const Timings& timings) {
    printPercentiles(what, timings.perText);
    printPercentiles("  of which the message itself", timings.message);
    printPercentiles("  of which the paint", timings.paint);
}

// Another topmost window over the display's top-left corner and the floor's,
// as a player that keeps itself on top is, raised again before each text of
// the covered round: 200 by 100 pixels beyond the lower of the two corners.
HWND createCover(HINSTANCE instance, HWND osd) {
    RECT osdRect = {};
    GetWindowRect(osd, &osdRect);
    RECT floorRect = {};
    GetWindowRect(floorDisplay.window, &floorRect);
    const LONG left = std::min(osdRect.left, floorRect.left);
    const LONG top = std::min(osdRect.top, floorRect.top);
    const LONG right = std::max(osdRect.left, floorRect.left) + 200;
    const LONG bottom = std::max(osdRect.top, floorRect.top) + 100;
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = "cover_window";
    RegisterClassExA(&windowClass);
    return CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "cover_window", nullptr, WS_POPUP,
                           left, top, right - left, bottom - top, nullptr, nullptr, instance,
                           nullptr);
}

void raiseAbove(HWND cover) {
    SetWindowPos(cover, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

// The common case: no window above the side about to be timed. Both sides
// stay on top, and the one timed last stands above the other: left so, each
// would find the other above it at every change of side and raise itself, at
// half its texts.
void putAtTop(HWND window) {
    if (GetTopWindow(nullptr) != window) {
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

// Times both sides text by text in turn, in pairs whose order alternates.
// Before each text, untimed, the side to be timed is put at the very top or,
// when cover is given, cover is raised above everything.
void timeInTurn(int textCount, HWND osd, const std::string& text, double tick, HWND cover,
                Timings& pluginTimes, Timings& floorTimes) {
    for (int pair = 0; pair < textCount; ++pair) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool pluginsTurn = (pair + turn) % 2 == 0;
            HWND window = pluginsTurn ? osd : floorDisplay.window;
            if (cover) {
                raiseAbove(cover);
            } else {
                putAtTop(window);
            }
            if (pluginsTurn) {
                timeOneText(pluginTimes, osd, HOST_MSG_TEXT, text, tick);
            } else {
                timeOneText(floorTimes, window, FLOOR_TEXT, text, tick);
            }
        }
    }
}

void printRatios(const Timings& pluginTimes, const Timings& floorTimes) {
    std::printf("plug-in / floor, text by text: median %.2f, p99 %.2f\n",
                percentile(pluginTimes.perText, 0.5) / percentile(floorTimes.perText, 0.5),
                percentile(pluginTimes.perText, 0.99) / percentile(floorTimes.perText, 0.99));
}

// Counts the messages the hidden display gets while the host idles.
int idleMessagesTo(HWND osd, DWORD milliseconds) {
    int count = 0;
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    while (GetTickCount64() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            count += message.hwnd == osd ? 1 : 0;
            DispatchMessageA(&message);
        }
    }
    return count;
}

// A folder of its own holding a copy of the DLL at pluginPath and a settings
// file "glimrarc" that names position; the copy's path, or "" when it cannot
// be made. The built DLL's folder is left as it is.
std::string copyBesideSettings(const char* pluginPath, const std::string& position,
                               std::string& folder) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "glimra-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
    std::string copy = folder + "GLIMRA.dll";
    const std::string settings = "GLIMRA.position " + position + "\n";
    std::FILE* file = nullptr;
    if (!CreateDirectoryA(folder.c_str(), nullptr) || !CopyFileA(pluginPath, copy.c_str(), TRUE) ||
        !(file = std::fopen((folder + "glimrarc").c_str(), "wb"))) {
        return "";
    }
    std::fwrite(settings.data(), 1, settings.size(), file);
    std::fclose(file);
    return copy;
}

// Nothing when there is no copy: the names alone would be the current folder's files.
void removeCopy(const std::string& folder) {
    if (folder.empty()) {
        return;
    }
    DeleteFileA((folder + "GLIMRA.dll").c_str());
    DeleteFileA((folder + "glimrarc").c_str());
    RemoveDirectoryA(folder.c_str());
}

} // namespace

int main(int argc, char** argv) {
    const int textCount = std::max(1, std::atoi(optionValue(argc, argv, "--texts", "10000")));
    const char* pluginPath = optionValue(argc, argv, "--plugin", nullptr);
    const std::string position = optionValue(argc, argv, "--position", "");
    std::string copyFolder;
    std::string copiedPlugin;
    if (pluginPath && !position.empty()) {
        copiedPlugin = copyBesideSettings(pluginPath, position, copyFolder);
        if (copiedPlugin.empty()) {
            std::fprintf(stderr, "cannot copy %s beside a settings file in %s\n", pluginPath,
                         copyFolder.c_str());
            removeCopy(copyFolder);
            return 2;
        }
        pluginPath = copiedPlugin.c_str();
    }
    LoadedPlugin plugin;
    if (!startHost(pluginPath, plugin)) {
        std::fprintf(stderr,
                     "usage: tarvex.exe --plugin PATH\\GLIMRA.dll [--texts N] [--position WORD]\n");
        removeCopy(copyFolder);
        return 2;
    }
    const double tick = secondsPerTick() * 1000.0;

    const LONGLONG beginStart = now();
    if (plugin.begin(plugin.module) != 0) {
        std::fprintf(stderr, "beginPlugin refused to start\n");
        return 1;
    }
    std::printf("beginPlugin (settings, font, class, window): %.3f ms\n",
                static_cast<double>(now() - beginStart) * tick);
    HWND osd = registeredWindow();
    pumpMessagesFor(300);
    std::printf("screen: %d dots per inch; the host sees %d\n", nativeScreenDotsPerInch(),
                screenDotsPerInch());
    RECT osdRect = {};
    GetWindowRect(osd, &osdRect);
    std::printf("display at %s: %ld,%ld to %ld,%ld as the host sees the screen\n",
                position.empty() ? "the screen's corner (no GLIMRA.position)" : position.c_str(),
                osdRect.left, osdRect.top, osdRect.right, osdRect.bottom);

    createFloor(GetModuleHandleA(nullptr), osd, alignmentAt(position));
    const std::string text = benchmarkText();
    Timings pluginTimes;
    Timings floorTimes;
    // Text by text, in pairs whose order alternates: the slow texts come in
    // bursts of the machine's (Wine's own processes, the X server) lasting
    // some milliseconds, so a burst falls on both sides alike. Timed in
    // rounds of hundreds of texts, a burst fell on one side only and moved
    // the p99 ratio from 0.74 to 1.19 from run to run.
    timeInTurn(textCount, osd, text, tick, nullptr, pluginTimes, floorTimes);
    printTimings("HOST_MSG_TEXT to end of paint (127 bytes)", pluginTimes);
    printTimings("floor: the display's twin, same text", floorTimes);
    printRatios(pluginTimes, floorTimes);

    // Another topmost window raised over both before every text: each side
    // raises itself above it, as any display that stays on top must.
    HWND cover = createCover(GetModuleHandleA(nullptr), osd);
    Timings coveredPluginTimes;
    Timings coveredFloorTimes;
    const int coveredTexts = std::max(1, textCount / 10);
    timeInTurn(coveredTexts, osd, text, tick, cover, coveredPluginTimes, coveredFloorTimes);
    printTimings("another topmost window raised before each text: HOST_MSG_TEXT to end of paint",
                 coveredPluginTimes);
    printTimings("floor, raised above it as the display is", coveredFloorTimes);
    printRatios(coveredPluginTimes, coveredFloorTimes);
    DestroyWindow(cover);
    DestroyWindow(floorDisplay.window);
    DeleteObject(floorDisplay.font);

    // Let the hide timer fire as it would after the last text.
    SendMessageA(osd, WM_TIMER, HIDE_TIMER, 0);
    const bool timerLeft = KillTimer(osd, HIDE_TIMER) != FALSE;
    const int wakeUps = idleMessagesTo(osd, 2000);
    std::printf(
        "hidden display: visible %s, hide timer left running %s, messages in 2 s idle: %d\n",
        IsWindowVisible(osd) ? "yes" : "no", timerLeft ? "yes" : "no", wakeUps);

    plugin.end(nullptr);
    unloadPlugin(plugin);
    removeCopy(copyFolder);
    return (timerLeft || wakeUps != 0) ? 1 : 0;
}
