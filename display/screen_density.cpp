// Per-thread DPI awareness, looked up at run time: Windows before 10 (version
// 1607) lacks it, and the x86 DLL must still load on Windows 2000.
#include "display/screen_density.h"

#include <cstddef>

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

// The system writes a RECT, which a ScreenRect is laid out as. It fails only
// for a pointer that is not there.
ScreenRect primaryWorkArea() {
    static_assert(sizeof(ScreenRect) == sizeof(RECT) && offsetof(ScreenRect, left) == 0 &&
                  offsetof(ScreenRect, top) == offsetof(RECT, top) &&
                  offsetof(ScreenRect, right) == offsetof(RECT, right) &&
                  offsetof(ScreenRect, bottom) == offsetof(RECT, bottom));
    ScreenRect area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
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
