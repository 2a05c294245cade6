#include "plugin_session.h"

#include "host/host.h"
#include "host/plugin_loader.h"
#include "message_boxes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

std::string builtPluginPath;

std::string quotedProgramBesideThePlugin(const char* name) {
    return "\"" + builtPluginPath.substr(0, builtPluginPath.find_last_of("/\\") + 1) + name + "\"";
}

bool takeDisplayClass(HMODULE module) {
    WNDCLASSEXA squatter = {};
    squatter.cbSize = sizeof(squatter);
    squatter.lpfnWndProc = DefWindowProcA;
    squatter.hInstance = module;
    squatter.lpszClassName = "osd_window";
    return RegisterClassExA(&squatter) != 0;
}

void writeTextFile(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        ADD_FAILURE() << "cannot write " << path;
        return;
    }
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

std::string makeTemporaryFolder(const char* purpose) {
    static int serial;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::ostringstream name;
    name << temp << "glimra-" << purpose << "-" << GetCurrentProcessId() << "-" << ++serial << "\\";
    CreateDirectoryA(name.str().c_str(), nullptr);
    return name.str();
}

void removeFolder(const std::string& directory) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                DeleteFileA((directory + found.cFileName).c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(directory.c_str());
}

PluginSession::PluginSession(const std::string& settingsText)
    : directory(makeTemporaryFolder("plugin")) {
    const std::string dllPath = directory + "GLIMRA.dll";
    EXPECT_TRUE(CopyFileA(builtPluginPath.c_str(), dllPath.c_str(), FALSE)) << builtPluginPath;
    if (!settingsText.empty()) {
        writeTextFile(directory + "glimrarc", settingsText);
    }
    reload();
}

void PluginSession::reload() {
    unloadPlugin(plugin);
    const std::string dllPath = directory + "GLIMRA.dll";
    ASSERT_TRUE(loadPlugin(dllPath.c_str(), plugin)) << dllPath;
    ASSERT_TRUE(recordMessageBoxesOf(plugin.module));
}

PluginSession::~PluginSession() {
    if (plugin.module) {
        plugin.end(nullptr); // harmless when the test has ended it already
    }
    unloadPlugin(plugin);
    destroyHostWindow();
    // The next session starts with no registrations and the host's own answers.
    createHostWindow(GetModuleHandleA(nullptr));
    removeFolder(directory);
}

int PluginSession::begin() {
    return plugin.begin(plugin.module);
}

void PluginSession::end() {
    plugin.end(nullptr);
}

HWND PluginSession::osdWindow() const {
    return registeredWindow();
}
