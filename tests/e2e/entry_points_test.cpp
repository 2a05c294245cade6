// Starting and stopping the real plug-in from a host: the entry points, the
// message boxes of a refused or failed start, and a clean end.
#include "e2e_support.h"

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

// Replaces the plug-in's import of a function from library by replacement
// and gives back what stood there before.
void* patchImport(HMODULE module, const char* library, const char* function, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         entry->Name; ++entry) {
        if (_stricmp(reinterpret_cast<char*>(base + entry->Name), library) != 0) {
            continue;
        }
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
        auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            const auto* byName =
                reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
                DWORD protection;
                VirtualProtect(&addresses->u1.Function, sizeof(void*), PAGE_READWRITE, &protection);
                void* previous = reinterpret_cast<void*>(addresses->u1.Function);
                addresses->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
                VirtualProtect(&addresses->u1.Function, sizeof(void*), protection, &protection);
                return previous;
            }
        }
    }
    return nullptr;
}

struct MessageBoxCall {
    HWND owner;
    UINT type;
};
std::vector<MessageBoxCall> messageBoxCalls;

int WINAPI recordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    messageBoxCalls.push_back({owner, type});
    return MessageBoxA(owner, text, caption, type);
}

bool osdClassRegistered(HMODULE instance) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    return GetClassInfoExA(instance, "osd_window", &windowClass) != 0;
}

TEST(EntryPoints, PluginInfoAnswersThroughTheDll) {
    PluginSession session;
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
    PluginSession session;
    const std::string dllPath = session.directory + "GLIMRA.dll";
    EXPECT_EQ(versionString(dllPath, "ProductName"), "Glimra");
    EXPECT_EQ(versionString(dllPath, "FileVersion"), "1.0");
    EXPECT_EQ(versionString(dllPath, "ProductVersion"), "1.0");
    EXPECT_EQ(versionString(dllPath, "OriginalFilename"), "GLIMRA.dll");
}

TEST(EntryPoints, BeginStartsWithoutAnyBox) {
    BoxAnswerer answerer;
    PluginSession session;
    EXPECT_EQ(session.begin(), 0);
    EXPECT_TRUE(answerer.boxes().empty());
    EXPECT_TRUE(IsWindow(session.osdWindow()));
    EXPECT_GT(hostCallCount(), 0);
}

