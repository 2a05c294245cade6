#include "e2e_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

std::string builtPluginPath;

namespace {

std::vector<AnsweredBox> answeredBoxes;
HHOOK boxHook;

bool isDialog(HWND window) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    return std::string(className) == "#32770";
}

std::string windowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The button styles, not IsWindowVisible: the box itself may not be shown yet.
bool buttonShown(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    return button && (GetWindowLongA(button, GWL_STYLE) & WS_VISIBLE);
}

HWND boxToAnswer;

// Runs inside the box's own message loop, once its dialog is fully set up.
void CALLBACK readAndCloseBox(HWND /*window*/, UINT /*message*/, UINT_PTR timer, DWORD /*time*/) {
    KillTimer(nullptr, timer);
    HWND box = boxToAnswer;
    const bool onlyOk = buttonShown(box, IDOK) && !buttonShown(box, IDCANCEL) &&
                        !buttonShown(box, IDYES) && !buttonShown(box, IDNO);
    answeredBoxes.push_back({windowText(box), windowText(GetDlgItem(box, 0xFFFF)), onlyOk});
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

LRESULT CALLBACK answerBoxes(int code, WPARAM wParam, LPARAM lParam) {
    auto* const window = reinterpret_cast<HWND>(wParam);
    // A box may be activated more than once; it is read and answered once.
    if (code == HCBT_ACTIVATE && isDialog(window) && window != boxToAnswer) {
        boxToAnswer = window;
        SetTimer(nullptr, 0, 100, readAndCloseBox);
    }
    return CallNextHookEx(boxHook, code, wParam, lParam);
}

} // namespace

void writeTextFile(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
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
    EXPECT_TRUE(loadPlugin(dllPath.c_str(), plugin)) << dllPath;
}

PluginSession::~PluginSession() {
    if (plugin.module) {
        plugin.end(nullptr); // harmless when the test has ended it already
    }
    unloadPlugin(plugin);
    destroyHostWindow();
    createHostWindow(GetModuleHandleA(nullptr)); // the next session starts with no registrations
    setHostPathOverride("");
    removeFolder(directory);
}

int PluginSession::begin() {
    return plugin.begin(plugin.module);
}

void PluginSession::end() {
    plugin.end(nullptr);
}

HWND PluginSession::osdWindow() const {
    const auto& registrations = hostRegistrations();
    return registrations.empty() ? nullptr : registrations.back().window;
}

BoxAnswerer::BoxAnswerer() {
    answeredBoxes.clear();
    boxHook = SetWindowsHookExA(WH_CBT, answerBoxes, nullptr, GetCurrentThreadId());
}

BoxAnswerer::~BoxAnswerer() {
    UnhookWindowsHookEx(boxHook);
}

const std::vector<AnsweredBox>& BoxAnswerer::boxes() const {
    return answeredBoxes;
}

Backdrop::Backdrop()
    : handle(createBackdrop(GetModuleHandleA(nullptr), BACKDROP_COLOUR, SHOT_WIDTH + 100,
                            SHOT_HEIGHT + 100)),
      clicksBefore(backdropClickCount()) {
    pumpMessagesFor(200);
}

Backdrop::~Backdrop() {
    DestroyWindow(handle);
}

int Backdrop::clicks() const {
    return backdropClickCount() - clicksBefore;
}

ScreenImage settleAndCapture(HWND osd) {
    pumpMessagesFor(250);
    UpdateWindow(osd);
    pumpMessagesFor(150);
    return captureScreen(SHOT_WIDTH, SHOT_HEIGHT);
}

ScreenImage showAndCapture(HWND osd, const char* text) {
    sendHostText(text);
    return settleAndCapture(osd);
}

int countColour(const ScreenImage& image, COLORREF colour) {
    int count = 0;
    for (const COLORREF pixel : image.pixels) {
        count += pixel == colour ? 1 : 0;
    }
    return count;
}

std::string firstForeignPixel(const ScreenImage& image, const std::vector<COLORREF>& allowed) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const COLORREF pixel = image.at(x, y);
            bool known = false;
            for (const COLORREF colour : allowed) {
                known = known || pixel == colour;
            }
            if (!known) {
                char description[80];
                std::snprintf(description, sizeof description, "pixel %d,%d is 0x%06lX", x, y,
                              static_cast<unsigned long>(pixel));
                return description;
            }
        }
    }
    return "";
}

RECT boundsOfColour(const ScreenImage& image, COLORREF colour) {
    RECT bounds = {image.width, image.height, 0, 0};
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (image.at(x, y) == colour) {
                bounds.left = std::min<LONG>(bounds.left, x);
                bounds.top = std::min<LONG>(bounds.top, y);
                bounds.right = std::max<LONG>(bounds.right, x + 1);
                bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
            }
        }
    }
    if (bounds.right == 0) {
        return RECT{0, 0, 0, 0};
    }
    return bounds;
}
