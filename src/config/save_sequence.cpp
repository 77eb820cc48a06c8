#include "config/save_sequence.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/apache_edit.h"
#include "config/config_files_on_disk.h"
#include "config/config_files_read_once.h"
#include "config/mod_file.h"
#include "config/port_check.h"
#include "config/replacement_file.h"
#include "config/restart_on_save.h"
#include "config/settings_lines.h"
#include "config/text_lines.h"
#include "server/apache_check.h"
#include "ui_text.h"
#include "win/failure.h"
#include "win/file_io.h"
#include "win/program_paths.h"

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

// A file the save replaces: where it is, its bytes when the save read it (nothing: it was not
// there), what the save writes into it, and for a file besides the three, why it changes.
struct SavedFile {
    std::string path;
    std::optional<std::string> before;
    std::string after;
    std::string why;
};

// The one list of the files a save replaces, built anew by each save, in the order it replaces
// them: the settings file, the pointer file, every other file the port moves, and last Apache's
// main configuration file. The reads, the stamps, the questions and the journal take it.
using SavedFiles = std::vector<SavedFile>;
enum FirstFiles : size_t { kSettingsFile, kPointerFile };

// What the user has agreed to during this save: the files as the user knows them (what the load
// noted, and what a question answered Yes showed), and the questions answered, Yes or No.
struct Consent {
    std::vector<NotedFile> known;
    std::vector<std::pair<std::string, bool>> answers;
};

