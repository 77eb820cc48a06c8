#pragma once
// Every text the configurator shows or writes as its own, in one place.
#include <initializer_list>
#include <string>
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
// Appended to the caption of a default encoder preset.
inline constexpr std::string_view kDefaultPresetMarker = " (DEFAULT)";

// The segment lengths offered, in menu order: the caption, and the seconds a choice puts into
// the field.
struct SegmentPreset {
    std::string_view caption;
    std::string_view seconds;
};
inline constexpr SegmentPreset kSegmentPresets[] = {
    {"Unlimited (0)", "0"},
    {"1 minute (60)", "60"},
    {"2 minutes (120)", "120"},
    {"2.7 minutes (162) - DEFAULT", "162"},
    {"3 minutes (180)", "180"},
    {"5 minutes (240)", "240"},
    {"10 minutes (600)", "600"},
    {"30 minutes (1800)", "1800"},
    {"1 hour (3600)", "3600"},
};

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

// Another Listen directive holds the port: the port, the file, its line number and the line.
inline constexpr std::string_view kListenConflict =
    "Apache's configuration already listens on port %s in %s, line %s: \"%s\". Apache refuses two "
    "listeners on one port and would not start. Nothing was saved; choose another port or remove that "
    "line.";

// The question before files that other programs have changed since the load are replaced: one
// line for each file.
inline constexpr std::string_view kChangedSinceLoadQuestion =
    "Since the configurator read them, these files have been changed by another program:\n\n%s\nSaving "
    "replaces them with what the window shows, and those changes are lost.\n\nSave anyway?";
inline constexpr std::string_view kFileChanged = "%s (changed)\n";
inline constexpr std::string_view kFileCreated = "%s (created)\n";
inline constexpr std::string_view kFileDeleted = "%s (deleted)\n";

// The question before files besides the three change with the port: the port, then one line for
// each file, naming it and why it changes.
inline constexpr std::string_view kOtherFilesQuestion =
    "Moving Apache to port %s changes these files as well:\n\n%s\nSave them all?";
inline constexpr std::string_view kOtherFileLine = "%s (%s)\n";
inline constexpr std::string_view kAlsoNamesPort = "also names port %s";
inline constexpr std::string_view kControlPanelPort = "the control panel's port for Apache";

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

// Apache's own check refuses the configuration as the save would leave it: Apache's first lines,
// or, when it wrote none, its exit code.
inline constexpr std::string_view kApacheRefusal =
    "Apache's own check of its configuration (httpd.exe -t) refuses it as this save would leave it, "
    "so nothing was changed. Apache says:\n\n%s\n\nMend what Apache names, then save again.";
inline constexpr std::string_view kApacheSaidNothing = "(nothing; its exit code was %s)";
// A save that changes the port while this installation's Apache runs: the port it listens on, the new one.
inline constexpr std::string_view kRestartQuestion =
    "Apache is running on port %s. Restart it now so that it listens on %s?";
inline constexpr std::string_view kRestartDeclined =
    "The new port is saved. Apache goes on listening on port %s; port %s takes effect when Apache next starts.";
// The start found a save cut short, perhaps during a restart, and settled it; Apache is not running.
inline constexpr std::string_view kSaveCutShortApacheStopped =
    "The last save was cut short. Its files have been settled as its journal decided: each is whole, "
    "all as they were before that save or all as it saved them.\n\nApache is not running. Start it "
    "from XAMPP's control panel.";
// What the restart is doing, beside "Status:" in the window.
inline constexpr std::string_view kStoppingApache = "Stopping Apache...";
inline constexpr std::string_view kStartingApache = "Starting Apache...";
inline constexpr std::string_view kWaitingForPort = "Waiting for port %s...";
// Apache did not answer on the new port (it ended, or did not answer in time): the port, Apache's
// own words. Then what became of Apache once every file was back: the old port, Apache's words.
inline constexpr std::string_view kApacheNotAnswering = "Apache did not answer on port %s. Apache said:\n\n%s\n";
inline constexpr std::string_view kApacheBack =
    "\nEvery file the save replaced was put back as it was, and Apache answers on port %s again.";
inline constexpr std::string_view kApacheStartedAgain =
    "\nEvery file the save replaced was put back as it was, and Apache was started again.";
inline constexpr std::string_view kApacheNotBack =
    "\nEvery file the save replaced was put back as it was, but Apache did not answer on port %s either. "
    "Apache said:\n\n%s";
inline constexpr std::string_view kApacheNotStarted =
    "\nEvery file the save replaced was put back as it was, but Apache could not be started again: %s";
inline constexpr std::string_view kServiceExitCode = "The service %s stopped with exit code %s.";
inline constexpr std::string_view kErrorLogSilent = "(nothing in apache\\logs\\error.log)";
inline constexpr std::string_view kServiceRefused = "The service %s refused: %s";
inline constexpr std::string_view kServiceStays = "The service %s did not stop within 30 seconds.";
inline constexpr std::string_view kApacheStays = "Apache did not end, even when it was told to end at once.";

// The descriptions of failures; each %s is filled in by filled() below, in order.
inline constexpr std::string_view kInvalidArgument = "Invalid procedure call or argument";
inline constexpr std::string_view kOutOfMemory = "Out of memory";
inline constexpr std::string_view kOutOfMemoryFor = "Out of memory: %s";
inline constexpr std::string_view kFileNotFound = "File not found: %s";
inline constexpr std::string_view kPathNotFound = "Path not found: %s";
inline constexpr std::string_view kFileInUse = "Permission denied: %s is in use by another program";
inline constexpr std::string_view kDiskFull = "Disk full: %s";
inline constexpr std::string_view kPathFileAccess = "Path/File access error: %s (%s)";
// The save's own files: where it refuses to write, and a journal it will not act on.
inline constexpr std::string_view kLinkRefused =
    "Path/File access error: %s is a link, or leads out of its folder: the save writes nothing through it";
inline constexpr std::string_view kFolderRefused =
    "Path/File access error: %s is no folder of a local drive, or it was moved while the save opened it: "
    "the save writes nothing there";
inline constexpr std::string_view kUntrustedJournal =
    "Path/File access error: %s is no journal of a save by this program (a folder, a link, damaged "
    "bytes or another account's file), so nothing it names was changed. Check that the files of the "
    "installation are as they should be, then delete it; until then no save can begin";
// What the system says about an error it has no message for.
inline constexpr std::string_view kSystemError = "system error %s";
inline constexpr std::string_view kNoReasonGiven = "no reason given";
// Start-up: what could not be created, and why.
inline constexpr std::string_view kCannotCreate = "Could not create %s (%s)";
inline constexpr std::string_view kCreatedWindowClass = "the window class";
inline constexpr std::string_view kCreatedWindow = "the window";
inline constexpr std::string_view kCreatedControl = "a control of the window";
inline constexpr std::string_view kCreatedFont = "the window's font";

// The format with each %s replaced by the next value: values of any length, taken as they stand.
inline std::string filled(std::string_view format, std::initializer_list<std::string_view> values) {
    std::string result;
    const std::string_view* value = values.begin();
    for (size_t at = 0; at < format.size(); ++at) {
        if (format.compare(at, 2, "%s") == 0 && value != values.end()) {
            result.append(*value++);
            ++at;
        } else {
            result += format[at];
        }
    }
    return result;
}

}  // namespace velko::text
