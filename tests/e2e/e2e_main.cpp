// The end-to-end test host: run as tarvex.exe --plugin PATH [gtest options].
#include "host/host.h"
#include "message_boxes.h"
#include "plugin_session.h"

#include "host/host_startup.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// No test may hang, a modal box that nobody answers included.
constexpr DWORD WATCHDOG_MILLISECONDS = 240000;

DWORD WINAPI watchdog(void* /*unused*/) {
    Sleep(WATCHDOG_MILLISECONDS);
    std::fprintf(stderr, "e2e: still running after %lu ms, stopped\n", WATCHDOG_MILLISECONDS);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return 0;
}

// Under an x86 emulator, Ctrl+C in a console arrives as a Unix signal that
// this program does not survive even with no plug-in loaded, and any test that
// reports a skip or a failure crashes it at exit: what needs Ctrl+C is left out
// there, and the output says so.
void leaveOutWhatTheEmulatorCannotRun() {
    char emulator[32] = {};
    if (GetEnvironmentVariableA("GLIMRA_X86_EMULATOR", emulator, sizeof emulator) == 0) {
        return;
    }
    const char* const needsCtrlC = "Preview.NegativeTimeoutStaysUpUntilCtrlC";
    std::string filter = GTEST_FLAG_GET(filter);
    filter += filter.find('-') == std::string::npos ? "-" : ":";
    GTEST_FLAG_SET(filter, filter + needsCtrlC);
    std::printf("left out: %s, as 32-bit Wine runs on %s here, where Ctrl+C stops even a bare "
                "test program\n",
                needsCtrlC, emulator);
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    leaveOutWhatTheEmulatorCannotRun();
    builtPluginPath = optionValue(argc, argv, "--plugin", "");
    if (builtPluginPath.empty()) {
        std::fprintf(stderr, "usage: tarvex.exe --plugin PATH\\GLIMRA.dll [gtest options]\n");
        return 2;
    }
    CreateThread(nullptr, 0, watchdog, nullptr, 0, nullptr);
    startAnsweringMessageBoxes();
    createHostWindow(GetModuleHandleA(nullptr));
    return RUN_ALL_TESTS();
}