TEST(EntryPoints, SecondBeginIsRefusedAndLeavesTheFirstAlone) {
    BoxAnswerer answerer;
    PluginSession session;
    ASSERT_EQ(session.begin(), 0);
    HWND first = session.osdWindow();
    RECT before;
    GetWindowRect(first, &before);

    messageBoxCalls.clear();
    ASSERT_NE(patchImport(session.plugin.module, "USER32.dll", "MessageBoxA",
                          reinterpret_cast<void*>(&recordMessageBox)),
              nullptr);
    EXPECT_EQ(session.begin(), 1);
    ASSERT_EQ(answerer.boxes().size(), 1u);
    EXPECT_EQ(answerer.boxes()[0].caption, "Glimra");
    EXPECT_EQ(answerer.boxes()[0].text, "Dont load me twice!");
    ASSERT_EQ(messageBoxCalls.size(), 1u);
    EXPECT_EQ(messageBoxCalls[0].owner, nullptr);
    EXPECT_EQ(messageBoxCalls[0].type, static_cast<UINT>(MB_OK | MB_SETFOREGROUND | MB_TOPMOST));
    EXPECT_TRUE(answerer.boxes()[0].onlyOkButton);

    EXPECT_EQ(hostRegistrations().size(), 1u) << "no second window registered";
    EXPECT_TRUE(IsWindow(first));
    EXPECT_TRUE(IsWindowVisible(first));
    RECT after;
    GetWindowRect(first, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
}

TEST(EntryPoints, PlatformWithoutLayeredWindowsIsRefusedAndRetriedLater) {
    BoxAnswerer answerer;
    PluginSession session;
    void* original = patchImport(session.plugin.module, "KERNEL32.dll", "GetProcAddress",
                                 reinterpret_cast<void*>(&getProcAddressBeforeWindows2000));
    ASSERT_NE(original, nullptr) << "GLIMRA.dll imports GetProcAddress from kernel32";
    const int callsBefore = hostCallCount();

    EXPECT_EQ(session.begin(), 1);
    ASSERT_EQ(answerer.boxes().size(), 1u);
    EXPECT_EQ(answerer.boxes()[0].caption, "Glimra 1.0");
    EXPECT_EQ(answerer.boxes()[0].text, "OS version not supported (Windows2000+ required)");
    EXPECT_EQ(hostCallCount(), callsBefore) << "no host function, no settings file";
    EXPECT_EQ(FindWindowA("osd_window", nullptr), nullptr);
    EXPECT_FALSE(osdClassRegistered(session.plugin.module));

    patchImport(session.plugin.module, "KERNEL32.dll", "GetProcAddress", original);
    EXPECT_EQ(session.begin(), 0) << "a refused start records nothing";
    EXPECT_EQ(answerer.boxes().size(), 1u);
    EXPECT_TRUE(IsWindow(session.osdWindow()));
}

// The class is already taken for the plug-in's instance, so registering it fails.
TEST(EntryPoints, FailedDisplayIsReportedAndReleasedByEnd) {
    BoxAnswerer answerer;
    PluginSession session;
    WNDCLASSEXA squatter = {};
    squatter.cbSize = sizeof(squatter);
    squatter.lpfnWndProc = DefWindowProcA;
    squatter.hInstance = session.plugin.module;
    squatter.lpszClassName = "osd_window";
    ASSERT_NE(RegisterClassExA(&squatter), 0);

    EXPECT_EQ(session.begin(), 1);
    ASSERT_EQ(answerer.boxes().size(), 1u);
    EXPECT_EQ(answerer.boxes()[0].caption, "Glimra");
    EXPECT_EQ(answerer.boxes()[0].text, "failed to load!");
    EXPECT_EQ(session.osdWindow(), nullptr) << "no window was made";

    EXPECT_EQ(session.begin(), 1);
    ASSERT_EQ(answerer.boxes().size(), 2u);
    EXPECT_EQ(answerer.boxes()[1].text, "Dont load me twice!");

    session.end();
    EXPECT_FALSE(osdClassRegistered(session.plugin.module));
    session.end(); // a second end finds nothing left to release
}

TEST(EntryPoints, EndWithoutBeginDoesNothing) {
    PluginSession session;
    const int callsBefore = hostCallCount();
    session.end();
    session.end();
    EXPECT_EQ(hostCallCount(), callsBefore);
    EXPECT_EQ(FindWindowA("osd_window", nullptr), nullptr);
    BoxAnswerer answerer;
    EXPECT_EQ(session.begin(), 0) << "ending first does not count as a start";
    EXPECT_TRUE(answerer.boxes().empty());
}

TEST(EntryPoints, EndTakesEverythingDownAndReloadStartsAfresh) {
    BoxAnswerer answerer;
    PluginSession session;
    ASSERT_EQ(session.begin(), 0);
    HWND window = session.osdWindow();
    HMODULE module = session.plugin.module;

    session.plugin.end(nullptr);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(osdClassRegistered(module));
    session.plugin.end(nullptr); // harmless twice

    const std::string dllPath = session.directory + "GLIMRA.dll";
    unloadPlugin(session.plugin);
    ASSERT_TRUE(loadPlugin(dllPath.c_str(), session.plugin));
    EXPECT_EQ(session.begin(), 0) << "a new load of the module may start again";
    for (const AnsweredBox& box : answerer.boxes()) {
        ADD_FAILURE() << "box: " << box.caption << ": " << box.text;
    }
    EXPECT_TRUE(IsWindow(session.osdWindow()));
    EXPECT_NE(session.osdWindow(), window);
}

} // namespace
