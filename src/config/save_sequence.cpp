#include "config/save_sequence.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/apache_edit.h"
#include "config/config_files_on_disk.h"
#include "config/mod_file.h"
#include "config/port_check.h"
#include "config/replacement_file.h"
#include "config/settings_lines.h"
#include "config/text_lines.h"
#include "ui_text.h"
#include "win/failure.h"
#include "win/file_io.h"

namespace velko {
namespace {

// The commands that could start another save, end the program or change the fields stay
// disabled for as long as the save runs, whichever way it ends.
class CommandsDisabled {
public:
    explicit CommandsDisabled(ConfigView& view) : view_(view) { view_.enableCommands(false); }
    ~CommandsDisabled() { view_.enableCommands(true); }
    CommandsDisabled(const CommandsDisabled&) = delete;
    CommandsDisabled& operator=(const CommandsDisabled&) = delete;

private:
    ConfigView& view_;
};

// Everything the save writes, taken from the window once and checked before any file is
// touched: what the user does in the window while the save runs waits for the next save.
struct SaveSnapshot {
    std::vector<std::string> settingsLines;
    std::string xamppDirectory;
    std::string port;
};

// The files the save replaces as they are when it begins: their paths, and their bytes or nothing
// for a file that is not there. Apache's configuration must be there.
struct FilesNow {
    std::array<std::string, kSavedFiles.size()> paths;
    std::array<std::optional<std::string>, kSavedFiles.size()> bytes;

