// What a screen reader finds behind the display: one object for Active
// Accessibility and one element for UI Automation, each a record with a
// table of functions, as COM lays them out. Both live as long as the module:
// reading does not change them, so their reference counts need no keeping.
#include "display/com_interfaces.h"

namespace {

// ROLE_SYSTEM_ALERT: readers speak an alert at once, interrupting what they say.
constexpr LONG DISPLAY_ROLE = ROLE_SYSTEM_ALERT;
// The UI Automation name property, as <uiautomationclient.h> numbers it.
constexpr PROPERTYID NAME_PROPERTY = 30005;

struct DisplayAccessible {
    IAccessible face; // first, so that the interface's address is the record's
    HWND window;      // null once the display is gone
};

struct DisplayProvider {
    IRawElementProviderSimple face;
    HWND window;
};

DisplayAccessible* recordOf(IAccessible* face) {
    return reinterpret_cast<DisplayAccessible*>(face);
}

DisplayProvider* recordOf(IRawElementProviderSimple* face) {
    return reinterpret_cast<DisplayProvider*>(face);
}

bool isSelf(VARIANT child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT windowName(HWND window, BSTR* name) {
    *name = nullptr;
    if (!window) {
        return CO_E_OBJNOTCONNECTED;
    }
    *name = accessibleNameOf(window);
    return *name ? S_OK : E_OUTOFMEMORY;
}

void setLong(VARIANT* variant, LONG value) {
    variant->vt = VT_I4;
    variant->lVal = value;
}

// IUnknown and IDispatch. A reader asks by name and role, never by dispatch.

HRESULT STDMETHODCALLTYPE accessibleQueryInterface(IAccessible* self, REFIID interfaceId,
                                                   void** object) {
    const bool known = IsEqualIID(interfaceId, IID_IUnknown) ||
                       IsEqualIID(interfaceId, IID_IDispatch) ||
                       IsEqualIID(interfaceId, IID_IAccessible);
    *object = known ? self : nullptr;
    return known ? S_OK : E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE accessibleAddRef(IAccessible* /*self*/) {
    return 2;
}

ULONG STDMETHODCALLTYPE accessibleRelease(IAccessible* /*self*/) {
    return 1;
}

HRESULT STDMETHODCALLTYPE noTypeInfoCount(IAccessible* /*self*/, UINT* count) {
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE noTypeInfo(IAccessible* /*self*/, UINT /*index*/, LCID /*locale*/,
                                     ITypeInfo** info) {
    *info = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE noIdsOfNames(IAccessible* /*self*/, REFIID /*reserved*/,
                                       LPOLESTR* /*names*/, UINT /*count*/, LCID /*locale*/,
                                       DISPID* /*ids*/) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE noInvoke(IAccessible* /*self*/, DISPID /*member*/, REFIID /*reserved*/,
                                   LCID /*locale*/, WORD /*flags*/, DISPPARAMS* /*parameters*/,
                                   VARIANT* /*result*/, EXCEPINFO* /*exception*/,
                                   UINT* /*badArgument*/) {
    return E_NOTIMPL;
}

// IAccessible: the client area of the window, an alert without children.

HRESULT STDMETHODCALLTYPE getParent(IAccessible* self, IDispatch** parent) {
    *parent = nullptr;
    HWND window = recordOf(self)->window;
    if (!window) {
        return CO_E_OBJNOTCONNECTED;
    }
    return accessibilitySystem.accessibleObjectFromWindow(
        window, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch, reinterpret_cast<void**>(parent));
}

HRESULT STDMETHODCALLTYPE getChildCount(IAccessible* /*self*/, LONG* count) {
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE getChild(IAccessible* /*self*/, VARIANT /*child*/, IDispatch** object) {
    *object = nullptr;
    return E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE getName(IAccessible* self, VARIANT child, BSTR* name) {
    *name = nullptr;
    return isSelf(child) ? windowName(recordOf(self)->window, name) : E_INVALIDARG;
}

// Value, description, help, keyboard shortcut and default action: none.
HRESULT STDMETHODCALLTYPE noText(IAccessible* /*self*/, VARIANT /*child*/, BSTR* text) {
    *text = nullptr;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT STDMETHODCALLTYPE getRole(IAccessible* self, VARIANT child, VARIANT* role) {
    role->vt = VT_EMPTY;
    if (!isSelf(child)) {
        return E_INVALIDARG;
    }
    if (!recordOf(self)->window) {
        return CO_E_OBJNOTCONNECTED;
    }
    setLong(role, DISPLAY_ROLE);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE getState(IAccessible* self, VARIANT child, VARIANT* state) {
    state->vt = VT_EMPTY;
    HWND window = recordOf(self)->window;
    if (!isSelf(child)) {
        return E_INVALIDARG;
    }
    if (!window) {
        return CO_E_OBJNOTCONNECTED;
    }
    setLong(state, STATE_SYSTEM_READONLY | (IsWindowVisible(window) ? 0 : STATE_SYSTEM_INVISIBLE));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE noHelpTopic(IAccessible* /*self*/, BSTR* file, VARIANT /*child*/,
                                      LONG* topic) {
    *file = nullptr;
    *topic = 0;
    return DISP_E_MEMBERNOTFOUND;
}

// Focus and selection: the display takes neither.
HRESULT STDMETHODCALLTYPE noChildren(IAccessible* /*self*/, VARIANT* children) {
    children->vt = VT_EMPTY;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE noSelect(IAccessible* /*self*/, LONG /*flags*/, VARIANT /*child*/) {
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT STDMETHODCALLTYPE getLocation(IAccessible* self, LONG* left, LONG* top, LONG* width,
                                      LONG* height, VARIANT child) {
    *left = *top = *width = *height = 0;
    HWND window = recordOf(self)->window;
    if (!isSelf(child)) {
        return E_INVALIDARG;
    }
    RECT rect = {};
    if (!window || !GetWindowRect(window, &rect)) {
        return CO_E_OBJNOTCONNECTED;
    }
    *left = rect.left;
    *top = rect.top;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE noNavigation(IAccessible* /*self*/, LONG /*direction*/, VARIANT /*start*/,
                                       VARIANT* end) {
    end->vt = VT_EMPTY;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE hitTest(IAccessible* self, LONG x, LONG y, VARIANT* hit) {
    hit->vt = VT_EMPTY;
    HWND window = recordOf(self)->window;
    RECT rect = {};
    if (!window || !GetWindowRect(window, &rect)) {
        return CO_E_OBJNOTCONNECTED;
    }
    if (!PtInRect(&rect, POINT{x, y})) {
        return S_FALSE;
    }
    setLong(hit, CHILDID_SELF);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE noDefaultAction(IAccessible* /*self*/, VARIANT /*child*/) {
    return DISP_E_MEMBERNOTFOUND;
}

// Name and value are the display's own to set.
HRESULT STDMETHODCALLTYPE noPut(IAccessible* /*self*/, VARIANT /*child*/, BSTR /*text*/) {
    return E_NOTIMPL;
}

constexpr IAccessibleVtbl ACCESSIBLE_FUNCTIONS = {
    accessibleQueryInterface,
    accessibleAddRef,
    accessibleRelease,
    noTypeInfoCount,
    noTypeInfo,
    noIdsOfNames,
    noInvoke,
    getParent,
    getChildCount,
    getChild,
    getName,
    noText, // value
    noText, // description
    getRole,
    getState,
    noText, // help
    noHelpTopic,
    noText,     // keyboard shortcut
    noChildren, // focus
    noChildren, // selection
    noText,     // default action
    noSelect,
    getLocation,
    noNavigation,
    hitTest,
    noDefaultAction,
    noPut, // name
    noPut, // value
};

// IRawElementProviderSimple: an element served on the window's thread, whose
// name is the window's; everything else UI Automation takes from the window.

HRESULT STDMETHODCALLTYPE providerQueryInterface(IRawElementProviderSimple* self,
                                                 REFIID interfaceId, void** object) {
    const bool known = IsEqualIID(interfaceId, IID_IUnknown) ||
                       IsEqualIID(interfaceId, IID_IRawElementProviderSimple);
    *object = known ? self : nullptr;
    return known ? S_OK : E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE providerAddRef(IRawElementProviderSimple* /*self*/) {
    return 2;
}

ULONG STDMETHODCALLTYPE providerRelease(IRawElementProviderSimple* /*self*/) {
    return 1;
}

HRESULT STDMETHODCALLTYPE getProviderOptions(IRawElementProviderSimple* /*self*/,
                                             ProviderOptions* options) {
    *options = static_cast<ProviderOptions>(ProviderOptions_ServerSideProvider |
                                            ProviderOptions_UseComThreading);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE noPatternProvider(IRawElementProviderSimple* /*self*/,
                                            PATTERNID /*pattern*/, IUnknown** provider) {
    *provider = nullptr;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE getPropertyValue(IRawElementProviderSimple* self, PROPERTYID property,
                                           VARIANT* value) {
    value->vt = VT_EMPTY;
    if (property != NAME_PROPERTY) {
        return S_OK;
    }
    const HRESULT result = windowName(recordOf(self)->window, &value->bstrVal);
    value->vt = SUCCEEDED(result) ? VT_BSTR : VT_EMPTY;
    return result;
}

HRESULT STDMETHODCALLTYPE getHostProvider(IRawElementProviderSimple* self,
                                          IRawElementProviderSimple** host) {
    *host = nullptr;
    HWND window = recordOf(self)->window;
    return window ? accessibilitySystem.uiaHostProviderFromHwnd(window, host)
                  : CO_E_OBJNOTCONNECTED;
}

constexpr IRawElementProviderSimpleVtbl PROVIDER_FUNCTIONS = {
    providerQueryInterface, providerAddRef,   providerRelease, getProviderOptions,
    noPatternProvider,      getPropertyValue, getHostProvider,
};

DisplayAccessible displayAccessible = {{&ACCESSIBLE_FUNCTIONS}, nullptr};
DisplayProvider displayProvider = {{&PROVIDER_FUNCTIONS}, nullptr};

} // namespace

IAccessible* accessibleObjectOf(HWND window) {
    displayAccessible.window = window;
    return &displayAccessible.face;
}

IRawElementProviderSimple* automationProviderOf(HWND window) {
    displayProvider.window = window;
    return &displayProvider.face;
}

void detachAccessibleObjects() {
    displayAccessible.window = nullptr;
    displayProvider.window = nullptr;
}
