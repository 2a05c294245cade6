// Per-thread DPI awareness, looked up at run time: Windows before 10 (version
// 1607) lacks it, and the x86 DLL must still load on Windows 2000.
#include "display/screen_density.h"

namespace {

using SetThreadDpiAwarenessContextFunction = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);

SetThreadDpiAwarenessContextFunction threadDpiSwitch() {
    return reinterpret_cast<SetThreadDpiAwarenessContextFunction>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext")));
}

} // namespace

int screenDotsPerInch() {
    HDC screen = GetDC(nullptr);
    const int dotsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dotsPerInch;
}

int nativeScreenDotsPerInch() {
    DPI_AWARENESS_CONTEXT previous = seeTheScreenAsItIs();
    const int dotsPerInch = screenDotsPerInch();
    restoreDpiAwareness(previous);
    return dotsPerInch;
}

// The whole screen, the desktop window's, should the system not tell.
ScreenRect primaryWorkArea() {
    RECT area = {};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) {
        GetClientRect(GetDesktopWindow(), &area);
    }
    return {area.left, area.top, area.right, area.bottom};
}

DPI_AWARENESS_CONTEXT seeTheScreenAsItIs() {
    SetThreadDpiAwarenessContextFunction switchTo = threadDpiSwitch();
    return switchTo ? switchTo(DPI_AWARENESS_CONTEXT_SYSTEM_AWARE) : nullptr;
}

void restoreDpiAwareness(DPI_AWARENESS_CONTEXT previous) {
    if (previous) {
        threadDpiSwitch()(previous);
    }
}
