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

std::string withTrailingBackslash(std::string directory) {
    if (directory.empty() || directory.back() != '\\') directory += '\\';
    return directory;
}

}  // namespace

std::string installationPath(const ConfigView& view, std::string_view relativePath) {
    return view.text(Field::XamppPath).append(relativePath);
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
