// Times the real GLIMRA.dll in a host: beginPlugin, and each text from
// HOST_MSG_TEXT to the end of its paint; then checks that a hidden display
// leaves no timer running and gets no wake-ups. Prints figures; run as
//   tarvex.exe --plugin PATH\GLIMRA.dll [--texts N]
#include "host/host.h"
#include "host/plugin_loader.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr UINT_PTR HIDE_TIMER = 1;

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
        text += static_cast<char>('a' + text.size() % 26);
    }
    return text;
}

void printPercentiles(const char* what, std::vector<double> milliseconds) {
    std::sort(milliseconds.begin(), milliseconds.end());
    const auto at = [&](double share) {
        return milliseconds[static_cast<size_t>(share *
                                                static_cast<double>(milliseconds.size() - 1))];
    };
    std::printf("%s over %zu texts: median %.3f ms, p99 %.3f ms, max %.3f ms\n", what,
                milliseconds.size(), at(0.5), at(0.99), milliseconds.back());
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

} // namespace

int main(int argc, char** argv) {
    std::string pluginPath;
    int textCount = 10000;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--plugin") == 0) {
            pluginPath = argv[++i];
        } else if (std::strcmp(argv[i], "--texts") == 0) {
            textCount = std::max(1, std::atoi(argv[++i]));
        }
    }
    createHostWindow(GetModuleHandleA(nullptr));
    LoadedPlugin plugin;
    if (pluginPath.empty() || !loadPlugin(pluginPath.c_str(), plugin)) {
        std::fprintf(stderr, "usage: tarvex.exe --plugin PATH\\GLIMRA.dll [--texts N]\n");
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
    HWND osd = hostRegistrations().at(0).window;
    pumpMessagesFor(300);

    const std::string text = benchmarkText();
    std::vector<double> perText;
    std::vector<double> handling;
    std::vector<double> painting;
    for (int i = 0; i < textCount; ++i) {
        pumpMessagesFor(0); // the host's loop runs between texts, untimed
        const LONGLONG start = now();
        SendMessageA(osd, HOST_MSG_TEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        const LONGLONG handled = now();
        UpdateWindow(osd);
        const LONGLONG painted = now();
        perText.push_back(static_cast<double>(painted - start) * tick);
        handling.push_back(static_cast<double>(handled - start) * tick);
        painting.push_back(static_cast<double>(painted - handled) * tick);
    }
    printPercentiles("HOST_MSG_TEXT to end of paint (127 bytes)", perText);
    printPercentiles("  of which the message itself", handling);
    printPercentiles("  of which the paint", painting);

    // Let the hide timer fire as it would after the last text.
    SendMessageA(osd, WM_TIMER, HIDE_TIMER, 0);
    const bool timerLeft = KillTimer(osd, HIDE_TIMER) != FALSE;
    const int wakeUps = idleMessagesTo(osd, 2000);
    std::printf(
        "hidden display: visible %s, hide timer left running %s, messages in 2 s idle: %d\n",
        IsWindowVisible(osd) ? "yes" : "no", timerLeft ? "yes" : "no", wakeUps);

    plugin.end(nullptr);
    unloadPlugin(plugin);
    return (timerLeft || wakeUps != 0) ? 1 : 0;
}
