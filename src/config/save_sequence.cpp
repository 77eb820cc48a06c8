#include "config/save_sequence.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/apache_edit.h"
#include "config/pieced_text.h"
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
    StoredApacheLines stored;
};

// A refusal names the field (or the port), and the value (or the line) where the format shows it.
Failure refusal(std::string_view format, std::string_view named, std::string_view value = {}) {
    return Failure(failure_number::InvalidArgument, text::filled(format, {named, value}));
}

void refuseLineBreak(const std::string& fieldName, std::string_view value) {
    if (holdsLineBreak(value)) throw refusal(text::kLineBreakRefusal, fieldName);
}

// A port the user typed must be one Apache accepts; the one the load found is written as it
// stands, and an empty field leaves the configuration as it is.
void refuseUnacceptedPort(const std::string& fieldName, const std::string& port, const StoredApacheLines& stored) {
    if (port.empty() || port == stored.port || isPortNumber(port)) return;
    throw refusal(text::kPortRefusal, fieldName, port);
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
    snapshot.stored = view.loaded().apache;
    refuseUnacceptedPort(view.fieldName(Field::WebServerPort), snapshot.port, snapshot.stored);
    return snapshot;
}

std::string pathIn(const SaveSnapshot& snapshot, std::string_view relativePath) {
    return snapshot.xamppDirectory + std::string(relativePath);
}

// A port that the save changes must be one that no other Listen line of the configuration holds;
// when another program holds it, the user decides. The port the configuration holds belongs to
// its own Apache and is never questioned. False when the user keeps everything as it is.
bool newPortMayBeSaved(ConfigView& view, const SaveSnapshot& snapshot, std::string_view configuration) {
    const std::string& port = snapshot.port;
    if (!isPortNumber(port) || port == snapshot.stored.port) return true;
    if (const std::optional<std::string_view> line = otherListenLineOn(configuration, snapshot.stored, port))
        throw refusal(text::kListenConflict, port, std::string(*line));
    const std::optional<std::string> holder = portHolder(static_cast<std::uint16_t>(std::stoi(port)));
    if (!holder) return true;
    return view.confirm(text::filled(text::kPortHeldQuestion, {port, *holder, port}));
}

// Where a search of the text next finds something at or after from; searched again only once the
// walk has passed it, so that every search reads the text once.
class NextFound {
public:
    template <class Search>
    explicit NextFound(Search search) : search_(search), at_(search(0)) {}
    size_t from(size_t position) {
        if (at_ < position) at_ = search_(position);
        return at_;
    }

private:
    std::function<size_t(size_t)> search_;
    size_t at_;
};

NextFound textSearch(std::string_view text, std::string_view part) {
    return NextFound([text, part](size_t from) {
        return part.empty() ? std::string_view::npos : findText(text, part, from);
    });
}

// The lines that the edit passes over and whose line end it keeps are written from the original
// as they stand, in runs up to the next line that changes. A lone CR and a missing last line
// end become CR LF. Only the lines where a stored line, a lone CR or the end of the text stands
// are looked at one by one.
std::string writeApacheConfiguration(ConfigView& view, std::string_view original, const StoredApacheLines& stored,
                                     const StoredApacheLines& edited) {
    constexpr size_t npos = std::string_view::npos;
    NextFound listen = textSearch(original, stored.listen);
    NextFound serverName = textSearch(original, stored.serverName);
    NextFound loneCr([original](size_t from) { return findLoneCr(original, from); });
    const bool endsOpen = !original.empty() && original.back() != '\r' && original.back() != '\n';
    PiecedText rewritten(original);
    size_t kept = 0;
    for (size_t from = 0; from < original.size();) {
        view.yieldToEvents();
        size_t found = std::min({listen.from(from), serverName.from(from), loneCr.from(from)});
        if (found == npos && endsOpen) found = original.size() - 1;
        if (found == npos) break;
        size_t start = found;  // the start of the line where it was found
        while (start > from && original[start - 1] != '\r' && original[start - 1] != '\n') --start;
        const auto rewrite = [&](std::string_view line, std::string_view end) {
            from = start + line.size() + end.size();
            const bool keepsEnd = end == "\r\n" || end == "\n";
            if (keepsEnd && !editsApacheLine(line, stored)) return false;
            rewritten.keep(kept, start);
            rewritten.add([&](std::string& added) {
                appendEditedApacheLine(added, line, stored, edited);
                added += keepsEnd ? end : "\r\n";
            });
            kept = from;
            return false;
        };
        forEachLineWithTerminator(original.substr(start), LineEnds::CrLfCrOrLf, rewrite);
    }
    rewritten.keep(kept, original.size());
    return rewritten.joined();
}

std::string withLineEnds(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text.append(line).append("\r\n");
    return text;
}

}  // namespace

void saveConfiguration(ConfigView& view, const InstallationPaths& paths) {
    const SaveSnapshot snapshot = takeSnapshot(view);
    const std::string apachePath = pathIn(snapshot, relative::kApacheConfiguration);
    std::optional<MappedFile> original(std::in_place, apachePath);
    if (!newPortMayBeSaved(view, snapshot, original->text())) return;
    CommandsDisabled guard(view);

    const StoredApacheLines stored = snapshot.port.empty() ? StoredApacheLines{} : snapshot.stored;
    const StoredApacheLines edited = editedApacheLines(stored, snapshot.port);
    const FileReplacement files[] = {
        {pathIn(snapshot, relative::kSettings), withLineEnds(snapshot.settingsLines)},
        {paths.pointerFile, pointerLine(snapshot.xamppDirectory) + "\r\n"},
        {apachePath, writeApacheConfiguration(view, original->text(), stored, edited)},
    };
    original.reset();  // the view holds the file, which the replacement moves
    replaceTogether(files, paths.saveJournal());
    if (!snapshot.port.empty()) view.loaded().apache = edited;
}

}  // namespace velko
