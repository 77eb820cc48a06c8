#pragma once
// Every text the configurator shows or writes as its own, in one place.
#include <string_view>

namespace velko::text {

inline constexpr std::string_view kAppTitle = "Velko Configurator";

// Window.
inline constexpr std::string_view kExit = "E&xit";
inline constexpr std::string_view kSave = "&Save";
inline constexpr std::string_view kTabXampp = "XAMPP";
inline constexpr std::string_view kTabXamppTip = "XAMPP Configuration";
inline constexpr std::string_view kTabVelko = "Velko";
inline constexpr std::string_view kTabVelkoTip = "Velko Configuration";
inline constexpr std::string_view kFrameXampp = "XAMPP Configuration";
inline constexpr std::string_view kFrameVelko = "Velko Configuration:";
inline constexpr std::string_view kFrameStatus = "Status:";
inline constexpr std::string_view kWebServerPort = "Web Server Port:";
inline constexpr std::string_view kCurrentTheme = "Current Theme:";
inline constexpr std::string_view kFlvToolPath = "FLV Tool Path:";
inline constexpr std::string_view kMencoderPath = "Mencoder Path:";
inline constexpr std::string_view kMencoderOptions = "Mencoder Options:";
inline constexpr std::string_view kSegmentLength = "Length Of Segments (/secs):";
inline constexpr std::string_view kDriveList = "Drive List:";
inline constexpr std::string_view kXamppVersion = "XAMPP Version:";
inline constexpr std::string_view kVelkoVersion = "Velko Version:";
inline constexpr std::string_view kXamppPath = "XAMPP Path:";
inline constexpr std::string_view kVersionPrefix = "v";
inline constexpr std::string_view kHelpButton = "?";
inline constexpr std::string_view kBrowseButton = "...";
inline constexpr std::string_view kOkButton = "&OK";
inline constexpr std::string_view kDefaultXamppPath = "C:\\Program Files\\xampp\\";
inline constexpr std::string_view kEncoderPresetsMenu = "Mencoder Options";
inline constexpr std::string_view kSegmentPresetsMenu = "Length of Segment";
// A submenu of a long list of encoder presets: the numbers of its first and last preset.
inline constexpr std::string_view kPresetGroupFormat = "Presets %zu to %zu";

inline constexpr std::string_view kPortHelp =
    "This sets the port in which the web server runs on. By default it is set to port 80, but "
    "some ISPs block port 80 so you will need to change the port in order to access remotely.";

// The prompt for the XAMPP directory.
inline constexpr std::string_view kPromptTitle = "Velko Configuration";
inline constexpr std::string_view kPromptText = "Please enter the location of your xampp directory";
inline constexpr std::string_view kPromptOk = "OK";
inline constexpr std::string_view kPromptCancel = "Cancel";

// The executable picker.
inline constexpr std::string_view kPickerTitle = "Our File Open Title";
// Description NUL pattern NUL; the string's own NUL ends the list.
inline constexpr char kPickerFilter[] = "Executable Files (*.exe)\0*.exe\0";

// The failure box: number and description.
inline constexpr std::string_view kFailureFormat = "Error %d: %s";
inline constexpr std::string_view kLineBreakRefusal =
    "The field \"%s\" holds a line break, which would split its line in the file. Nothing was "
    "saved; remove the line break and save again.";
inline constexpr std::string_view kPortRefusal =
    "The field \"%s\" holds \"%s\", which is no port Apache can listen on. Enter a whole number "
    "from 1 to 65535, digits only. Nothing was saved.";

inline constexpr std::string_view kListenConflict =
    "Apache's configuration already listens on port %s in the line \"%s\", and Apache refuses two "
    "listeners on one port. Nothing was saved; choose another port or remove that line.";

// The question before a port that another program holds is saved: the port, its holder, the port.
inline constexpr std::string_view kPortHeldQuestion =
    "Port %s is held by %s.\n\nApache cannot listen on port %s while it is held, so it will not start "
    "with this configuration.\n\nSave anyway?";
inline constexpr std::string_view kHolderHttpService =
    "the HTTP service of Windows (System, process 4), which IIS and other web services use; "
    "\"netsh http show servicestate\" lists them";
inline constexpr std::string_view kHolderProcess = "%s (process %u)";
inline constexpr std::string_view kHolderUnnamedProcess = "process %u";
inline constexpr std::string_view kHolderReservedRange =
    "Windows, which reserves it in an excluded port range; \"netsh interface ipv4 show "
    "excludedportrange protocol=tcp\" lists them";
inline constexpr std::string_view kHolderUnknown = "another program";

}  // namespace velko::text
