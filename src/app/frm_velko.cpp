// frmVelko: start-up, the message dispatcher and the handlers.
#include "app/frm_velko.h"

#include <commctrl.h>

#include <cstdio>
#include <exception>
#include <new>

#include "aids/browse_for_exe.h"
#include "aids/popup_menus.h"
#include "aids/preset_lines.h"
#include "app/accessible_names.h"
#include "config/load_sequence.h"
#include "config/save_sequence.h"
#include "ui_text.h"
#include "win/failure.h"

namespace velko {

// While a load or a save runs, ending the program waits for it to finish. A failure on its way
// to the failure box is shown first: the handler that shows it ends the program then.
class FrmVelko::Busy {
public:
    explicit Busy(FrmVelko& window) : window_(window) {
        ++window_.busyDepth_;
        window_.lastYield_ = 0;
    }
    ~Busy() {
        const bool failing = std::uncaught_exceptions() > exceptionsBefore_;
        if (--window_.busyDepth_ == 0 && window_.pendingEnd_ && !failing) window_.end(*window_.pendingEnd_);
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    FrmVelko& window_;
    const int exceptionsBefore_ = std::uncaught_exceptions();
};

FrmVelko::FrmVelko(HINSTANCE instance, Dialogs& dialogs, InstallationPaths paths)
    : instance_(instance), dialogs_(dialogs), paths_(std::move(paths)) {}

FrmVelko::~FrmVelko() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool FrmVelko::open(int showCommand) {
    if (!reportingFailures([&] { createWindow(); })) {
        end(1);
        return false;
    }
    const Outcome loaded = Prog_GetData();
    if (loaded != Outcome::Done) {
        end(loaded == Outcome::Failed ? 1 : 0);
        return false;
    }
    Prog_FillPresetMenu();
    ShowWindow(hwnd_, showCommand);
    SetFocus(control(Control::tsTabs));
    return true;
}

void FrmVelko::createWindow() {
    registerWindowClasses(instance_, windowProc);
    menuBar_ = buildMenuBar();
    segmentMenu_ = buildSegmentMenu();
    hwnd_ = createMainWindow(instance_, menuBar_, this);
    controls_ = createControls(hwnd_, instance_);
    for (const ControlSpec& spec : kLayout)
        if (spec.kind == Kind::TextBox || spec.kind == Kind::ThemeList)
            nameFieldAfterLabel(control(spec.name), control(labelOf(spec.name)), apartment_);
    applyLayout(GetDpiForWindow(hwnd_));
}

void FrmVelko::applyLayout(UINT dpi) { font_ = layOutControls(hwnd_, controls_, dpi); }

LRESULT CALLBACK FrmVelko::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* window = static_cast<FrmVelko*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        window->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    auto* window = reinterpret_cast<FrmVelko*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    return window ? window->handleMessage(message, wParam, lParam) : DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT FrmVelko::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NOTIFY:
        return onNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_MENUCOMMAND:
        onMenuCommand(reinterpret_cast<HMENU>(lParam), static_cast<int>(wParam));
        return 0;
    case WM_CLOSE:
        onClose();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) focusBeforeDeactivation_ = GetFocus();
        else if (focusBeforeDeactivation_ && IsWindow(focusBeforeDeactivation_)) SetFocus(focusBeforeDeactivation_);
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_NCDESTROY:
        hwnd_ = nullptr;
        break;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

void FrmVelko::onCommand(int id, int notification, HWND sender) {
    if (notification != BN_CLICKED) return;  // also the code of menu commands
    if (sender && !IsWindowEnabled(sender)) return;  // a click queued before a save disabled the button
    if (id == optExit) requestEnd(0);
    else if (id == optSave) onSave();
    else if (id == controlId(Control::cmdPathOK)) onReload();
    else if (id == controlId(Control::cmdWSPHelp)) onPortHelp();
    else if (id == controlId(Control::cmdMO)) onPresetsButton();
    else if (id == controlId(Control::cmdLOS)) onSegmentsButton();
    else if (id == controlId(Control::cmdBFLV)) onBrowse(Control::txtFLV);
    else if (id == controlId(Control::cmdBMen)) onBrowse(Control::txtMencoder);
}

LRESULT FrmVelko::onNotify(const NMHDR& header) {
    const HWND tabs = control(Control::tsTabs);
    if (header.hwndFrom == tabs && header.code == TCN_SELCHANGE) {
        onTabChange();
    } else if (header.hwndFrom == reinterpret_cast<HWND>(SendMessageA(tabs, TCM_GETTOOLTIPS, 0, 0))) {
        static const std::string_view tips[] = {text::kTabXamppTip, text::kTabVelkoTip};
        const size_t tab = header.idFrom;
        if (tab >= std::size(tips)) return 0;
        if (header.code == TTN_GETDISPINFOA)
            reinterpret_cast<NMTTDISPINFOA*>(const_cast<NMHDR*>(&header))->lpszText = const_cast<char*>(tips[tab].data());
        if (header.code == TTN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(&header));
            MultiByteToWideChar(CP_ACP, 0, tips[tab].data(), static_cast<int>(tips[tab].size()) + 1, info->szText,
                                static_cast<int>(std::size(info->szText)));
        }
    }
    return 0;
}

