// Each text is heard as well as seen: a screen reader in a process of its own
// hears an alert for it and reads the display's object, while the user keeps
// typing into the host.
#include "host/host.h"
#include "import_patch.h"
#include "plugin_session.h"
#include "reference_drawing.h"
#include "screen_checks.h"
#include "screen_reader.h"
#include "typing_window.h"

#include <gtest/gtest.h>

#include <imm.h>
#include <ole2.h>
#include <uiautomationcore.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int ROLE_ALERT = 8;
constexpr int ROLE_CLIENT = 10;

// The host's thread in a single-threaded COM apartment, as most hosts' user
// interface threads are, for the length of a test.
class ComApartment {
  public:
    ComApartment() { EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK); }
    ~ComApartment() { CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

std::string windowTitle(HWND window) {
    char title[160] = {};
    GetWindowTextA(window, title, sizeof title);
    return title;
}

// Texts as the host sends them in code page 1252, and as they are heard and
// named: an ampersand that only underlines is not read.
const std::pair<const char*, const char*> HEARD_TEXTS[] = {
    {"Volume 40 %", "Volume 40 %"},
    {"R&&D", "R&D"},
    {"&Mute", "Mute"},
    {"Lautst\xE4rke", "Lautst\xC3\xA4rke"},
};

TEST(Announcements, EveryTextIsHeardAsAnAlertWithWhatTheDisplayShows) {
    ASSERT_EQ(GetACP(), 1252u);
    const ComApartment apartment;
    const TypingWindow user;
    ScreenReader reader;
    PluginSession session("GLIMRA.timeout 60000\n");
    ASSERT_EQ(session.begin(), 0);
    HWND osd = session.osdWindow();
    EXPECT_EQ(reader.nextLine(), heardAlert(ROLE_ALERT, "Glimra")) << "the start-up name";

    for (const auto& [text, heard] : HEARD_TEXTS) {
        sendHostText(text);
        EXPECT_EQ(reader.nextLine(), heardAlert(ROLE_ALERT, heard)) << text;
    }
    EXPECT_EQ(windowTitle(osd), "Lautst\xE4rke") << "the window's own text";

    sendHostText("");
    EXPECT_EQ(reader.nextLine(1000), "") << "an empty text is announced";
    EXPECT_EQ(windowTitle(osd), "");
    sendHostText("After");
    EXPECT_EQ(reader.nextLine(), heardAlert(ROLE_ALERT, "After"));

    EXPECT_EQ(user.type('a'), "a");
    user.expectStillHasTheKeyboard("while the reader read");
    // Wine has no UI Automation notification: its library is not kept for nothing.
    EXPECT_EQ(GetModuleHandleA("uiautomationcore.dll"), nullptr);
}

bool threadHasCom() {
    APTTYPE type = APTTYPE_CURRENT;
    APTTYPEQUALIFIER qualifier = APTTYPEQUALIFIER_NONE;
    return CoGetApartmentType(&type, &qualifier) != CO_E_NOTINITIALIZED;
}

// A host that never started COM on its thread: the plug-in does not start it
// either, so readers get the system's default object, named as the window is,
// and nothing else changes. Wine's input methods, as Windows' text services
// do, start COM on a thread once one of its windows takes the keyboard: with
// them off, the host's thread has none, as on older Windows.
TEST(AnnouncementsOnAThreadWithoutCom, HostLosesNothing) {
    ASSERT_TRUE(ImmDisableIME(GetCurrentThreadId()));
    const TypingWindow user;
    const Backdrop backdrop;
    ScreenReader reader;
    PluginSession session;
    ASSERT_EQ(session.begin(), 0);
    ASSERT_FALSE(threadHasCom());
    EXPECT_EQ(reader.nextLine(), heardAlert(ROLE_CLIENT, "Glimra"));
    EXPECT_EQ(
        firstDifference(showAndCapture(session.osdWindow(), "R&&D"), expectedDisplay("R&&D", 72)),
        "");
    EXPECT_EQ(reader.nextLine(), heardAlert(ROLE_CLIENT, "R&D"));
    EXPECT_EQ(user.type('a'), "a");
    user.expectStillHasTheKeyboard("while the reader read");
    EXPECT_EQ(GetModuleHandleA("oleacc.dll"), nullptr) << "loaded with nothing to answer";
}

// A reader may hold on to the display's object after the host has ended and
// unloaded the plug-in: its questions then fail, and the host lives on.
TEST(Announcements, ReaderHoldingTheObjectPastTheEndIsRefused) {
    const ComApartment apartment;
    ScreenReader reader;
    PluginSession session;
    ASSERT_EQ(session.begin(), 0);
    ASSERT_EQ(reader.nextLine(), heardAlert(ROLE_ALERT, "Glimra"));
    reader.askAgain();
    EXPECT_EQ(reader.nextLine(), "again 0x00000000 name Glimra") << "held, while the display lives";

    session.end();
    session.reload(); // the old module unloaded, a new one loaded in its place
    // COM itself refuses it (RPC_E_DISCONNECTED): nothing reaches the module
    // that stood there, nor the one loaded in its place.
    reader.askAgain();
    EXPECT_EQ(reader.nextLine(), "again 0x80010108 name (none)");
}

// What the plug-in hands UI Automation's notification, where the system has
// one: Wine has none, so the tests stand in for it, and for its question
// whether any client listens.
struct Notification {
    IRawElementProviderSimple* provider;
    int kind;
    int processing;
    std::wstring text;
    std::wstring activity;
};
std::vector<Notification> notifications;
std::vector<IRawElementProviderSimple*> disconnectedProviders;
FARPROC(WINAPI* systemGetProcAddress)(HMODULE, LPCSTR);

HRESULT WINAPI recordNotification(IRawElementProviderSimple* provider, int kind, int processing,
                                  const OLECHAR* text, const OLECHAR* activity) {
    notifications.push_back({provider, kind, processing, text, activity});
    return S_OK;
}

BOOL WINAPI aClientListens() {
    return TRUE;
}

HRESULT WINAPI recordDisconnection(IRawElementProviderSimple* provider) {
    disconnectedProviders.push_back(provider);
    return S_OK;
}

FARPROC WINAPI getProcAddressWithNotifications(HMODULE module, LPCSTR name) {
    const std::pair<const char*, void*> standIns[] = {
        {"UiaRaiseNotificationEvent", reinterpret_cast<void*>(&recordNotification)},
        {"UiaClientsAreListening", reinterpret_cast<void*>(&aClientListens)},
        {"UiaDisconnectProvider", reinterpret_cast<void*>(&recordDisconnection)},
    };
    for (const auto& [function, standIn] : standIns) {
        if (reinterpret_cast<ULONG_PTR>(name) > 0xFFFF && std::string(name) == function) {
            return reinterpret_cast<FARPROC>(standIn);
        }
    }
    return systemGetProcAddress(module, name);
}

std::wstring nameProperty(IRawElementProviderSimple* provider, HRESULT* result) {
    VARIANT name = {};
    *result = provider->GetPropertyValue(30005, &name); // UIA_NamePropertyId
    std::wstring text = name.vt == VT_BSTR ? name.bstrVal : L"";
    VariantClear(&name);
    return text;
}

TEST(Announcements, UiAutomationNotificationWhereTheSystemOffersIt) {
    const ComApartment apartment;
    ScreenReader reader;
    PluginSession session("GLIMRA.timeout 60000\n");
    systemGetProcAddress = reinterpret_cast<decltype(systemGetProcAddress)>(
        patchImport(session.plugin.module, "KERNEL32.dll", "GetProcAddress",
                    reinterpret_cast<void*>(&getProcAddressWithNotifications)));
    ASSERT_NE(systemGetProcAddress, nullptr);
    notifications.clear();
    disconnectedProviders.clear();
    ASSERT_EQ(session.begin(), 0);
    ASSERT_EQ(reader.nextLine(), heardAlert(ROLE_ALERT, "Glimra")) << "the reader asked first";
    EXPECT_TRUE(notifications.empty()) << "nothing loaded before a reader asked";

    sendHostText("R&&D 40 %");
    EXPECT_EQ(reader.nextLine(), heardAlert(ROLE_ALERT, "R&D 40 %"));
    ASSERT_EQ(notifications.size(), 1u);
    const Notification& heard = notifications[0];
    EXPECT_EQ(heard.text, L"R&D 40 %");
    EXPECT_EQ(heard.kind, 4) << "NotificationKind_Other";
    EXPECT_EQ(heard.processing, 1) << "NotificationProcessing_ImportantMostRecent";
    EXPECT_FALSE(heard.activity.empty());
    HRESULT result = E_FAIL;
    EXPECT_EQ(nameProperty(heard.provider, &result), L"R&D 40 %");
    EXPECT_EQ(result, S_OK);
    IRawElementProviderSimple* host = nullptr;
    EXPECT_EQ(heard.provider->get_HostRawElementProvider(&host), S_OK);
    EXPECT_NE(host, nullptr) << "the window's own provider stands behind the display's";
    if (host) {
        host->Release();
    }

    sendHostText("");
    EXPECT_EQ(notifications.size(), 1u) << "an empty text is announced";

    session.end();
    EXPECT_EQ(disconnectedProviders.size(), 1u);
    EXPECT_TRUE(nameProperty(heard.provider, &result).empty());
    EXPECT_EQ(result, CO_E_OBJNOTCONNECTED) << "asked after the end";
}

// A reader built for the other architecture (an x86 one beside an x64 host,
// and the other way round), which the system's marshalling connects alike.
TEST(AnnouncementsToTheOtherArchitecture, EveryTextIsHeard) {
    const char* otherBin = std::getenv("GLIMRA_OTHER_ARCHITECTURE_BIN");
    ASSERT_NE(otherBin, nullptr) << "its CTest entry names the other build's programs";
    const ComApartment apartment;
    ScreenReader reader(std::string(otherBin) + "\\");
    PluginSession session;
    ASSERT_EQ(session.begin(), 0);
    EXPECT_EQ(reader.nextLine(), heardAlert(ROLE_ALERT, "Glimra"));
    sendHostText("R&&D");
    EXPECT_EQ(reader.nextLine(), heardAlert(ROLE_ALERT, "R&D"));
}

} // namespace
