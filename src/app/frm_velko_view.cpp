// frmVelko as the loading and saving sequences see it: its fields, lists and menu commands.
#include <windows.h>
#include <commctrl.h>

#include "app/frm_velko.h"
#include "ui_text.h"

namespace velko {
namespace {

std::string windowText(HWND window) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)), '\0');
    GetWindowTextA(window, text.data(), static_cast<int>(text.size()) + 1);
    return text;
}

constexpr UINT kYieldIntervalMs = 40;

}  // namespace

namespace {

Control controlOf(Field field) {
    switch (field) {
    case Field::XamppPath: return Control::txtPath;
    case Field::WebServerPort: return Control::txtWSP;
    case Field::FlvTool: return Control::txtFLV;
    case Field::Encoder: return Control::txtMencoder;
    case Field::EncoderOptions: return Control::txtMenOpts;
    case Field::SegmentLength: return Control::txtLES;
    case Field::DriveList: break;
    }
    return Control::txtDriveList;
}

}  // namespace

HWND FrmVelko::fieldControl(Field field) const { return control(controlOf(field)); }

std::string FrmVelko::text(Field field) const { return windowText(fieldControl(field)); }

void FrmVelko::setText(Field field, std::string_view text) {
    SetWindowTextA(fieldControl(field), std::string(text).c_str());
}

std::string FrmVelko::fieldName(Field field) const { return std::string(specOf(labelOf(controlOf(field))).text); }

void FrmVelko::setCaption(Caption caption, std::string_view text) {
    const Control label = caption == Caption::XamppVersion ? Control::lblXV : Control::lblVV;
    SetWindowTextA(control(label), std::string(text).c_str());
}

void FrmVelko::clearThemes() { SendMessageA(control(Control::cmbThemes), CB_RESETCONTENT, 0, 0); }

void FrmVelko::addTheme(std::string_view name) {
    SendMessageA(control(Control::cmbThemes), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::string(name).c_str()));
}

std::string FrmVelko::theme(int index) const {
    const HWND list = control(Control::cmbThemes);
    const LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return {};
    std::string name(static_cast<size_t>(length), '\0');
    SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(name.data()));
    return name;
}

int FrmVelko::selectedTheme() const {
    return static_cast<int>(SendMessageA(control(Control::cmbThemes), CB_GETCURSEL, 0, 0));
}

void FrmVelko::selectTheme(int index) { SendMessageA(control(Control::cmbThemes), CB_SETCURSEL, index, 0); }

void FrmVelko::addPreset(std::string_view line) { presetStore_.emplace_back(line); }

void FrmVelko::enableCommands(bool enabled) {
    const UINT state = MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED);
    EnableMenuItem(menuBar_, optSave, state);
    EnableMenuItem(menuBar_, optExit, state);
    DrawMenuBar(hwnd_);
    for (const Control button : {Control::cmdPathOK, Control::cmdMO, Control::cmdLOS, Control::cmdBFLV, Control::cmdBMen})
        EnableWindow(control(button), enabled);
}

// Handles the window's pending events, at most every few milliseconds: often enough to keep the
// window alive during a long file, rarely enough to cost nothing.
void FrmVelko::yieldToEvents() {
    const ULONGLONG now = GetTickCount64();
    if (lastYield_ != 0 && now - lastYield_ < kYieldIntervalMs) return;
    lastYield_ = now;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!translateKeys(message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void FrmVelko::showStatus(std::string_view status) {
    std::string caption(text::kFrameStatus);
    if (!status.empty()) caption.append(" ").append(status);
    const HWND frame = control(Control::Frame1);
    SetWindowTextA(frame, caption.c_str());
    // A frame draws its caption over what lies behind it: a shorter caption needs that redrawn.
    RECT area;
    GetWindowRect(frame, &area);
    MapWindowPoints(nullptr, GetParent(frame), reinterpret_cast<POINT*>(&area), 2);
    RedrawWindow(GetParent(frame), &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void FrmVelko::inform(const std::string& message) {
    const HWND owner = IsWindowVisible(hwnd_) ? hwnd_ : nullptr;  // the load tells before the window shows
    dialogs_.showMessage(owner, message, std::string(text::kAppTitle), MB_OK | MB_ICONINFORMATION);
}
void FrmVelko::warn(const Failure& failure) { showFailure(failure.number(), failure.description()); }

bool FrmVelko::confirm(const std::string& question) {
    const UINT style = MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2;
    return dialogs_.showMessage(hwnd_, question, std::string(text::kAppTitle), style) == IDYES;
}

std::optional<std::string> FrmVelko::askForXamppDirectory() {
    const HWND owner = IsWindowVisible(hwnd_) ? hwnd_ : nullptr;
    return dialogs_.askText(owner, std::string(text::kPromptText), std::string(text::kPromptTitle),
                            std::string(text::kDefaultXamppPath));
}

}  // namespace velko
