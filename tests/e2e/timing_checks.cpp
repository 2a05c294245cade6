#include "timing_checks.h"

#include <gtest/gtest.h>

#include <cstdio>

double nowMilliseconds() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void expectHiddenAfter(HWND osd, double start, double timeout) {
    const double limit = timeout + HIDE_LATE_MARGIN_MS;
    for (;;) {
        MSG message;
        while (IsWindowVisible(osd) && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        const double elapsed = nowMilliseconds() - start;
        if (!IsWindowVisible(osd)) {
            // How close to its bounds a hide came, for whoever reads a slow run's log.
            std::printf("hidden %.0f ms after start, timeout %.0f ms\n", elapsed, timeout);
            EXPECT_GE(elapsed, timeout - HIDE_EARLY_MARGIN_MS) << "hidden too early";
            return;
        }
        if (elapsed >= limit) {
            ADD_FAILURE() << "still shown " << limit << " ms after start";
            return;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}
