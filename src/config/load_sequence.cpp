#include "config/load_sequence.h"

#include <vector>

#include "win/failure.h"
#include "config/load_cuts.h"
#include "config/mod_file.h"
#include "config/settings_lines.h"
#include "config/text_lines.h"
#include "config/value_rule.h"
#include "ui_text.h"

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

std::string versionCaption(const std::string& version) { return std::string(text::kVersionPrefix) + version; }

void showXamppVersion(ConfigView& view) {
    passOverFailure([&] {
        const std::string line = GetLineWithKey(installationPath(view, relative::kChangeLog), "XAMPP");
        view.setCaption(Caption::XamppVersion, versionCaption(xamppVersionOf(line)));
    });
}

void showVelkoVersion(ConfigView& view) {
    passOverFailure([&] {
        const std::string line = GetLineWithKey(installationPath(view, relative::kMainScript), "$version =");
        view.setCaption(Caption::VelkoVersion, versionCaption(velkoVersionOf(line)));
    });
}

// Both lines come from one pass over the file, which may be long.
void readApachePort(ConfigView& view) {
    StoredApacheLines& stored = view.storedApacheLines();
    passOverFailure([&] {
        constexpr std::string_view keys[] = {"Listen ", kServerNameDirective};
        std::vector<std::string> lines = GetLinesWithKeys(installationPath(view, relative::kApacheConfiguration), keys);
        view.setText(Field::WebServerPort, portOf(lines[0]));
        stored.listen = std::move(lines[0]);
        stored.serverName = std::move(lines[1]);
    });
}

int themeIndex(const std::vector<std::string>& themes, std::string_view name) {
    for (size_t i = 0; i < themes.size(); ++i)
        if (equalsIgnoringCase(themes[i], name)) return static_cast<int>(i);
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
    int index = -1;
    passOverFailure([&] {
        const std::string saved = valueOf(GetLineWithKey(installationPath(view, relative::kSettings), "theme"));
        index = themeIndex(themes, saved);
    });
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
    determineXamppDirectory(view, paths);
    showXamppVersion(view);
    showVelkoVersion(view);
    readApachePort(view);
    const std::string themeBefore = selectedThemeName(view);
    selectSavedTheme(view, listThemes(view), themeBefore);
    readSettings(view);
    readPresets(view);
}

}  // namespace velko
