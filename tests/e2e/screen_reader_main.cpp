// A screen reader of the tests, in a process of its own, as NVDA or Narrator
// is: it hooks the system's alert events out of context, asks the window of
// each for its object as a reader does, and writes what it would speak to a
// file, a line an alert:
//
//   screen_reader.exe RESULTS_FILE
//
//   ready
//   alert object -4 child 0 role 8 name Volume 40 %
//
// The name is written in UTF-8. It keeps the last object it heard; a WM_APP
// thread message has it ask that object for its name again, as a reader that
// holds on to it would, and write "again 0x80010108 name ..." (the result of
// the call). It ends at WM_QUIT, or after a minute.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <string>

namespace {

constexpr UINT LIFETIME_MILLISECONDS = 60000;

std::FILE* results;
IAccessible* heldObject;
VARIANT heldChild;

void writeLine(const std::string& line) {
    std::fprintf(results, "%s\n", line.c_str());
    std::fflush(results);
}

std::string utf8(BSTR text) {
    if (!text) {
        return "(none)";
    }
    char bytes[512] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes - 1, nullptr, nullptr);
    return bytes;
}

std::string nameOf(IAccessible* object, VARIANT child, HRESULT* result) {
    BSTR name = nullptr;
    *result = object->get_accName(child, &name);
    std::string text = utf8(name);
    SysFreeString(name);
    return text;
}

void CALLBACK onAlert(HWINEVENTHOOK /*hook*/, DWORD /*event*/, HWND window, LONG object, LONG child,
                      DWORD /*thread*/, DWORD /*time*/) {
    char heading[64];
    std::snprintf(heading, sizeof heading, "alert object %ld child %ld", object, child);
    IAccessible* accessible = nullptr;
    VARIANT self = {};
    const HRESULT found = AccessibleObjectFromEvent(window, object, child, &accessible, &self);
    if (FAILED(found) || !accessible) {
        char failure[32];
        std::snprintf(failure, sizeof failure, " no object 0x%08lX",
                      static_cast<unsigned long>(found));
        writeLine(heading + std::string(failure));
        return;
    }
    VARIANT role = {};
    accessible->get_accRole(self, &role);
    HRESULT named = S_OK;
    const std::string name = nameOf(accessible, self, &named);
    char roleText[32];
    std::snprintf(roleText, sizeof roleText, " role %ld name ", role.vt == VT_I4 ? role.lVal : -1L);
    writeLine(std::string(heading) + roleText + name);
    if (heldObject) {
        heldObject->Release();
    }
    heldObject = accessible;
    heldChild = self;
}

void askAgain() {
    if (!heldObject) {
        writeLine("again: no object held");
        return;
    }
    HRESULT result = S_OK;
    const std::string name = nameOf(heldObject, heldChild, &result);
    char heading[32];
    std::snprintf(heading, sizeof heading, "again 0x%08lX name ",
                  static_cast<unsigned long>(result));
    writeLine(heading + name);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 || !(results = std::fopen(argv[1], "w"))) {
        std::fprintf(stderr, "usage: screen_reader.exe RESULTS_FILE\n");
        return 2;
    }
    CoInitialize(nullptr);
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, onAlert,
                                         0, 0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    writeLine(hook ? "ready" : "no hook");
    SetTimer(nullptr, 0, LIFETIME_MILLISECONDS, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd == nullptr && message.message == WM_APP) {
            askAgain();
        } else if (message.hwnd == nullptr && message.message == WM_TIMER) {
            break;
        }
        DispatchMessageA(&message);
    }
    if (heldObject) {
        heldObject->Release();
    }
    UnhookWinEvent(hook);
    CoUninitialize();
    std::fclose(results);
    return 0;
}
