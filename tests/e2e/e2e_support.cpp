#include "e2e_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sstream>

std::string builtPluginPath;

namespace {

std::vector<AnsweredBox> answeredBoxes;
bool boxesExpected;
HHOOK boxHook;

// What the plug-in last asked MessageBoxA for, through its patched import.
struct MessageBoxCall {
    bool made;
    HWND owner;
    UINT type;
};
MessageBoxCall lastMessageBoxCall;

int WINAPI recordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    lastMessageBoxCall = {true, owner, type};
    return MessageBoxA(owner, text, caption, type);
}

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
    // A box not asked for through the plug-in's import gets an owner and a
    // type that no start-up box may have.
    const MessageBoxCall call =
        lastMessageBoxCall.made ? lastMessageBoxCall : MessageBoxCall{false, box, 0};
    lastMessageBoxCall = {};
    const AnsweredBox answered{windowText(box), windowText(GetDlgItem(box, 0xFFFF)), onlyOk,
                               call.owner, call.type};
    if (boxesExpected) {
        answeredBoxes.push_back(answered);
    } else {
        ADD_FAILURE() << "unexpected message box: " << answered.caption << ": " << answered.text;
    }
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
    // Every box the plug-in shows is seen with the owner and type it asked for.
    ASSERT_NE(patchImport(plugin.module, "USER32.dll", "MessageBoxA",
                          reinterpret_cast<void*>(&recordMessageBox)),
              nullptr);
}

PluginSession::~PluginSession() {
    if (plugin.module) {
        plugin.end(nullptr); // harmless when the test has ended it already
    }
    unloadPlugin(plugin);
    destroyHostWindow();
    createHostWindow(GetModuleHandleA(nullptr)); // the next session starts with no registrations
    setHostPathOverride("");
    setHostYesValue(1);
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

void startAnsweringMessageBoxes() {
    boxHook = SetWindowsHookExA(WH_CBT, answerBoxes, nullptr, GetCurrentThreadId());
}

void expectStartBox(const std::vector<AnsweredBox>& boxes, size_t index, const char* caption,
                    const char* text) {
    ASSERT_GT(boxes.size(), index) << "no box " << text;
    const AnsweredBox& box = boxes[index];
    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ(box.text, text);
    EXPECT_TRUE(box.onlyOkButton) << text;
    EXPECT_EQ(box.owner, nullptr) << text;
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_SETFOREGROUND | MB_TOPMOST)) << text;
}

BoxAnswerer::BoxAnswerer() {
    answeredBoxes.clear();
    boxesExpected = true;
}

BoxAnswerer::~BoxAnswerer() {
    boxesExpected = false;
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

HFONT createDisplayFont(int pixelHeight) {
    return CreateFontA(pixelHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, 0,
                       "Verdana");
}

ScreenImage expectedDisplay(const char* text, int fontPixelHeight, COLORREF letters,
                            COLORREF outline) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, SHOT_WIDTH, SHOT_HEIGHT);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previousBitmap = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, SHOT_WIDTH, SHOT_HEIGHT, BLACKNESS);
    HFONT font = createDisplayFont(fontPixelHeight);
    HGDIOBJ previousFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    const auto drawAt = [&](COLORREF colour, POINT origin) {
        SetTextColor(dc, colour);
        RECT area = {origin.x, origin.y, 800, fontPixelHeight + 30}; // clipped to the window
        DrawTextA(dc, text, -1, &area, 0);
    };
    for (const POINT origin : {POINT{9, 9}, POINT{11, 11}, POINT{9, 11}, POINT{11, 9}}) {
        drawAt(outline, origin);
    }
    drawAt(letters, {10, 10});
    ScreenImage image = captureDc(dc, SHOT_WIDTH, SHOT_HEIGHT);
    std::replace(image.pixels.begin(), image.pixels.end(), RGB(0, 0, 0), BACKDROP_COLOUR);
    SelectObject(dc, previousFont);
    SelectObject(dc, previousBitmap);
    DeleteObject(font);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return image;
}

std::string firstDifference(const ScreenImage& actual, const ScreenImage& expected) {
    if (actual.width != expected.width || actual.height != expected.height) {
        return "the images differ in size";
    }
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            if (actual.at(x, y) != expected.at(x, y)) {
                char description[80];
                std::snprintf(description, sizeof description,
                              "pixel %d,%d is 0x%06lX, not 0x%06lX", x, y,
                              static_cast<unsigned long>(actual.at(x, y)),
                              static_cast<unsigned long>(expected.at(x, y)));
                return description;
            }
        }
    }
    return "";
}

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
