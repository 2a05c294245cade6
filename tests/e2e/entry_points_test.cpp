// Starting and stopping the real plug-in from a host: the entry points, the
// message boxes of a refused or failed start, and a clean end.
#include "host/host.h"
#include "host/host_functions.h"
#include "host/screen_capture.h"
#include "import_patch.h"
#include "message_boxes.h"
#include "plugin_session.h"
#include "screen_checks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Stands in for kernel32's GetProcAddress on a platform that lacks
// SetLayeredWindowAttributes, as Windows before 2000 does.
FARPROC WINAPI getProcAddressBeforeWindows2000(HMODULE module, LPCSTR name) {
    if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) != 0 &&
        std::strcmp(name, "SetLayeredWindowAttributes") == 0) {
        return nullptr;
    }
    return GetProcAddress(module, name);
}

bool osdClassRegistered(HMODULE instance) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    return GetClassInfoExA(instance, "osd_window", &windowClass) != 0;
}

TEST(EntryPoints, PluginInfoAnswersThroughTheDll) {
    const PluginSession session;
    EXPECT_STREQ(session.plugin.info(1), "Glimra");
    EXPECT_STREQ(session.plugin.info(2), "1.0");
    EXPECT_STREQ(session.plugin.info(4), "19/06/2005");
    EXPECT_STREQ(session.plugin.info(5), "...");
    for (const int field : {0, 7, -1}) {
        EXPECT_STREQ(session.plugin.info(field), "Glimra 1.0") << field;
    }
}

// What Windows shows in the DLL's properties.
std::string versionString(const std::string& path, const char* name) {
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(path.c_str(), &ignored));
    if (block.empty() ||
        !GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data())) {
        return "(no version resource)";
    }
    char* value = nullptr;
    UINT length = 0;
    const std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) {
        return "(missing)";
    }
    return value;
}

TEST(EntryPoints, VersionResourceNamesGlimra10) {
    const PluginSession session;
    const std::string dllPath = session.directory + "GLIMRA.dll";
    EXPECT_EQ(versionString(dllPath, "ProductName"), "Glimra");
    EXPECT_EQ(versionString(dllPath, "FileVersion"), "1.0");
    EXPECT_EQ(versionString(dllPath, "ProductVersion"), "1.0");
    EXPECT_EQ(versionString(dllPath, "OriginalFilename"), "GLIMRA.dll");
}

TEST(EntryPoints, BeginStartsWithoutAnyBox) {
    const BoxAnswerer answerer;
    PluginSession session;
    EXPECT_EQ(session.begin(), 0);
    EXPECT_TRUE(answerer.boxes().empty());
    EXPECT_TRUE(IsWindow(session.osdWindow()));
    EXPECT_GT(hostCalls.count, 0);
}

// The refused second start touches nothing of the first: the same one window,
// where it was, showing what it showed; endPlugin then takes that one down.
TEST(EntryPoints, SecondBeginIsRefusedAndLeavesTheFirstAlone) {
    const Backdrop backdrop;
    const BoxAnswerer answerer;
    PluginSession session("GLIMRA.timeout 60000\n"); // the first text stays throughout
    ASSERT_EQ(session.begin(), 0);
    HWND first = session.osdWindow();
    // The window the user is in, away from the display: it gets the keyboard
    // back when the box closes.
    HWND user = CreateWindowExA(0, "STATIC", "user", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 400,
                                200, 100, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(user);
    RECT before;
    GetWindowRect(first, &before);
    const ScreenImage shownBefore = showAndCapture(first, "First");

    EXPECT_EQ(session.begin(), 1);
    ASSERT_EQ(answerer.boxes().size(), 1u);
    expectStartBox(answerer.boxes(), 0, "Glimra", "Dont load me twice!");

    EXPECT_EQ(hostRegistrations().size(), 1u) << "no second window registered";
    EXPECT_TRUE(IsWindowVisible(first));
    RECT after;
    GetWindowRect(first, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_EQ(GetForegroundWindow(), user);
    // Still on screen after the box closed, showing the first text.
    EXPECT_EQ(firstDifference(settleAndCapture(first), shownBefore), "");
    DestroyWindow(user);

    session.end();
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(osdClassRegistered(session.plugin.module));
}

TEST(EntryPoints, PlatformWithoutLayeredWindowsIsRefusedAndRetriedLater) {
    const BoxAnswerer answerer;
    PluginSession session;
    void* original = patchImport(session.plugin.module, "KERNEL32.dll", "GetProcAddress",
                                 reinterpret_cast<void*>(&getProcAddressBeforeWindows2000));
    ASSERT_NE(original, nullptr) << "GLIMRA.dll imports GetProcAddress from kernel32";
    const int callsBefore = hostCalls.count;

    EXPECT_EQ(session.begin(), 1);
    ASSERT_EQ(answerer.boxes().size(), 1u);
    expectStartBox(answerer.boxes(), 0, "Glimra 1.0",
                   "OS version not supported (Windows2000+ required)");
    EXPECT_EQ(hostCalls.count, callsBefore) << "no host function, no settings file";
    EXPECT_EQ(FindWindowA("osd_window", nullptr), nullptr);
    EXPECT_FALSE(osdClassRegistered(session.plugin.module));
    session.end(); // nothing was made, so there is nothing to release

    patchImport(session.plugin.module, "KERNEL32.dll", "GetProcAddress", original);
    EXPECT_EQ(session.begin(), 0) << "a refused start records nothing";
    EXPECT_EQ(answerer.boxes().size(), 1u);
    EXPECT_TRUE(IsWindow(session.osdWindow()));
}

// The class is already taken for the plug-in's instance, so registering it fails.
TEST(EntryPoints, FailedDisplayIsReportedAndReleasedByEnd) {
    const BoxAnswerer answerer;
    PluginSession session;
    ASSERT_TRUE(takeDisplayClass(session.plugin.module));

    EXPECT_EQ(session.begin(), 1);
    ASSERT_EQ(answerer.boxes().size(), 1u);
    expectStartBox(answerer.boxes(), 0, "Glimra", "failed to load!");
    EXPECT_EQ(session.osdWindow(), nullptr) << "no window was made";

    EXPECT_EQ(session.begin(), 1);
    ASSERT_EQ(answerer.boxes().size(), 2u);
    expectStartBox(answerer.boxes(), 1, "Glimra", "Dont load me twice!");

    session.end();
    EXPECT_FALSE(osdClassRegistered(session.plugin.module));
    session.end(); // a second end finds nothing left to release
}

// Ending a plug-in that was never begun must neither crash the host nor
// count as a start.
TEST(EntryPoints, EndWithoutBeginDoesNothing) {
    const BoxAnswerer answerer;
    PluginSession session;
    session.end();
    session.end();
    EXPECT_EQ(session.begin(), 0) << "ending first does not count as a start";
    EXPECT_TRUE(answerer.boxes().empty());
}

TEST(EntryPoints, EndTakesEverythingDownAndReloadStartsAfresh) {
    const BoxAnswerer answerer;
    PluginSession session;
    ASSERT_EQ(session.begin(), 0);
    HWND window = session.osdWindow();
    HMODULE module = session.plugin.module;

    session.end();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(osdClassRegistered(module));
    session.end(); // harmless twice

    session.reload();
    EXPECT_EQ(session.begin(), 0) << "a new load of the module may start again";
    EXPECT_TRUE(answerer.boxes().empty());
    EXPECT_TRUE(IsWindow(session.osdWindow()));
    EXPECT_NE(session.osdWindow(), window);
}

} // namespace
