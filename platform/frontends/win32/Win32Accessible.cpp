// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/win32/Win32Accessible.h"

#include "platform/windows/SystemLibrary.h"

#include <commctrl.h>
#include <oleacc.h>

#include <atomic>
#include <optional>

namespace pardolin::win32 {
namespace {

// The accessibility and COM calls, loaded when first needed (the first request of an
// assistive tool, or the first live region marked after a report) rather than with the
// program. From the system folder only.
struct Accessibility {
    decltype(&::CreateStdAccessibleObject) createStdAccessibleObject = nullptr;
    decltype(&::LresultFromObject) lresultFromObject = nullptr;
    decltype(&::SysAllocString) sysAllocString = nullptr;
    decltype(&::CoCreateInstance) coCreateInstance = nullptr;
};

template <typename Function> Function Find(HMODULE module, const char* name) {
    return module
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}

// Loaded once, on the window thread, which answers every request.
const Accessibility* LoadAccessibility() {
    static const std::optional<Accessibility> loaded = []() -> std::optional<Accessibility> {
        const HMODULE oleacc = windows::LoadSystemLibrary(L"oleacc.dll");
        const HMODULE oleaut32 = windows::LoadSystemLibrary(L"oleaut32.dll");
        const HMODULE ole32 = windows::LoadSystemLibrary(L"ole32.dll");
        const auto coInitializeEx = Find<decltype(&::CoInitializeEx)>(ole32, "CoInitializeEx");
        Accessibility calls{
            Find<decltype(calls.createStdAccessibleObject)>(oleacc, "CreateStdAccessibleObject"),
            Find<decltype(calls.lresultFromObject)>(oleacc, "LresultFromObject"),
            Find<decltype(calls.sysAllocString)>(oleaut32, "SysAllocString"),
            Find<decltype(calls.coCreateInstance)>(ole32, "CoCreateInstance")};
        // Objects handed to other processes need COM on this thread.
        if (!coInitializeEx || FAILED(coInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) ||
            !calls.createStdAccessibleObject || !calls.lresultFromObject || !calls.sysAllocString ||
            !calls.coCreateInstance) {
            return std::nullopt;
        }
        return calls;
    }();
    return loaded ? &*loaded : nullptr;
}

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The system's accessible object for a control, under the control's own name.
class NamedAccessible final : public IAccessible {
  public:
    NamedAccessible(IAccessible* system, std::wstring name, const Accessibility& calls)
        : m_system(system), m_name(std::move(name)), m_calls(calls) {}
    NamedAccessible(const NamedAccessible&) = delete;
    NamedAccessible& operator=(const NamedAccessible&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) {
            return E_POINTER;
        }
        if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) ||
            riid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_references;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child)) {
            return m_system->get_accName(child, name);
        }
        if (!name) {
            return E_POINTER;
        }
        *name = m_calls.sysAllocString(m_name.c_str());
        return *name ? S_OK : E_OUTOFMEMORY;
    }

    // Everything else is the system's.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return m_system->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return m_system->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return m_system->GetIDsOfNames(riid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override {
        return m_system->Invoke(id, riid, locale, flags, parameters, result, exception,
                                argumentError);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return m_system->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return m_system->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return m_system->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return m_system->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return m_system->get_accDescription(child, description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return m_system->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return m_system->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return m_system->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return m_system->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return m_system->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return m_system->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return m_system->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return m_system->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return m_system->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return m_system->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return m_system->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
        return m_system->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return m_system->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return m_system->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return m_system->put_accValue(child, value);
    }

  private:
    ~NamedAccessible() { m_system->Release(); }

    std::atomic<ULONG> m_references{1};
    IAccessible* m_system;
    const std::wstring m_name;
    const Accessibility& m_calls;
};

LRESULT CALLBACK NamedControl(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                              DWORD_PTR data) {
    auto* name = reinterpret_cast<std::wstring*>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, NamedControl, id);
        delete name;
    } else if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        if (const Accessibility* calls = LoadAccessibility()) {
            IAccessible* system = nullptr;
            if (SUCCEEDED(calls->createStdAccessibleObject(window, OBJID_CLIENT,
                                                           __uuidof(IAccessible),
                                                           reinterpret_cast<void**>(&system)))) {
                auto* named = new NamedAccessible(system, *name, *calls);
                const LRESULT result =
                    calls->lresultFromObject(__uuidof(IAccessible), wParam, named);
                named->Release();
                return result;
            }
        }
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// The accessible-property service of oleacc, and UI Automation's LiveSetting property with
// its value Polite; written out here, where the toolchain's headers only declare them.
constexpr CLSID kAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kIAccPropServices = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kLiveSettingProperty = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr long kPolite = 1;

} // namespace

void NameForAssistiveTools(HWND control, std::wstring name) {
    if (name.empty()) {
        return;
    }
    auto* owned = new std::wstring(std::move(name));
    if (!SetWindowSubclass(control, NamedControl, 0, reinterpret_cast<DWORD_PTR>(owned))) {
        delete owned;
    }
}

void MarkAsLiveRegion(HWND control) {
    const Accessibility* calls = LoadAccessibility();
    IAccPropServices* services = nullptr;
    if (!calls ||
        FAILED(calls->coCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                       kIAccPropServices, reinterpret_cast<void**>(&services)))) {
        return;
    }
    VARIANT polite{};
    polite.vt = VT_I4;
    polite.lVal = kPolite;
    // UI Automation clients (Narrator) follow the property; older systems and Wine have no
    // such property, and the event alone is what MSAA clients follow.
    services->SetHwndProp(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                          kLiveSettingProperty, polite);
    services->Release();
}

} // namespace pardolin::win32