// No to a question: the save ends, having written nothing.
struct SaveCancelled {};
// Yes to the question about a file changed while the save ran: its new contents were made from
// the bytes before, so the save starts again from its reading.
struct ReadAgain {};

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
SavedFiles readTheThree(const SaveSnapshot& snapshot, const InstallationPaths& paths) {
    const std::string apache = snapshot.xamppDirectory + std::string(relative::kApacheConfiguration);
    std::optional<std::string> configuration = readWholeFile(apache);
    SavedFiles files;
    for (std::string path : {snapshot.xamppDirectory + std::string(relative::kSettings), paths.pointerFile}) {
        std::optional<std::string> bytes = readFileIfPresent(path);
        files.push_back({std::move(path), std::move(bytes), {}, {}});
    }
    files.push_back({apache, std::move(configuration), {}, {}});
    return files;
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
void refuseListenConflict(const PortToWrite& port, const ConfigFiles& configuration, const SavedFile& main) {
    if (!port.changed) return;
    const std::optional<ListenConflict> conflict = otherListenOn(configuration, main.path, *main.before, *portNumber(port.text));
    if (conflict)
        throw refusal(text::kListenConflict, {port.text, conflict->file, std::to_string(conflict->line), conflict->text});
}

// A file the list holds already (one of the three, included by the configuration) is replaced once.
void addOnce(SavedFiles& files, SavedFile file) {
    for (const SavedFile& listed : files)
        if (samePath(listed.path, file.path)) return;
    files.insert(files.end() - 1, std::move(file));
}

// The files besides the three that name the port the server moves from: files that Apache's
// configuration includes, then the control panel's settings in the installation's top folder.
void addFilesThePortMoves(SavedFiles& files, const PortToWrite& port, const ConfigFilesReadOnce& configuration,
                          const std::string& xamppDirectory) {
    const SavedFile& main = files.back();
    const std::optional<unsigned> from = portNumber(portOf(*main.before));
    if (!port.changed || !from) return;
    std::vector<MovedFile> included = includedFilesMoved(configuration, main.path, *main.before, *from, port.text);
    const std::string alsoNamesPort = text::filled(text::kAlsoNamesPort, {std::to_string(*from)});
    for (MovedFile& moved : included) addOnce(files, {moved.path, std::move(moved.before), std::move(moved.after), alsoNamesPort});
    std::string controlPanel = xamppDirectory + std::string(relative::kControlPanelSettings);
    std::optional<std::string> settings = readFileIfPresent(controlPanel);
    if (!settings) return;
    std::string after = withControlPanelPortMoved(*settings, *from, port.text);
    if (after != *settings)
        addOnce(files, {std::move(controlPanel), std::move(settings), std::move(after), std::string(text::kControlPanelPort)});
}

// A question answered once in this save is not asked again when the save starts again.
bool agreed(ConfigView& view, Consent& consent, const std::string& question) {
    for (const auto& [asked, yes] : consent.answers)
        if (asked == question) return yes;
    const bool yes = view.confirm(question);
    consent.answers.emplace_back(question, yes);
    return yes;
}

// The stamp noted of a file; nothing for a file the load did not see, such as one under another
// directory than the one loaded, which is asked nothing about.
const FileStamp* notedStamp(const std::vector<NotedFile>& noted, const std::string& path) {
    for (const NotedFile& file : noted)
        if (samePath(file.path, path)) return &file.stamp;
    return nullptr;
}

void note(std::vector<NotedFile>& noted, const std::string& path, const FileStamp& stamp) {
    for (NotedFile& file : noted)
        if (samePath(file.path, path)) {
            file.stamp = stamp;
            return;
        }
    noted.push_back({path, stamp});
}

// A line that names the file and how it changed when it is not as expected; else nothing.
std::string changeLine(const std::string& path, const FileStamp& expected, const FileStamp& now) {
    if (now == expected) return {};
    const std::string_view how = !now.exists ? text::kFileDeleted : !expected.exists ? text::kFileCreated : text::kFileChanged;
    return text::filled(how, {path});
}

// Files that another program has changed since the user saw them are replaced only when the user
// says so: each file whose stamp now is not the one `known` notes of it. Yes makes now known.
bool changesMayBeLost(ConfigView& view, std::vector<NotedFile>& known, const SavedFiles& files, const std::vector<FileStamp>& now) {
    std::string changed;
    for (size_t i = 0; i < files.size(); ++i)
        if (const FileStamp* stamp = notedStamp(known, files[i].path)) changed += changeLine(files[i].path, *stamp, now[i]);
    if (changed.empty()) return true;
    if (!view.confirm(text::filled(text::kChangedSinceLoadQuestion, {changed}))) return false;
    for (size_t i = 0; i < files.size(); ++i) note(known, files[i].path, now[i]);
    return true;
}

std::vector<FileStamp> stampsOf(const SavedFiles& files) {
    std::vector<FileStamp> stamps;
    for (const SavedFile& file : files) stamps.push_back(stampOf(file.before));
    return stamps;
}

// Files besides the three change only when the user says so.
bool otherFilesMayChange(ConfigView& view, Consent& consent, const SavedFiles& files, const PortToWrite& port) {
    std::string others;
    for (const SavedFile& file : files)
        if (!file.why.empty()) others += text::filled(text::kOtherFileLine, {file.path, file.why});
    return others.empty() || agreed(view, consent, text::filled(text::kOtherFilesQuestion, {port.text, others}));
}

// A new port that another program holds is saved only when the user says so. The port the
// configuration holds belongs to its own Apache and is never questioned.
bool heldPortMayBeSaved(ConfigView& view, Consent& consent, const PortToWrite& port) {
    if (!port.changed) return true;
    const std::optional<std::string> holder = portHolder(static_cast<std::uint16_t>(*portNumber(port.text)));
    return !holder || agreed(view, consent, text::filled(text::kPortHeldQuestion, {port.text, *holder, port.text}));
}

std::string linesWithCrLf(const std::vector<std::string>& lines) {
    std::string content;
    for (const std::string& line : lines) content.append(line).append("\r\n");
    return content;
}

// The new contents of the three; the other files' were made when the port moved them.
void putTogether(SavedFiles& files, const SaveSnapshot& snapshot, const PortToWrite& port, ConfigView& view) {
    files[kSettingsFile].after = linesWithCrLf(snapshot.settingsLines);
    files[kPointerFile].after = linesWithCrLf({pointerLine(snapshot.xamppDirectory)});
    files.back().after = rewrittenConfiguration(*files.back().before, port.text, [&] { view.yieldToEvents(); });
}

// Right before the first move every file is read again: one that another program changed while
// the save asked its questions or wrote is asked about again.
void lookAgain(ConfigView& view, Consent& consent, const SavedFiles& files) {
    std::vector<FileStamp> now;
    std::vector<NotedFile> read;
    for (const SavedFile& file : files) {
        now.push_back(stampOf(readFileIfPresent(file.path)));
        read.push_back({file.path, stampOf(file.before)});
    }
    if (!changesMayBeLost(view, read, files, now)) throw SaveCancelled{};
    if (now == stampsOf(files)) return;
    for (const NotedFile& file : read) note(consent.known, file.path, file.stamp);
    throw ReadAgain{};
}

// Apache's word counts where the save changes Apache's files: a configuration that Apache already
// refuses does not stop a save of the settings alone.
bool changesApache(const SavedFiles& files) {
    return std::any_of(files.begin() + kPointerFile + 1, files.end(),
                       [](const SavedFile& file) { return file.before != file.after; });
}

// What the replacement calls back, all in one place: a last look at the files before they move, and
// Apache's check of them in place, while a refusal can still undo the save; then its running server
// moves to them, or the save is undone.
ReplacementHooks hooksOf(ConfigView& view, Consent& consent, const SavedFiles& files, const std::string& xamppDirectory,
                         RestartOnSave& apache) {
    ReplacementHooks hooks{[&view, &consent, &files] { lookAgain(view, consent, files); }, {}};
    if (changesApache(files))
        hooks.beforeCommit = [&view, &files, &apache, xamppDirectory] {
            refuseWhatApacheRefuses(xamppDirectory, files.back().path, [&view] { view.yieldToEvents(); });
            apache.restartOn();
        };
    return hooks;
}

// Steps 2 to 8 of a save; false when it must start again from its reading (ReadAgain).
bool saveFromTheFiles(ConfigView& view, const InstallationPaths& paths, const SaveSnapshot& snapshot, Consent& consent) {
    // 2. The three files as they are now.
    SavedFiles files = readTheThree(snapshot, paths);
    // 3. The port, its checks and the other files it moves, each file of the configuration read once.
    const PortToWrite port = portToWrite(view, snapshot.port, *files.back().before);
    const ConfigFilesOnDisk disk;
    const ConfigFilesReadOnce configuration(disk);
    refuseListenConflict(port, configuration, files.back());
    addFilesThePortMoves(files, port, configuration, snapshot.xamppDirectory);
    // 4. The questions; No ends the save having written nothing.
    if (!changesMayBeLost(view, consent.known, files, stampsOf(files)) || !otherFilesMayChange(view, consent, files, port) ||
        !heldPortMayBeSaved(view, consent, port))
        return true;
    RestartOnSave apache(view, snapshot.xamppDirectory, *files.back().before, port.text, port.changed,
                         [&](const std::string& question) { return agreed(view, consent, question); });
    // 5. Nothing the user does meanwhile starts another save.
    CommandsDisabled guard(view);
    // 6. The new contents of the three.
    putTogether(files, snapshot, port, view);
    // 7. Every file replaced, all or none.
    std::vector<FileReplacement> replacements;
    for (SavedFile& file : files) replacements.push_back({file.path, std::move(file.after)});
    try {
        replaceTogether(replacements, paths.saveJournal(), hooksOf(view, consent, files, snapshot.xamppDirectory, apache));
    } catch (const SaveCancelled&) {
        return true;
    } catch (const ReadAgain&) {
        return false;
    } catch (const Failure& failure) {
        throw apache.undone(failure);
    }
    // 8. What was written is what the next save compares with.
    for (const FileReplacement& file : replacements) note(consent.known, file.target, stampOf(std::string_view(file.content)));
    view.loaded().files = std::move(consent.known);
    apache.tellWhenDeclined();
    return true;
}

}  // namespace

void saveConfiguration(ConfigView& view, const InstallationPaths& paths) {
    // 1. The fields, taken once and checked.
    const SaveSnapshot snapshot = takeSnapshot(view);
    Consent consent{view.loaded().files, {}};
    while (!saveFromTheFiles(view, paths, snapshot, consent)) {
    }
}

}  // namespace velko
