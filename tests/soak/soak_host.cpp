// Soak test: a host that sends the real GLIMRA.dll a million texts of every
// kind (empty, long, ampersands, line breaks, high bytes, null), painting
// every so often, and checks that GDI objects and private memory stay flat.
// Run as tarvex.exe --plugin PATH\GLIMRA.dll [--messages N]
#include "host/host.h"
#include "host/host_startup.h"
#include "host/plugin_loader.h"
#include "plugin/host_api.h"

#include <psapi.h>
#include <winternl.h>

#include <cstdint>
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

// An entry of the GDI handle table that Wine shares with each process; an
// entry whose type is not 0 holds a live object.
struct WineGdiHandleEntry {
    UINT64 object;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    UINT64 userPointer;
};
static_assert(sizeof(WineGdiHandleEntry) == 24, "Wine's entry layout, the same on x86 and x64");
constexpr size_t WINE_GDI_HANDLE_COUNT = 0x10000;

// The 64-bit process environment block keeps the table's address.
constexpr size_t PEB64_GDI_HANDLE_TABLE = 0xF8;

template <typename Value> Value readAt(uint64_t address) {
    return *reinterpret_cast<const Value*>(static_cast<uintptr_t>(address));
}

const WineGdiHandleEntry* wineGdiHandleTable() {
#ifdef _WIN64
    PROCESS_BASIC_INFORMATION process = {};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &process,
                                  sizeof process, nullptr) != 0) {
        return nullptr;
    }
    const uint64_t peb64 = reinterpret_cast<uintptr_t>(process.PebBaseAddress);
#else
    // A 32-bit process of 64-bit Wine reaches its 64-bit blocks through its
    // thread block, whose GdiBatchCount field Wine points at the 64-bit one.
    constexpr size_t TEB32_GDI_BATCH_COUNT = 0xF70;
    constexpr size_t TEB64_PEB = 0x60;
    struct {
        LONG exitStatus;
        void* teb;
        void* ids[2];
        ULONG_PTR affinity;
        LONG priorities[2];
    } thread = {};
    if (NtQueryInformationThread(GetCurrentThread(), ThreadBasicInformation, &thread, sizeof thread,
                                 nullptr) != 0) {
        return nullptr;
    }
    const auto teb64 =
        readAt<uint32_t>(reinterpret_cast<uintptr_t>(thread.teb) + TEB32_GDI_BATCH_COUNT);
    if (teb64 == 0) {
        return nullptr;
    }
    const auto peb64 = readAt<uint64_t>(teb64 + TEB64_PEB);
#endif
    return reinterpret_cast<const WineGdiHandleEntry*>(
        static_cast<uintptr_t>(readAt<uint64_t>(peb64 + PEB64_GDI_HANDLE_TABLE)));
}

long liveObjectsInWineGdiTable() {
    const WineGdiHandleEntry* table = wineGdiHandleTable();
    if (!table) {
        return -1;
    }
    long live = 0;
    for (size_t i = 0; i < WINE_GDI_HANDLE_COUNT; ++i) {
        live += table[i].type != 0 ? 1 : 0;
    }
    return live;
}

// Live GDI objects: GetGuiResources where the system counts them; under
// Wine, where it is a stub that answers 0, the live entries of Wine's table.
long liveGdiObjects(const char*& source) {
    const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (count != 0) {
        source = "GetGuiResources";
        return static_cast<long>(count);
    }
    source = "Wine's GDI handle table";
    return liveObjectsInWineGdiTable();
}

} // namespace

int main(int argc, char** argv) {
    const long messages = std::atol(optionValue(argc, argv, "--messages", "1000000"));
    LoadedPlugin plugin;
    if (!startHost(optionValue(argc, argv, "--plugin", nullptr), plugin) ||
        plugin.begin(plugin.module) != 0) {
        std::fprintf(stderr, "usage: tarvex.exe --plugin PATH\\GLIMRA.dll [--messages N]\n");
        return 2;
    }
    HWND osd = registeredWindow();
    const std::vector<std::string> texts = mixedTexts();
    const long checkpoint = messages / 10;
    long long memoryAtCheckpoint = 0;
    long gdiAtCheckpoint = 0;
    const char* gdiSource = "";

    for (long i = 1; i <= messages; ++i) {
        const bool nullText = i % 101 == 0;
        const std::string& text = texts[static_cast<size_t>(i) % texts.size()];
        SendMessageA(osd, HOST_MSG_TEXT, 0, nullText ? 0 : reinterpret_cast<LPARAM>(text.c_str()));
        if (i % PAINT_EVERY == 0) {
            UpdateWindow(osd);
            pumpMessagesFor(0);
        }
        if (i == checkpoint) {
            // Reading all of Wine's table brings its 1.5 MB into memory on
            // some kernels: read it before the memory, as at the end.
            gdiAtCheckpoint = liveGdiObjects(gdiSource);
            memoryAtCheckpoint = privateBytes();
        }
    }
    pumpMessagesFor(0);
    const long gdiAtEnd = liveGdiObjects(gdiSource);
    const long long memoryAtEnd = privateBytes();
    const bool alive = IsWindow(osd) != FALSE;

    std::printf("%ld texts sent, window alive: %s\n", messages, alive ? "yes" : "no");
    std::printf("private memory after %ld: %lld KB, after %ld: %lld KB (growth %lld KB)\n",
                checkpoint, memoryAtCheckpoint / 1024, messages, memoryAtEnd / 1024,
                (memoryAtEnd - memoryAtCheckpoint) / 1024);
    std::printf("live GDI objects (%s) after %ld: %ld, after %ld: %ld\n", gdiSource, checkpoint,
                gdiAtCheckpoint, messages, gdiAtEnd);

    plugin.end(nullptr);
    unloadPlugin(plugin);
    const bool flat = memoryAtEnd - memoryAtCheckpoint <= MEMORY_GROWTH_ALLOWED &&
                      gdiAtCheckpoint > 0 && gdiAtEnd <= gdiAtCheckpoint;
    std::printf("%s\n", alive && flat ? "1 passed, 0 failed" : "0 passed, 1 failed");
    return alive && flat ? 0 : 1;
}
