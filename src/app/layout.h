#pragma once
// The window's layout as data: every control with its kind, container, text and rectangle in
// 96-DPI units, listed front to back within each container; the Tab order; the menu bar.
#include <array>
#include <span>
#include <string_view>

namespace velko {

enum class Control {
    frmX, txtWSP, cmdWSPHelp, lblWSP,
    frmV, cmbThemes, txtFLV, cmdBFLV, txtMencoder, cmdBMen, txtMenOpts, cmdMO, txtLES, cmdLOS, txtDriveList,
    lblTheme, lblFLVTool, Label3, Label4, Label5, Label6,
    cmdPathOK, txtPath,
    Frame1, lblXV, lblVV, Label1, Label2,
    tsTabs, lblXPath,
    Window,  // the client area of the window itself, as a container
};
inline constexpr int kControlCount = static_cast<int>(Control::Window);

enum class Kind { TabStrip, Frame, Label, TextBox, Button, ThemeList };

struct ControlSpec {
    Control name;
    Kind kind;
    Control container;
    std::string_view text;
    int left, top, width, height;
};

// In creation order: each control is created behind the ones before it in its container.
extern const std::array<ControlSpec, kControlCount> kLayout;

const ControlSpec& specOf(Control control);

// The label that stands on the same row of the same container as a field.
Control labelOf(Control field);

// The order of the Tab key among the controls that can take the focus.
extern const std::array<Control, 15> kTabOrder;

inline constexpr int kClientWidth = 369;
inline constexpr int kClientHeight = 297;

// Child window identifiers: controls from 100, menu commands from 200.
inline constexpr int kFirstControlId = 100;
inline int controlId(Control control) { return kFirstControlId + static_cast<int>(control); }
enum MenuCommand { optExit = 200, optSave = 201 };

}  // namespace velko