    const std::string& path(SavedFile file) const { return paths[static_cast<size_t>(file)]; }
    const std::string& apacheConfiguration() const { return *bytes[static_cast<size_t>(SavedFile::ApacheConfiguration)]; }
};

// The port the save writes: the one the configuration holds while the field names the same
// ("080" for 80), else the field's number without leading zeros, which the checks look at.
struct PortToWrite {
    std::string text;
    bool changed = false;
};

// A refusal names the field (or the port), and the value (or the line) where the format shows it.
Failure refusal(std::string_view format, std::initializer_list<std::string_view> values) {
    return Failure(failure_number::InvalidArgument, text::filled(format, values));
}

void refuseLineBreak(const std::string& fieldName, std::string_view value) {
    if (holdsLineBreak(value)) throw refusal(text::kLineBreakRefusal, {fieldName});
}

// The theme is the selected one; while none is selected, the one the load read stays.
std::string themeToSave(ConfigView& view) {
    return view.selectedTheme() < 0 ? view.loaded().theme : selectedThemeName(view);
}

std::string checkedText(const ConfigView& view, Field field) {
    std::string value = view.text(field);
    refuseLineBreak(view.fieldName(field), value);
    return value;
}

SaveSnapshot takeSnapshot(ConfigView& view) {
    SaveSnapshot snapshot;
    for (const SettingKey& setting : kSettingKeys) {
        std::string value;
        if (setting.setting == Setting::Theme) {
            value = themeToSave(view);
            refuseLineBreak(std::string(text::kCurrentTheme), value);
        } else {
            value = checkedText(view, fieldOf(setting.setting));
        }
        snapshot.settingsLines.push_back(settingsLine(setting, value));
    }
    snapshot.xamppDirectory = checkedText(view, Field::XamppPath);
    snapshot.port = checkedText(view, Field::WebServerPort);
    return snapshot;
}

// Apache's configuration is read first: without it there is nothing to save the port into.
FilesNow readFilesNow(const SaveSnapshot& snapshot, const InstallationPaths& paths) {
    FilesNow now;
    for (const SavedFile file : {SavedFile::ApacheConfiguration, SavedFile::Settings, SavedFile::Pointer}) {
        const size_t index = static_cast<size_t>(file);
        now.paths[index] = savedFilePath(file, snapshot.xamppDirectory, paths);
        now.bytes[index] = file == SavedFile::ApacheConfiguration ? readWholeFile(now.paths[index])
                                                                  : readFileIfPresent(now.paths[index]);
    }
    return now;
}

// A port that differs from the one the configuration holds must be one Apache accepts; an empty
// field leaves the configuration as it is.
PortToWrite portToWrite(const ConfigView& view, const std::string& field, std::string_view configuration) {
    const std::string held = portOf(configuration);
    if (field.empty() || samePort(field, held)) return {field.empty() ? std::string() : held, false};
    if (!isPortNumber(field)) throw refusal(text::kPortRefusal, {view.fieldName(Field::WebServerPort), field});
    return {std::to_string(*portNumber(field)), true};
}

// A new port that another Listen directive of the whole configuration names would stop Apache.
void refuseListenConflict(const PortToWrite& port, const FilesNow& now) {
    if (!port.changed) return;
    const std::string& mainFile = now.path(SavedFile::ApacheConfiguration);
    const std::optional<ListenConflict> conflict =
        otherListenOn(ConfigFilesOnDisk(), mainFile, now.apacheConfiguration(), *portNumber(port.text));
    if (conflict)
        throw refusal(text::kListenConflict, {port.text, conflict->file, std::to_string(conflict->line), conflict->text});
}

// Files that another program has changed since the last load of this installation are replaced
// only when the user says so. A save into another directory than the one loaded asks nothing.
bool changesSinceLoadMayBeLost(ConfigView& view, const SaveSnapshot& snapshot, const FilesNow& now) {
    const LoadedValues& loaded = view.loaded();
    if (snapshot.xamppDirectory != loaded.directory) return true;
    std::string changed;
    for (const SavedFile file : kSavedFiles) {
        const FileStamp before = loaded[file];
        const FileStamp stamp = stampOf(now.bytes[static_cast<size_t>(file)]);
        if (stamp == before) continue;
        const std::string_view how = !stamp.exists ? text::kFileDeleted : !before.exists ? text::kFileCreated : text::kFileChanged;
        changed += text::filled(how, {now.path(file)});
    }
    return changed.empty() || view.confirm(text::filled(text::kChangedSinceLoadQuestion, {changed}));
}

// A new port that another program holds is saved only when the user says so. The port the
// configuration holds belongs to its own Apache and is never questioned.
bool heldPortMayBeSaved(ConfigView& view, const PortToWrite& port) {
    if (!port.changed) return true;
    const std::optional<std::string> holder = portHolder(static_cast<std::uint16_t>(*portNumber(port.text)));
    return !holder || view.confirm(text::filled(text::kPortHeldQuestion, {port.text, *holder, port.text}));
}

std::string linesWithCrLf(const std::vector<std::string>& lines) {
    std::string content;
    for (const std::string& line : lines) content.append(line).append("\r\n");
    return content;
}

}  // namespace

void saveConfiguration(ConfigView& view, const InstallationPaths& paths) {
    const SaveSnapshot snapshot = takeSnapshot(view);
    const FilesNow now = readFilesNow(snapshot, paths);
    const PortToWrite port = portToWrite(view, snapshot.port, now.apacheConfiguration());
    refuseListenConflict(port, now);
    if (!changesSinceLoadMayBeLost(view, snapshot, now) || !heldPortMayBeSaved(view, port)) return;
    CommandsDisabled guard(view);

    const FileReplacement files[] = {
        {now.path(SavedFile::Settings), linesWithCrLf(snapshot.settingsLines)},
        {now.path(SavedFile::Pointer), linesWithCrLf({pointerLine(snapshot.xamppDirectory)})},
        {now.path(SavedFile::ApacheConfiguration),
         rewrittenConfiguration(now.apacheConfiguration(), port.text, [&] { view.yieldToEvents(); })},
    };
    replaceTogether(files, paths.saveJournal());

    LoadedValues& loaded = view.loaded();
    loaded.directory = snapshot.xamppDirectory;
    for (size_t i = 0; i < kSavedFiles.size(); ++i) loaded[kSavedFiles[i]] = stampOf(std::string_view(files[i].content));
}

}  // namespace velko
