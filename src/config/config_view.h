#pragma once
// The narrow view of the window through which loading and saving reach its fields.
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "config/settings_lines.h"
#include "win/failure.h"

namespace velko {

enum class Field { XamppPath, WebServerPort, FlvTool, Encoder, EncoderOptions, SegmentLength, DriveList };
enum class Caption { XamppVersion, VelkoVersion };

// What a file held when it was read: whether it was there, and its size and a hash of its bytes.
struct FileStamp {
    bool exists = false;
    size_t size = 0;
    size_t hash = 0;
    bool operator==(const FileStamp&) const = default;
};

inline FileStamp stampOf(std::string_view bytes) { return {true, bytes.size(), std::hash<std::string_view>{}(bytes)}; }
inline FileStamp stampOf(const std::optional<std::string>& bytes) { return bytes ? stampOf(std::string_view(*bytes)) : FileStamp{}; }

// A file that a save may replace, as the configurator last saw it.
struct NotedFile {
    std::string path;
    FileStamp stamp;
};

// What the last load read beside the fields, for the save; a save that succeeds notes what it wrote.
struct LoadedValues {
    // What the load found of the files a save may replace: the settings file, the pointer file,
    // Apache's main configuration file and the control panel's settings, there or not, and every
    // other file of Apache's configuration that it read.
    std::vector<NotedFile> files;
    // The settings file's theme, written back while no listed theme is selected.
    std::string theme;
};

class ConfigView {
public:
    virtual ~ConfigView() = default;

    // Text boxes: read and replace the whole text.
    virtual std::string text(Field field) const = 0;
    virtual void setText(Field field, std::string_view text) = 0;
    // The caption the user knows the field by, for messages.
    virtual std::string fieldName(Field field) const = 0;

    virtual void setCaption(Caption caption, std::string_view text) = 0;

    // The theme list: entries in the order added, one selected or none (-1).
    virtual void clearThemes() = 0;
    virtual void addTheme(std::string_view name) = 0;
    virtual std::string theme(int index) const = 0;
    virtual int selectedTheme() const = 0;
    virtual void selectTheme(int index) = 0;

    // The preset store: lines of the preset file, only ever appended.
    virtual void addPreset(std::string_view line) = 0;

    virtual LoadedValues& loaded() = 0;

    // Save, Exit, OK and the "..." buttons are disabled while a save runs.
    virtual void enableCommands(bool enabled) = 0;

    // Lets the window handle its pending events.
    virtual void yieldToEvents() = 0;

    // Shows beside "Status:" what a long step is doing; the empty text clears it.
    virtual void showStatus(std::string_view status) = 0;

    // A message with OK, for what the user should know once a step has ended.
    virtual void inform(const std::string& message) = 0;
    // A failure that stops nothing: shown in the failure box, and what runs goes on.
    virtual void warn(const Failure& failure) = 0;

    // A warning with Yes and No, No the default: whether the user answered Yes.
    virtual bool confirm(const std::string& question) = 0;

    // The modal prompt for the XAMPP directory; nothing when the user cancels it.
    virtual std::optional<std::string> askForXamppDirectory() = 0;
};

// The text box that shows a setting; the theme is the selection of the theme list instead.
inline Field fieldOf(Setting setting) {
    switch (setting) {
    case Setting::FlvTool: return Field::FlvTool;
    case Setting::Encoder: return Field::Encoder;
    case Setting::EncoderOptions: return Field::EncoderOptions;
    case Setting::Duration: return Field::SegmentLength;
    case Setting::DriveList: return Field::DriveList;
    case Setting::Theme: break;
    }
    throw std::logic_error("the theme has no text box");
}

// The name of the selected theme, or the empty text when none is selected.
inline std::string selectedThemeName(const ConfigView& view) {
    const int index = view.selectedTheme();
    return index < 0 ? std::string() : view.theme(index);
}

}  // namespace velko
