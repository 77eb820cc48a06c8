#include "config/load_sequence.h"

#include <vector>

#include "config/failure.h"
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

void readApachePort(ConfigView& view) {
    const std::string configuration = installationPath(view, relative::kApacheConfiguration);
    StoredApacheLines& stored = view.storedApacheLines();
    passOverFailure([&] {
        std::string line = GetLineWithKey(configuration, "Listen ");
        view.setText(Field::WebServerPort, portOf(line));
        stored.listen = std::move(line);
    });
    passOverFailure([&] { stored.serverName = GetLineWithKey(configuration, kServerNameDirective); });
}

int themeIndex(const ConfigView& view, std::string_view name) {
    for (int i = 0, count = view.themeCount(); i < count; ++i)
        if (equalsIgnoringCase(view.theme(i), name)) return i;
    return -1;
}

// The list is built afresh from the themes directory; a missing directory lists no theme.
void listThemes(ConfigView& view) {
    std::vector<std::string> names;
    passOverFailure([&] { names = subdirectoryNames(installationPath(view, relative::kThemes)); });
    view.clearThemes();
    for (const std::string& name : names) view.addTheme(name);
}

void selectSavedTheme(ConfigView& view, const std::string& themeBefore) {
    int index = -1;
    passOverFailure([&] {
        const std::string saved = valueOf(GetLineWithKey(installationPath(view, relative::kSettings), "theme"));
        index = themeIndex(view, saved);
    });
    if (index < 0 && !themeBefore.empty()) index = themeIndex(view, themeBefore);
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
    listThemes(view);
    selectSavedTheme(view, themeBefore);
    readSettings(view);
    readPresets(view);
}

}  // namespace velko
