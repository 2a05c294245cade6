// Soak test: a host that sends the real GLIMRA.dll a million texts of every
// kind (empty, long, ampersands, line breaks, high bytes, null), painting
// every so often, and checks that GDI objects and private memory stay flat.
// Run as tarvex.exe --plugin PATH\GLIMRA.dll [--messages N]
#include "host/host.h"
#include "host/plugin_loader.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int PAINT_EVERY = 997;
constexpr long long MEMORY_GROWTH_ALLOWED = 512LL * 1024;

std::vector<std::string> mixedTexts() {
    std::string highBytes;
    for (int c = 0x80; c <= 0xFF; ++c) {
        highBytes += static_cast<char>(c);
    }
    return {"",
            "x",
            std::string(127, 'm'),
            std::string(128, 'W'),
            std::string(4096, 'i'),
            "R&D && more &",
            "first line\nsecond line\r\nthird",
            highBytes,
            "\t\ttabs\tand\x01control\x1f bytes"};
}

long long privateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
    // The commit charge: private memory (Wine leaves PrivateUsage at 0, Windows
    // gives both the same value).
    return static_cast<long long>(counters.PagefileUsage);
}

// GetGuiResources where the system offers it; elsewhere (Wine) the table slot
// a fresh GDI object gets, which climbs only while objects leak.
long gdiMeasure(bool& isCount) {
    SetLastError(0);
    const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    isCount = count != 0;
    if (isCount) {
        return static_cast<long>(count);
    }
    HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
    const long slot = static_cast<long>(reinterpret_cast<ULONG_PTR>(probe) & 0xFFFF);
    DeleteObject(probe);
    return slot;
}

} // namespace

int main(int argc, char** argv) {
    std::string pluginPath;
    long messages = 1000000;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--plugin") == 0) {
            pluginPath = argv[++i];
        } else if (std::strcmp(argv[i], "--messages") == 0) {
            messages = std::atol(argv[++i]);
        }
    }
    createHostWindow(GetModuleHandleA(nullptr));
    LoadedPlugin plugin;
    if (pluginPath.empty() || !loadPlugin(pluginPath.c_str(), plugin) ||
        plugin.begin(plugin.module) != 0) {
        std::fprintf(stderr, "usage: tarvex.exe --plugin PATH\\GLIMRA.dll [--messages N]\n");
        return 2;
    }
    HWND osd = hostRegistrations().at(0).window;
    const std::vector<std::string> texts = mixedTexts();
    const long checkpoint = messages / 10;
    long long memoryAtCheckpoint = 0;
    long gdiAtCheckpoint = 0;
    bool gdiIsCount = false;

    for (long i = 1; i <= messages; ++i) {
        const bool nullText = i % 101 == 0;
        const std::string& text = texts[static_cast<size_t>(i) % texts.size()];
        SendMessageA(osd, HOST_MSG_TEXT, 0, nullText ? 0 : reinterpret_cast<LPARAM>(text.c_str()));
        if (i % PAINT_EVERY == 0) {
            UpdateWindow(osd);
            pumpMessagesFor(0);
        }
        if (i == checkpoint) {
            memoryAtCheckpoint = privateBytes();
            gdiAtCheckpoint = gdiMeasure(gdiIsCount);
        }
    }
    pumpMessagesFor(0);
    const long long memoryAtEnd = privateBytes();
    const long gdiAtEnd = gdiMeasure(gdiIsCount);
    const bool alive = IsWindow(osd) != FALSE;

    std::printf("%ld texts sent, window alive: %s\n", messages, alive ? "yes" : "no");
    std::printf("private memory after %ld: %lld KB, after %ld: %lld KB (growth %lld KB)\n",
                checkpoint, memoryAtCheckpoint / 1024, messages, memoryAtEnd / 1024,
                (memoryAtEnd - memoryAtCheckpoint) / 1024);
    std::printf("%s after %ld: %ld, after %ld: %ld\n",
                gdiIsCount ? "GDI objects" : "GDI table slot of a fresh object", checkpoint,
                gdiAtCheckpoint, messages, gdiAtEnd);

    plugin.end(nullptr);
    unloadPlugin(plugin);
    const bool flat =
        memoryAtEnd - memoryAtCheckpoint <= MEMORY_GROWTH_ALLOWED && gdiAtEnd <= gdiAtCheckpoint;
    std::printf("%s\n", alive && flat ? "1 passed, 0 failed" : "0 passed, 1 failed");
    return alive && flat ? 0 : 1;
}
