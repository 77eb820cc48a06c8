#pragma once
// Where the XAMPP installation is: the pointer file, the default location and the prompt.
#include <string>
#include <string_view>

#include "config/config_view.h"

namespace velko {

struct InstallationPaths {
    std::string pointerFile = "c:\\xampp.txt";
    // Tested without a trailing "\": it passes only as an ordinary file of that name.
    std::string defaultLocation = "C:\\Program Files\\xampp";

    // The journal of a save while it runs. Beside the pointer file, whose path is fixed, the next
    // load finds it before it reads the pointer file, which the save may have left half replaced.
    std::string saveJournal() const { return pointerFile + ".velko-journal"; }
};

// The files under the XAMPP directory, joined to it without a separator.
namespace relative {
inline constexpr std::string_view kChangeLog = "xampp-changes.txt";
inline constexpr std::string_view kMainScript = "htdocs\\velko\\index.pl";
inline constexpr std::string_view kApacheConfiguration = "apache\\conf\\httpd.conf";
inline constexpr std::string_view kThemes = "htdocs\\velko\\themes";
inline constexpr std::string_view kSettings = "htdocs\\velko\\config.dat";
inline constexpr std::string_view kPresets = "htdocs\\velko\\enc_opts.txt";
inline constexpr std::string_view kControlPanelSettings = "xampp-control.ini";
}  // namespace relative

// The path of a file of the installation whose directory the path field names now.
std::string installationPath(const ConfigView& view, std::string_view relativePath);

// The user cancelled the prompt for the XAMPP directory: the load stops, having changed nothing.
struct LoadCancelled {};

// Puts the XAMPP directory into the path field: from the pointer file, else the field stays when
// the default location passes the first-file test, else from the prompt, asked until an answer
// passes. Throws LoadCancelled when the prompt is cancelled.
void determineXamppDirectory(ConfigView& view, const InstallationPaths& paths);

}  // namespace velko