void FrmVelko::onMenuCommand(HMENU menu, int position) {
    const std::optional<size_t> preset = presetMenu_.presetAt(menu, position);
    if (preset && *preset < presetStore_.size())
        setText(Field::EncoderOptions, presetOptions(presetStore_[*preset]));
    else if (menu == segmentMenu_.get() && position >= 0 &&
             static_cast<size_t>(position) < std::size(text::kSegmentPresets))
        setText(Field::SegmentLength, text::kSegmentPresets[position].seconds);
}

void FrmVelko::onClose() { requestEnd(0); }

// The page that belongs to the selected tab is decided by its caption.
void FrmVelko::onTabChange() {
    const HWND tabs = control(Control::tsTabs);
    char caption[64] = "";
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption;
    item.cchTextMax = sizeof caption;
    SendMessageA(tabs, TCM_GETITEMA, SendMessageA(tabs, TCM_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(&item));
    const bool xampp = text::kTabXampp == caption;
    ShowWindow(control(Control::frmX), xampp ? SW_SHOW : SW_HIDE);
    ShowWindow(control(Control::frmV), xampp ? SW_HIDE : SW_SHOW);
}

void FrmVelko::onPortHelp() {
    dialogs_.showMessage(hwnd_, std::string(text::kPortHelp), std::string(text::kAppTitle), MB_OK | MB_ICONINFORMATION);
}

void FrmVelko::onReload() {
    if (Prog_GetData() == Outcome::Failed) requestEnd(1);
}

void FrmVelko::onSave() {
    // A failed save keeps the window and its edits, so that the user can mend the cause, unless
    // the user closed the window while the save ran.
    if (!reportingFailures([&] { Prog_RewriteConf(); }) && pendingEnd_) requestEnd(1);
}

void FrmVelko::onPresetsButton() { dialogs_.trackPopupMenu(presetMenu_.handle(), hwnd_); }

void FrmVelko::onSegmentsButton() { dialogs_.trackPopupMenu(segmentMenu_.get(), hwnd_); }

void FrmVelko::onBrowse(Control field) {
    apartment_.enter();  // the open-file dialog hosts the shell's objects
    const std::optional<std::string> path = pathWithoutExe(BrowseForExe(dialogs_, hwnd_, instance_));
    if (path) SetWindowTextA(control(field), path->c_str());
}

void FrmVelko::onDpiChanged(UINT dpi, const RECT& suggested) {
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!reportingFailures([&] { applyLayout(dpi); })) requestEnd(1);
}

FrmVelko::Outcome FrmVelko::Prog_GetData() {
    Busy busy(*this);
    try {
        return reportingFailures([&] { loadConfiguration(*this, paths_); }) ? Outcome::Done : Outcome::Failed;
    } catch (const LoadCancelled&) {
        return Outcome::Cancelled;
    }
}

void FrmVelko::Prog_FillPresetMenu() { presetMenu_ = PresetMenu(presetStore_); }

void FrmVelko::Prog_RewriteConf() {
    Busy busy(*this);
    saveConfiguration(*this, paths_);
}

// The one place where failures are caught: the failure box shows them.
template <class Action>
bool FrmVelko::reportingFailures(Action&& action) {
    try {
        action();
        return true;
    } catch (const Failure& failure) {
        showFailure(failure.number(), failure.description());
    } catch (const std::bad_alloc&) {
        showFailure(failure_number::OutOfMemory, std::string(text::kOutOfMemory));
    }
    return false;
}

void FrmVelko::showFailure(int number, const std::string& description) {
    char message[2048];
    std::snprintf(message, sizeof message, text::kFailureFormat.data(), number, description.c_str());
    const HWND owner = IsWindowVisible(hwnd_) ? hwnd_ : nullptr;
    dialogs_.showMessage(owner, message, std::string(text::kAppTitle), MB_OK | MB_ICONERROR);
}

// Ends the program; while a load or save runs, it ends as soon as that has finished.
void FrmVelko::requestEnd(UINT exitCode) {
    if (busyDepth_ > 0) pendingEnd_ = exitCode;
    else end(exitCode);
}

void FrmVelko::end(UINT exitCode) {
    pendingEnd_.reset();
    if (hwnd_) DestroyWindow(hwnd_);
    dialogs_.endProcess(exitCode);
}

}  // namespace velko
