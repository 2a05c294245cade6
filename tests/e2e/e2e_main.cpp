// The end-to-end test host: run as tarvex.exe --plugin PATH [gtest options].
#include "host/host.h"
#include "message_boxes.h"
#include "plugin_session.h"

#include "host/host_startup.h"

#include <gtest/gtest.h>

#include <cstdio>

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

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
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
