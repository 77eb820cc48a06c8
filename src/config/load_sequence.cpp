#include "config/load_sequence.h"

#include <optional>
#include <string>
#include <vector>

#include "config/apache_edit.h"
#include "config/config_files_on_disk.h"
#include "config/config_files_read_once.h"
#include "config/mod_file.h"
#include "config/replacement_file.h"
#include "config/restart_on_save.h"
#include "config/settings_lines.h"
#include "config/text_lines.h"
#include "config/value_rule.h"
#include "config/versions.h"
#include "ui_text.h"
#include "win/failure.h"
#include "win/file_io.h"

namespace velko {
namespace {

// A step that fails is passed over as a whole: it has assigned nothing.
template <class Step>
void passOverFailure(Step&& step) {
    try {
        step();
    } catch (const Failure&) {
    }
}

// Appended rather than joined with +: GCC 12 warns falsely of overlapping copies (-Wrestrict)
// inside std::string's operator+ on two temporaries.
std::string versionCaption(const std::optional<std::string>& version) {
    std::string caption(text::kVersionPrefix);
    if (version) caption += *version;
    return caption;
}

// A source that is missing, unreadable or names no version shows the bare "v", so that a reload
// never leaves the version of the installation loaded before.
template <class VersionOf>
void showVersion(ConfigView& view, Caption caption, std::string_view source, const LineTest& test, VersionOf versionOf) {
    std::optional<std::string> version;
    passOverFailure([&] {
        const std::string line = FirstLinesWhere(installationPath(view, source), LineEnds::CrLfCrOrLf, {&test, 1}).front();
        version = versionOf(line);
    });
    view.setCaption(caption, versionCaption(version));
}

void showXamppVersion(ConfigView& view) {
    const LineTest isHeading = [](std::string_view line) { return xamppVersionOf(line).has_value(); };
    showVersion(view, Caption::XamppVersion, relative::kChangeLog, isHeading, xamppVersionOf);
}

void showVelkoVersion(ConfigView& view) {
    const LineTest holdsVersion = [](std::string_view line) { return holdsKey(line, "$version ="); };
    showVersion(view, Caption::VelkoVersion, relative::kMainScript, holdsVersion, velkoVersionOf);
}

// A file's bytes, or nothing when it is missing or cannot be read.
std::optional<std::string> bytesIfReadable(const std::string& path) {
    std::optional<std::string> bytes;
    passOverFailure([&] { bytes = readFileIfPresent(path); });
    return bytes;
}

// What the load found of a file a save may replace, there or not, for the save to compare.
void noteFile(ConfigView& view, const std::string& path, const std::optional<std::string>& bytes) {
    view.loaded().files.push_back({path, stampOf(bytes)});
}

// A save that moves the port may rewrite any file the configuration includes.
void noteIncludedFiles(ConfigView& view, const std::string& mainFile, std::string_view configuration) {
    const ConfigFilesOnDisk disk;
    const ConfigFilesReadOnce files(disk);
    forEachDirective(files, mainFile, configuration, [](const std::string&, const ConfigLine&) { return true; });
    for (const auto& [path, bytes] : files.filesRead())
        if (bytes) noteFile(view, path, bytes);
}

// Without the file the port is emptied, so that no save takes another installation's port for
// the one it holds.
void readApachePort(ConfigView& view) {
    const std::string path = installationPath(view, relative::kApacheConfiguration);
    const std::optional<std::string> configuration = bytesIfReadable(path);
    noteFile(view, path, configuration);
    view.setText(Field::WebServerPort, configuration ? portOf(*configuration) : std::string());
    if (configuration) passOverFailure([&] { noteIncludedFiles(view, path, *configuration); });
}

void noteFileOfTheInstallation(ConfigView& view, std::string_view relativePath) {
    const std::string path = installationPath(view, relativePath);
    noteFile(view, path, bytesIfReadable(path));
}

int themeIndex(const std::vector<std::string>& themes, std::string_view name) {
    for (size_t i = 0; i < themes.size(); ++i)
        if (equalsIgnoringCaseInCodePage(themes[i], name)) return static_cast<int>(i);
    return -1;
}

// The list is built afresh from the themes directory; a missing directory lists no theme. The
// names listed are returned, so that they need not be read back from the list one by one.
std::vector<std::string> listThemes(ConfigView& view) {
    std::vector<std::string> names;
    passOverFailure([&] { names = subdirectoryNames(installationPath(view, relative::kThemes)); });
    view.clearThemes();
    for (const std::string& name : names) view.addTheme(name);
    return names;
}

void selectSavedTheme(ConfigView& view, const std::vector<std::string>& themes, const std::string& themeBefore) {
    std::string& saved = view.loaded().theme;
    saved.clear();
    passOverFailure([&] { saved = valueOf(GetLineWithKey(installationPath(view, relative::kSettings), "theme")); });
    int index = themeIndex(themes, saved);
    if (index < 0 && !themeBefore.empty()) index = themeIndex(themes, themeBefore);
    if (index >= 0) view.selectTheme(index);
}

void readSettings(ConfigView& view) {
    const std::string settings = installationPath(view, relative::kSettings);
    for (const SettingKey& setting : kSettingKeys) {
        if (setting.setting == Setting::Theme) continue;
        passOverFailure([&] { view.setText(fieldOf(setting.setting), valueOf(GetLineWithKey(settings, setting.key))); });
    }
}

void readPresets(ConfigView& view) {
    const std::string presets = readWholeFile(installationPath(view, relative::kPresets));
    forEachLine(presets, [&](std::string_view line) {
        view.yieldToEvents();
        view.addPreset(line);
        return true;
    });
}

}  // namespace

void loadConfiguration(ConfigView& view, const InstallationPaths& paths) {
    const bool saveCutShort = GetFileAttributesA(paths.saveJournal().c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::optional<Failure> untrusted = finishTrustedReplacement(paths.saveJournal());
    if (untrusted) view.warn(*untrusted);
    determineXamppDirectory(view, paths);
    if (saveCutShort && !untrusted) tellWhenApacheStopped(view, view.text(Field::XamppPath));
    view.loaded().files.clear();
    noteFile(view, paths.pointerFile, bytesIfReadable(paths.pointerFile));
    showXamppVersion(view);
    showVelkoVersion(view);
    readApachePort(view);
    const std::string themeBefore = selectedThemeName(view);
    selectSavedTheme(view, listThemes(view), themeBefore);
    readSettings(view);
    noteFileOfTheInstallation(view, relative::kSettings);
    noteFileOfTheInstallation(view, relative::kControlPanelSettings);
    readPresets(view);
}

}  // namespace velko
