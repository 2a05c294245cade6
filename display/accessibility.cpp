// The display's texts for screen readers: the window named after each one and
// an alert raised for it, the system's accessibility libraries loaded only
// when a reader first asks for the display's object, and all of it let go
// when the display goes.
#include "display/com_interfaces.h"

#include "display/accessibility.h"
#include "display/accessible_name.h"
#include "plugin/plugin.h"

#include <cstring>
#include <initializer_list>

AccessibilitySystem accessibilitySystem;

namespace {

// UI Automation's NotificationKind_Other and NotificationProcessing_ImportantMostRecent:
// each text replaces the one before, so a reader still speaking the previous
// one moves on to the newest.
constexpr int NOTIFICATION_KIND_OTHER = 4;
constexpr int NOTIFICATION_IMPORTANT_MOST_RECENT = 1;

bool librariesLoaded;
// Whether a reader was handed the display's object, or UI Automation its element.
bool objectHandedOut;
bool providerHandedOut;

template <typename Function> void lookUp(HMODULE module, const char* name, Function& function) {
    function =
        module
            ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)))
            : nullptr;
}

// From the system's own directory only: a DLL of that name beside the host
// must not be loaded in its place.
HMODULE loadSystemLibrary(const char* name) {
    char path[MAX_PATH];
    const size_t length = GetSystemDirectoryA(path, MAX_PATH);
    const size_t nameSize = std::strlen(name) + 1;
    if (length == 0 || length + 1 + nameSize > MAX_PATH) {
        return nullptr;
    }
    path[length] = '\\';
    std::memcpy(path + length + 1, name, nameSize);
    return LoadLibraryA(path);
}

// COM brings a reader's calls to the display's objects to this thread only in
// a single-threaded apartment, through the host's message loop. The plug-in
// never starts COM on the host's thread itself: where the host has none, or
// a multi-threaded one, the system's default object answers instead.
bool hostThreadHasSingleThreadedApartment() {
    HRESULT(WINAPI * apartmentType)(APTTYPE*, APTTYPEQUALIFIER*) = nullptr;
    lookUp(GetModuleHandleA("ole32.dll"), "CoGetApartmentType", apartmentType);
    APTTYPE type = APTTYPE_CURRENT;
    APTTYPEQUALIFIER qualifier = APTTYPEQUALIFIER_NONE;
    return apartmentType && SUCCEEDED(apartmentType(&type, &qualifier)) &&
           (type == APTTYPE_STA || type == APTTYPE_MAINSTA);
}

// UI Automation stays loaded only where it can announce.
void loadUiAutomation() {
    AccessibilitySystem& system = accessibilitySystem;
    system.uiAutomation = loadSystemLibrary("uiautomationcore.dll");
    lookUp(system.uiAutomation, "UiaHostProviderFromHwnd", system.uiaHostProviderFromHwnd);
    lookUp(system.uiAutomation, "UiaClientsAreListening", system.uiaClientsAreListening);
    lookUp(system.uiAutomation, "UiaRaiseNotificationEvent", system.uiaRaiseNotificationEvent);
    lookUp(system.uiAutomation, "UiaDisconnectProvider", system.uiaDisconnectProvider);
    if (system.uiAutomation && !(system.uiaHostProviderFromHwnd && system.uiaClientsAreListening &&
                                 system.uiaRaiseNotificationEvent)) {
        FreeLibrary(system.uiAutomation);
        system.uiAutomation = nullptr;
        system.uiaHostProviderFromHwnd = nullptr;
        system.uiaClientsAreListening = nullptr;
        system.uiaRaiseNotificationEvent = nullptr;
        system.uiaDisconnectProvider = nullptr;
    }
}

