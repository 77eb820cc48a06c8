#include "app/accessible_names.h"

#include <oleacc.h>

#include <string>

#include "win/system_library.h"

namespace velko {
namespace {

// Loaded with the first question of a screen reader; kept until the program ends, since the
// objects handed out may outlive the window.
constexpr char kOleacc[] = "oleacc.dll";
constexpr char kOleaut32[] = "oleaut32.dll";

// The platform's own accessible object of the field, with the label's caption as its name.
class LabelledField final : public IAccessible {
public:
    LabelledField(IAccessible* standard, HWND label) : standard_(standard), label_(label) {}
    LabelledField(const LabelledField&) = delete;
    LabelledField& operator=(const LabelledField&) = delete;

    // IUnknown: the field's other interfaces (window, children, services) stay the platform's.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        return standard_->QueryInterface(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return standard_->get_accName(child, name);
        if (!name) return E_POINTER;
        std::wstring caption(static_cast<size_t>(GetWindowTextLengthW(label_)), L'\0');
        GetWindowTextW(label_, caption.data(), static_cast<int>(caption.size()) + 1);
        const auto allocate = keptLibrary<kOleaut32>().function<decltype(SysAllocStringLen)>("SysAllocStringLen");
        *name = allocate ? allocate(caption.data(), static_cast<UINT>(caption.size())) : nullptr;
        return *name ? S_OK : E_OUTOFMEMORY;
    }

    // IDispatch and the rest of IAccessible: the platform's answers.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override {
        return standard_->Invoke(id, iid, locale, flags, parameters, result, exception, argumentError);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return standard_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return standard_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return standard_->accSelect(flags, child); }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
        return standard_->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

private:
    ~LabelledField() { standard_->Release(); }

    IAccessible* standard_;
    HWND label_;
    LONG references_ = 1;
};

// The object goes to the screen reader through COM, from the window's thread.
LRESULT answerClientObject(HWND field, HWND label, WPARAM flags, ComApartment& apartment) {
    apartment.enter();
    const auto createStandard =
        keptLibrary<kOleacc>().function<decltype(CreateStdAccessibleObject)>("CreateStdAccessibleObject");
    const auto answer = keptLibrary<kOleacc>().function<decltype(LresultFromObject)>("LresultFromObject");
    IAccessible* standard = nullptr;
    if (!createStandard || !answer ||
        FAILED(createStandard(field, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard))))
        return 0;
    auto* labelled = new LabelledField(standard, label);
    const LRESULT result = answer(__uuidof(IAccessible), flags, labelled);
    labelled->Release();
    return result;
}

// What a named field keeps in its user data. The field's procedure is replaced directly rather
// than with SetWindowSubclass, which under Wine looks its data up in a window property, a round
// trip to the Wine server for every message: a thousand themes added took 100 ms and more.
struct NamedField {
    WNDPROC standardProc;
    HWND label;
    ComApartment& apartment;
};

LRESULT CALLBACK namedFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* named = reinterpret_cast<NamedField*>(GetWindowLongPtrA(field, GWLP_USERDATA));
    const WNDPROC standardProc = named->standardProc;
    if (message == WM_GETOBJECT && static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT))
        return answerClientObject(field, named->label, wParam, named->apartment);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(standardProc));
        SetWindowLongPtrA(field, GWLP_USERDATA, 0);
        delete named;
    }
    return CallWindowProcA(standardProc, field, message, wParam, lParam);
}

}  // namespace

void nameFieldAfterLabel(HWND field, HWND label, ComApartment& apartment) {
    auto* named = new NamedField{nullptr, label, apartment};
    SetWindowLongPtrA(field, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(named));
    named->standardProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(namedFieldProc)));
}

}  // namespace velko
