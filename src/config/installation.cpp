#include "config/installation.h"

#include <windows.h>

#include "config/mod_file.h"
#include "config/settings_lines.h"
#include "config/value_rule.h"
#include "win/failure.h"

namespace velko {
namespace {

std::string pointedDirectory(const InstallationPaths& paths) {
    try {
        return valueOf(GetLineWithKey(paths.pointerFile, kPointerKey));
    } catch (const Failure&) {
        return {};  // no pointer file, or no value in it
    }
}

std::string askUntilAccepted(ConfigView& view) {
    for (;;) {
        const std::optional<std::string> answer = view.askForXamppDirectory();
        if (!answer) throw LoadCancelled{};
        if (FirstFileExists(*answer)) return *answer;
    }
}

std::wstring widened(std::string_view text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                                        static_cast<int>(wide.size()))));
    return wide;
}

std::string withTrailingBackslash(std::string directory) {
    if (directory.empty() || directory.back() != '\\') directory += '\\';
    return directory;
}

}  // namespace

std::string installationPath(const ConfigView& view, std::string_view relativePath) {
    return view.text(Field::XamppPath).append(relativePath);
}

// Paths are in the system code page; the system compares them in UTF-16, ordinally.
bool samePath(std::string_view a, std::string_view b) {
    const std::wstring wideA = widened(a), wideB = widened(b);
    return CompareStringOrdinal(wideA.data(), static_cast<int>(wideA.size()), wideB.data(), static_cast<int>(wideB.size()),
                                TRUE) == CSTR_EQUAL;
}

void determineXamppDirectory(ConfigView& view, const InstallationPaths& paths) {
    const std::string pointed = pointedDirectory(paths);
    if (!pointed.empty()) {
        view.setText(Field::XamppPath, pointed);
        return;
    }
    if (FirstFileExists(paths.defaultLocation)) return;
    view.setText(Field::XamppPath, withTrailingBackslash(askUntilAccepted(view)));
}

}  // namespace velko
