// What a screen reader hears for each field: its label's caption, and otherwise the platform's
// own description of the control.
#include <windows.h>
#include <oleacc.h>

#include <string>

#include "window_fixture.h"

namespace velko::testing {
namespace {

using C = Control;

struct Accessible {
    explicit Accessible(HWND window) {
        if (window)
            AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&object));
    }
    ~Accessible() {
        if (object) object->Release();
    }
    Accessible(const Accessible&) = delete;
    Accessible& operator=(const Accessible&) = delete;

    std::wstring name() const { return text(&IAccessible::get_accName); }
    std::wstring value() const { return text(&IAccessible::get_accValue); }
    LONG role() const { return number(&IAccessible::get_accRole); }
    LONG state() const { return number(&IAccessible::get_accState); }

    IAccessible* object = nullptr;

private:
    static VARIANT self() {
        VARIANT child;
        child.vt = VT_I4;
        child.lVal = CHILDID_SELF;
        return child;
    }
    LONG number(HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, VARIANT*)) const {
        VARIANT number;
        VariantInit(&number);
        return object && (object->*property)(self(), &number) == S_OK && number.vt == VT_I4 ? number.lVal : -1;
    }
    std::wstring text(HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, BSTR*)) const {
        BSTR text = nullptr;
        if (!object || (object->*property)(self(), &text) != S_OK || !text) return L"(none)";
        std::wstring result(text, SysStringLen(text));
        SysFreeString(text);
        return result;
    }
};

class AccessibleNames : public WindowTest {
protected:
    void SetUp() override {
        installDemo();
        ASSERT_TRUE(open());
    }
};

TEST_F(AccessibleNames, EveryFieldIsNamedWithItsLabelsCaption) {
    const struct {
        Control field;
        const wchar_t* caption;
    } fields[] = {
        {C::txtWSP, L"Web Server Port:"},
        {C::cmbThemes, L"Current Theme:"},
        {C::txtFLV, L"FLV Tool Path:"},
        {C::txtMencoder, L"Mencoder Path:"},
        {C::txtMenOpts, L"Mencoder Options:"},
        {C::txtLES, L"Length Of Segments (/secs):"},
        {C::txtDriveList, L"Drive List:"},
        {C::txtPath, L"XAMPP Path:"},
    };
    for (const auto& [field, caption] : fields) EXPECT_EQ(Accessible(control(field)).name(), caption);
}

TEST_F(AccessibleNames, FieldsKeepThePlatformsRoleValueAndState) {
    for (const Control field : {C::txtWSP, C::cmbThemes, C::txtPath}) {
        const Accessible named(control(field));
        Accessible platforms(nullptr);
        CreateStdAccessibleObject(control(field), OBJID_CLIENT, __uuidof(IAccessible),
                                  reinterpret_cast<void**>(&platforms.object));
        ASSERT_TRUE(platforms.object);
        EXPECT_EQ(named.role(), platforms.role());
        EXPECT_EQ(named.value(), platforms.value());
        EXPECT_EQ(named.state(), platforms.state());
    }
    EXPECT_EQ(Accessible(control(C::txtWSP)).value(), L"80");
}

}  // namespace
}  // namespace velko::testing
