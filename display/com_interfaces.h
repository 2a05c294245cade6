// The system's accessibility interfaces as C declares them: an object is a
// plain record whose first member points to a constant table of plain
// functions, so the display's accessible objects need no class hierarchy.
// Included first, before anything includes <windows.h>.
#pragma once

#define CINTERFACE
#define CONST_VTABLE // the tables of functions are constants
#include <windows.h>

#include <ole2.h>
#include <oleacc.h>
#include <uiautomationcore.h> // not <uiautomation.h>: its API header is no C++

// What the display looks up in the system's accessibility libraries when a
// reader first asks for its object. Each is null where the system lacks it:
// UI Automation's notification came with Windows 10 version 1709.
struct AccessibilitySystem {
    HMODULE oleacc;
    HMODULE oleaut32;
    HMODULE uiAutomation;
    LRESULT(WINAPI* lresultFromObject)(REFIID, WPARAM, LPUNKNOWN);
    HRESULT(WINAPI* accessibleObjectFromWindow)(HWND, DWORD, REFIID, void**);
    BSTR(WINAPI* sysAllocString)(const OLECHAR*);
    void(WINAPI* sysFreeString)(BSTR);
    HRESULT(WINAPI* uiaHostProviderFromHwnd)(HWND, IRawElementProviderSimple**);
    BOOL(WINAPI* uiaClientsAreListening)();
    HRESULT(WINAPI* uiaRaiseNotificationEvent)
    (IRawElementProviderSimple*, int kind, int processing, BSTR text, BSTR activity);
    HRESULT(WINAPI* uiaDisconnectProvider)(IRawElementProviderSimple*);
};
extern AccessibilitySystem accessibilitySystem;

// What a reader hears of window: its text, which is the display's, as the
// display draws it; null when there is no memory for it.
BSTR accessibleNameOf(HWND window);

// The display's object for readers that use Active Accessibility: an alert,
// named as the window is. Only its window changes; it is never freed.
IAccessible* accessibleObjectOf(HWND window);
// The display's element for UI Automation, which names the window as the
// object does; the system's provider of the window stands behind it.
IRawElementProviderSimple* automationProviderOf(HWND window);
// From now on both answer every question with CO_E_OBJNOTCONNECTED.
void detachAccessibleObjects();
