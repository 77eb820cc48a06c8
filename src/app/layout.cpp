#include "app/layout.h"

#include "ui_text.h"

namespace velko {

using C = Control;
using K = Kind;
namespace t = text;

const std::array<ControlSpec, kControlCount> kLayout{{
    // The XAMPP page lies in front of the Velko page; both lie in front of the tab strip.
    {C::frmX, K::Frame, C::Window, t::kFrameXampp, 16, 32, 337, 161},
    {C::txtWSP, K::TextBox, C::frmX, "", 168, 16, 137, 19},
    {C::cmdWSPHelp, K::Button, C::frmX, t::kHelpButton, 312, 16, 17, 17},
    {C::lblWSP, K::Label, C::frmX, t::kWebServerPort, 16, 16, 145, 17},

    {C::frmV, K::Frame, C::Window, t::kFrameVelko, 16, 32, 337, 161},
    {C::cmbThemes, K::ThemeList, C::frmV, "", 168, 16, 161, 21},
    {C::txtFLV, K::TextBox, C::frmV, "", 168, 40, 137, 19},
    {C::cmdBFLV, K::Button, C::frmV, t::kBrowseButton, 304, 40, 25, 17},
    {C::txtMencoder, K::TextBox, C::frmV, "", 168, 64, 137, 19},
    {C::cmdBMen, K::Button, C::frmV, t::kBrowseButton, 304, 64, 25, 17},
    {C::txtMenOpts, K::TextBox, C::frmV, "", 168, 88, 137, 19},
    {C::cmdMO, K::Button, C::frmV, t::kBrowseButton, 304, 88, 25, 17},
    {C::txtLES, K::TextBox, C::frmV, "", 168, 112, 137, 19},
    {C::cmdLOS, K::Button, C::frmV, t::kBrowseButton, 304, 112, 25, 17},
    {C::txtDriveList, K::TextBox, C::frmV, "", 168, 136, 161, 19},
    {C::lblTheme, K::Label, C::frmV, t::kCurrentTheme, 16, 16, 145, 17},
    {C::lblFLVTool, K::Label, C::frmV, t::kFlvToolPath, 16, 40, 145, 17},
    {C::Label3, K::Label, C::frmV, t::kMencoderPath, 16, 64, 145, 17},
    {C::Label4, K::Label, C::frmV, t::kMencoderOptions, 16, 88, 145, 17},
    {C::Label5, K::Label, C::frmV, t::kSegmentLength, 16, 112, 145, 17},
    {C::Label6, K::Label, C::frmV, t::kDriveList, 16, 136, 145, 17},

    {C::cmdPathOK, K::Button, C::Window, t::kOkButton, 336, 272, 25, 17},
    {C::txtPath, K::TextBox, C::Window, t::kDefaultXamppPath, 96, 272, 233, 19},

    {C::Frame1, K::Frame, C::Window, t::kFrameStatus, 8, 208, 353, 57},
    // The versions lie in front of their captions, which overlap them by one unit.
    {C::lblXV, K::Label, C::Frame1, t::kVersionPrefix, 176, 16, 169, 17},
    {C::lblVV, K::Label, C::Frame1, t::kVersionPrefix, 176, 32, 169, 17},
    {C::Label1, K::Label, C::Frame1, t::kXamppVersion, 8, 16, 169, 17},
    {C::Label2, K::Label, C::Frame1, t::kVelkoVersion, 8, 32, 169, 17},

    {C::tsTabs, K::TabStrip, C::Window, "", 8, 8, 353, 193},
    {C::lblXPath, K::Label, C::Window, t::kXamppPath, 8, 272, 81, 17},
}};

// The table lists the controls in the order of their names.
const ControlSpec& specOf(Control control) { return kLayout[static_cast<size_t>(control)]; }

Control labelOf(Control field) {
    const ControlSpec& spec = specOf(field);
    for (const ControlSpec& label : kLayout)
        if (label.kind == Kind::Label && label.container == spec.container && label.top == spec.top) return label.name;
    return field;
}

const std::array<Control, 15> kTabOrder{
    C::tsTabs, C::txtWSP, C::cmdWSPHelp, C::cmbThemes, C::txtPath, C::cmdPathOK, C::txtFLV, C::txtMencoder,
    C::txtMenOpts, C::txtLES, C::txtDriveList, C::cmdBFLV, C::cmdBMen, C::cmdMO, C::cmdLOS,
};

}  // namespace velko