bool loadAccessibility() {
    AccessibilitySystem& system = accessibilitySystem;
    if (!librariesLoaded) {
        librariesLoaded = true;
        system.oleacc = loadSystemLibrary("oleacc.dll");
        system.oleaut32 = loadSystemLibrary("oleaut32.dll");
        lookUp(system.oleacc, "LresultFromObject", system.lresultFromObject);
        lookUp(system.oleacc, "AccessibleObjectFromWindow", system.accessibleObjectFromWindow);
        lookUp(system.oleaut32, "SysAllocString", system.sysAllocString);
        lookUp(system.oleaut32, "SysFreeString", system.sysFreeString);
        loadUiAutomation();
    }
    return system.lresultFromObject && system.accessibleObjectFromWindow && system.sysAllocString &&
           system.sysFreeString;
}

// For readers that listen to UI Automation alone, where the system offers its
// notification and one of them is listening.
void raiseAutomationNotification(HWND window) {
    AccessibilitySystem& system = accessibilitySystem;
    if (!system.uiaRaiseNotificationEvent || !system.uiaClientsAreListening()) {
        return;
    }
    BSTR text = accessibleNameOf(window);
    BSTR activity = system.sysAllocString(L"Glimra text");
    if (text && activity) {
        providerHandedOut = true;
        system.uiaRaiseNotificationEvent(automationProviderOf(window), NOTIFICATION_KIND_OTHER,
                                         NOTIFICATION_IMPORTANT_MOST_RECENT, text, activity);
    }
    system.sysFreeString(text);
    system.sysFreeString(activity);
}

} // namespace

BSTR accessibleNameOf(HWND window) {
    WCHAR text[OSD_TEXT_SIZE] = {};
    GetWindowTextW(window, text, OSD_TEXT_SIZE);
    WCHAR name[OSD_TEXT_SIZE];
    accessibleName(text, name, OSD_TEXT_SIZE);
    return accessibilitySystem.sysAllocString(name);
}

// The window's text is the display's, ampersands and all, as a control's
// text is: what tools that read titles see, and what the system's default
// object names it after where the display's own object cannot answer.
void announceText(HWND window, const char* text) {
    SetWindowTextA(window, text);
    char name[OSD_TEXT_SIZE];
    accessibleName(text, name, sizeof name);
    if (name[0] == '\0') {
        return;
    }
    NotifyWinEvent(EVENT_SYSTEM_ALERT, window, OBJID_CLIENT, CHILDID_SELF);
    raiseAutomationNotification(window);
}

LRESULT answerObjectRequest(HWND window, WPARAM flags, LPARAM objectId) {
    // The object's number is a 32-bit value, whichever way lParam widened it.
    const auto object = static_cast<LONG>(static_cast<DWORD>(objectId));
    if (object == OBJID_CLIENT && hostThreadHasSingleThreadedApartment() && loadAccessibility()) {
        const LRESULT reference = accessibilitySystem.lresultFromObject(
            IID_IAccessible, flags, reinterpret_cast<IUnknown*>(accessibleObjectOf(window)));
        if (reference > 0) { // otherwise an error code
            objectHandedOut = true;
            return reference;
        }
    }
    return DefWindowProcA(window, WM_GETOBJECT, flags, objectId);
}

// A reader may hold on to the display's object or element: cut off, each of
// its calls fails, and none reaches this module after it is unloaded.
void releaseAccessibility() {
    AccessibilitySystem& system = accessibilitySystem;
    detachAccessibleObjects();
    HRESULT(WINAPI * disconnect)(LPUNKNOWN, DWORD) = nullptr;
    lookUp(GetModuleHandleA("ole32.dll"), "CoDisconnectObject", disconnect);
    if (providerHandedOut) {
        IRawElementProviderSimple* provider = automationProviderOf(nullptr);
        if (system.uiaDisconnectProvider) {
            system.uiaDisconnectProvider(provider);
        }
        if (disconnect) {
            disconnect(reinterpret_cast<IUnknown*>(provider), 0);
        }
    }
    if (objectHandedOut && disconnect) {
        disconnect(reinterpret_cast<IUnknown*>(accessibleObjectOf(nullptr)), 0);
    }
    for (HMODULE library : {system.uiAutomation, system.oleacc, system.oleaut32}) {
        if (library) {
            FreeLibrary(library);
        }
    }
    system = {};
    librariesLoaded = objectHandedOut = providerHandedOut = false;
}
