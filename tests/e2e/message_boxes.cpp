#include "message_boxes.h"

#include "import_patch.h"

#include <cstddef>
#include <gtest/gtest.h>
#include <string>
#include <vector>

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

void startAnsweringMessageBoxes() {
    boxHook = SetWindowsHookExA(WH_CBT, answerBoxes, nullptr, GetCurrentThreadId());
}

bool recordMessageBoxesOf(HMODULE module) {
    return patchImport(module, "USER32.dll", "MessageBoxA",
                       reinterpret_cast<void*>(&recordMessageBox)) != nullptr;
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
