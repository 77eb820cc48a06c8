#include "config/save_sequence.h"

#include <cstdio>

#include "win/failure.h"
#include "config/mod_file.h"
#include "config/pieced_text.h"
#include "config/replacement_file.h"
#include "config/settings_lines.h"
#include "config/text_lines.h"
#include "ui_text.h"

namespace velko {
namespace {

// Save and Exit stay disabled for as long as the save runs, whichever way it ends.
class SaveAndExitDisabled {
public:
    explicit SaveAndExitDisabled(ConfigView& view) : view_(view) { view_.enableSaveAndExit(false); }
    ~SaveAndExitDisabled() { view_.enableSaveAndExit(true); }
    SaveAndExitDisabled(const SaveAndExitDisabled&) = delete;
    SaveAndExitDisabled& operator=(const SaveAndExitDisabled&) = delete;

private:
    ConfigView& view_;
};

void refuseLineBreak(const std::string& fieldName, std::string_view value) {
    if (!holdsLineBreak(value)) return;
    char message[512];
    std::snprintf(message, sizeof message, text::kLineBreakRefusal.data(), fieldName.c_str());
    throw Failure(failure_number::InvalidArgument, message);
}

std::string settingValue(const ConfigView& view, Setting setting) {
    return setting == Setting::Theme ? selectedThemeName(view) : view.text(fieldOf(setting));
}

// Every field whose text goes into a file, checked before any file is touched.
void refuseLineBreaks(const ConfigView& view) {
    for (const Field field : {Field::XamppPath, Field::WebServerPort, Field::FlvTool, Field::Encoder,
                              Field::EncoderOptions, Field::SegmentLength, Field::DriveList})
        refuseLineBreak(view.fieldName(field), view.text(field));
    refuseLineBreak(std::string(text::kCurrentTheme), selectedThemeName(view));
}

void writeSettingsFile(const ConfigView& view) {
    ReplacementFile settings(installationPath(view, relative::kSettings));
    for (const SettingKey& setting : kSettingKeys)
        settings.appendLine(settingsLine(setting, settingValue(view, setting.setting)));
    settings.commit();
}

void rewriteApachePort(ConfigView& view) {
    const std::string path = installationPath(view, relative::kApacheConfiguration);
    const std::string original = readWholeFile(path);
    StoredApacheLines& stored = view.storedApacheLines();
    std::string port = view.text(Field::WebServerPort);
    // A line that the edit passes over and that ends in CR LF is written from the original as it
    // stands; the original is kept in runs up to the next line that changes.
    PiecedText rewritten(original);
    size_t kept = 0;
    forEachLineWithTerminator(original, [&](std::string_view line, std::string_view terminator) {
        if (view.yieldToEvents()) {
            port = view.text(Field::WebServerPort);
            refuseLineBreak(view.fieldName(Field::WebServerPort), port);
        }
        if (terminator == "\r\n" && !editsApacheLine(line, stored)) return true;
        const size_t start = static_cast<size_t>(line.data() - original.data());
        rewritten.keep(kept, start);
        rewritten.add([&](std::string& added) {
            appendEditedApacheLine(added, line, stored, port);
            added += "\r\n";
        });
        kept = start + line.size() + terminator.size();
        return true;
    });
    rewritten.keep(kept, original.size());
    ReplacementFile configuration(path);
    configuration.write(rewritten.pieces());
    configuration.commit();
    stored = linesAfterSave(stored, port);
}

}  // namespace

void saveConfiguration(ConfigView& view, const InstallationPaths& paths) {
    refuseLineBreaks(view);
    SaveAndExitDisabled guard(view);
    writeSettingsFile(view);
    writePointerFile(paths, view.text(Field::XamppPath));
    rewriteApachePort(view);
}

}  // namespace velko
