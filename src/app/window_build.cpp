#include "app/window_build.h"

#include <commctrl.h>

#include <string>

#include "app/resource.h"
#include "ui_text.h"
#include "win/win_error.h"

namespace velko {
namespace {

constexpr char kFrameClass[] = "VelkoFrame";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The group box that draws a frame's caption and border, behind all of its controls.
HWND groupBoxOf(HWND frame) { return GetWindow(GetWindow(frame, GW_CHILD), GW_HWNDLAST); }

// A frame holds its controls; it passes their notifications on to the window, and a new caption
// on to the group box that draws it.
LRESULT CALLBACK frameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETTEXT:
        if (const HWND groupBox = groupBoxOf(frame)) SetWindowTextA(groupBox, reinterpret_cast<const char*>(lParam));
        return DefWindowProcA(frame, message, wParam, lParam);
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        return SendMessageA(GetParent(frame), message, wParam, lParam);
    default:
        return DefWindowProcA(frame, message, wParam, lParam);
    }
}

struct WindowKind {
    const char* className;
    DWORD style;
    DWORD exStyle;
};

WindowKind windowKindOf(Kind kind) {
    constexpr DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    switch (kind) {
    case Kind::TabStrip: return {WC_TABCONTROLA, child | WS_TABSTOP | TCS_TOOLTIPS, 0};
    case Kind::Frame: return {kFrameClass, child | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case Kind::Label: return {"STATIC", child | SS_LEFT | SS_NOPREFIX, 0};
    case Kind::TextBox: return {"EDIT", child | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Kind::Button: return {"BUTTON", child | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case Kind::ThemeList: return {"COMBOBOX", child | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    }
    return {"STATIC", child, 0};
}

// How far the drop-down list of the theme list reaches below its field.
constexpr int kThemeListDropHeight = 160;

int scaled(int units, UINT dpi) { return MulDiv(units, static_cast<int>(dpi), 96); }

int heightOf(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

// A drop-down list takes its height from its font; its selection field is made to fill the height
// of the layout instead, which the font alone misses at some resolutions. What the field adds to
// the list's height is the platform's: set, measure, correct once.
void fitSelectionField(HWND list, int height) {
    auto field = static_cast<int>(SendMessageA(list, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    for (int pass = 0; pass < 2; ++pass) {
        field += height - heightOf(list);
        SendMessageA(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
}

// Sizes the window around a client area of width x height. The frame and the menu bar are measured
// rather than computed: they need not follow a change of resolution, and the menu bar may wrap.
void fitClientArea(HWND window, int width, int height) {
    for (int pass = 0; pass < 2; ++pass) {
        RECT frame;
        RECT client;
        GetWindowRect(window, &frame);
        GetClientRect(window, &client);
        SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + width - client.right,
                     frame.bottom - frame.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void addTab(HWND tabs, int index, std::string_view caption) {
    std::string text(caption);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageA(tabs, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
}

void placeGroupBox(HWND frame, int width, int height, HFONT font) {
    const HWND groupBox = groupBoxOf(frame);
    MoveWindow(groupBox, 0, 0, width, height, FALSE);
    SendMessageA(groupBox, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

// Whether every label's caption fits on one line within its width, in this font.
bool labelsFit(HGDIOBJ font, UINT dpi) {
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ before = SelectObject(screen, font);
    bool fit = true;
    for (const ControlSpec& spec : kLayout) {
        if (spec.kind != Kind::Label) continue;
        RECT caption{};
        DrawTextA(screen, spec.text.data(), static_cast<int>(spec.text.size()), &caption,
                  DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        fit = fit && caption.right <= scaled(spec.width, dpi);
    }
    SelectObject(screen, before);
    ReleaseDC(nullptr, screen);
    return fit;
}

// The fixed layout was drawn for the 8-point dialog font, the one Windows' own fixed dialogs use;
// the message font of later Windows is wider and wraps the longer labels. Where the system's face
// for the dialog font runs wider than the one the layout was drawn with (Wine's Tahoma at 96 DPI),
// the font is made a pixel smaller until every label fits.
GdiObject dialogFontAt(UINT dpi) {
    LOGFONTA face{};
    face.lfHeight = -MulDiv(8, static_cast<int>(dpi), 72);
    face.lfWeight = FW_NORMAL;
    face.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(face.lfFaceName, "MS Shell Dlg 2", LF_FACESIZE);
    GdiObject font(created(CreateFontIndirectA(&face), text::kCreatedFont));
    while (!labelsFit(font.get(), dpi) && face.lfHeight < -1) {
        ++face.lfHeight;
        font.reset(created(CreateFontIndirectA(&face), text::kCreatedFont));
    }
    return font;
}

// Each window made anew registers the classes again; the registration of the first stands.
void registerClass(const WNDCLASSEXA& windowClass) {
    if (!RegisterClassExA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw creationFailure(text::kCreatedWindowClass);
}

}  // namespace

void registerWindowClasses(HINSTANCE instance, WNDPROC windowProc) {
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSEXA window{};
    window.cbSize = sizeof window;
    window.lpfnWndProc = windowProc;
    window.hInstance = instance;
    window.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_VELKO), IMAGE_ICON, 32, 32, LR_SHARED));
    window.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_VELKO), IMAGE_ICON, 16, 16, LR_SHARED));
    window.hCursor = LoadCursor(nullptr, IDC_ARROW);
    window.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window.lpszClassName = kWindowClass;
    registerClass(window);

    WNDCLASSEXA frame{};
    frame.cbSize = sizeof frame;
    frame.lpfnWndProc = frameProc;
    frame.hInstance = instance;
    frame.hCursor = LoadCursor(nullptr, IDC_ARROW);
    frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    frame.lpszClassName = kFrameClass;
    registerClass(frame);
}

HMENU buildMenuBar() {
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_STRING, optExit, std::string(text::kExit).c_str());
    AppendMenuA(bar, MF_STRING, optSave, std::string(text::kSave).c_str());
    return bar;
}

HWND createMainWindow(HINSTANCE instance, HMENU menuBar, void* createParameter) {
    return created(CreateWindowExA(WS_EX_CONTROLPARENT, kWindowClass, std::string(text::kAppTitle).c_str(),
                                   kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                   menuBar, instance, createParameter),
                   text::kCreatedWindow);
}

Controls createControls(HWND window, HINSTANCE instance) {
    Controls controls{};
    const auto control = [&](Control name) { return controls[static_cast<size_t>(name)]; };
    for (const ControlSpec& spec : kLayout) {
        const WindowKind kind = windowKindOf(spec.kind);
        const HWND parent = spec.container == Control::Window ? window : control(spec.container);
        controls[static_cast<size_t>(spec.name)] = created(
            CreateWindowExA(kind.exStyle, kind.className, std::string(spec.text).c_str(), kind.style, 0, 0, 0, 0,
                            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(spec.name))), instance,
                            nullptr),
            text::kCreatedControl);
    }
    // Each frame draws its caption and border with a group box behind all of its controls.
    for (const ControlSpec& spec : kLayout)
        if (spec.kind == Kind::Frame)
            created(CreateWindowExA(0, "BUTTON", std::string(spec.text).c_str(), WS_CHILD | WS_VISIBLE | BS_GROUPBOX,
                                    0, 0, 0, 0, control(spec.name), nullptr, instance, nullptr),
                    text::kCreatedControl);
    addTab(control(Control::tsTabs), 0, text::kTabXampp);
    addTab(control(Control::tsTabs), 1, text::kTabVelko);
    return controls;
}

GdiObject layOutControls(HWND window, const Controls& controls, UINT dpi) {
    GdiObject font = dialogFontAt(dpi);
    for (const ControlSpec& spec : kLayout) {
        const HWND control = controls[static_cast<size_t>(spec.name)];
        const int dropHeight = spec.kind == Kind::ThemeList ? kThemeListDropHeight : 0;
        MoveWindow(control, scaled(spec.left, dpi), scaled(spec.top, dpi), scaled(spec.width, dpi),
                   scaled(spec.height + dropHeight, dpi), FALSE);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        if (spec.kind == Kind::ThemeList) fitSelectionField(control, scaled(spec.height, dpi));
        if (spec.kind == Kind::Frame)
            placeGroupBox(control, scaled(spec.width, dpi), scaled(spec.height, dpi), static_cast<HFONT>(font.get()));
    }
    fitClientArea(window, scaled(kClientWidth, dpi), scaled(kClientHeight, dpi));
    InvalidateRect(window, nullptr, TRUE);
    return font;
}

}  // namespace velko
