#include "server/apache_check.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "server/child_process.h"
#include "server/installation_apache.h"
#include "ui_text.h"
#include "win/failure.h"

namespace velko {
namespace {

// Apache checks a configuration within a second; a slow name lookup may take it longer.
constexpr std::chrono::seconds kCheckLimit{10};
constexpr size_t kQuotedLines = 6;
constexpr size_t kQuotedLineLength = 300;

std::string_view trimmed(std::string_view line) {
    constexpr std::string_view kBlanks = " \t\r";
    line.remove_prefix(std::min(line.find_first_not_of(kBlanks), line.size()));
    return line.substr(0, line.find_last_not_of(kBlanks) + 1);
}

// Apache's first lines, trimmed, blank ones left out; a long one is cut.
std::string firstLines(std::string_view output) {
    std::string lines;
    for (size_t kept = 0; !output.empty() && kept < kQuotedLines;) {
        const size_t end = std::min(output.find('\n'), output.size());
        const std::string_view line = trimmed(output.substr(0, end));
        output.remove_prefix(std::min(end + 1, output.size()));
        if (line.empty()) continue;
        lines.append(kept++ == 0 ? "" : "\n").append(line.substr(0, kQuotedLineLength));
    }
    return lines;
}

// A check that cannot be started is no check.
std::optional<ProgramOutcome> outcomeOf(const ProgramCall& check, const std::function<void()>& whileWaiting) {
    try {
        return runAndCapture(check, kCheckLimit, whileWaiting);
    } catch (const Failure&) {
        return std::nullopt;
    }
}

}  // namespace

void refuseWhatApacheRefuses(const std::string& xamppDirectory, const std::string& configurationFile,
                             const std::function<void()>& whileWaiting) {
    const std::optional<std::string> program = installationApache(xamppDirectory);
    if (!program) return;
    // "-f" names the configuration the save leaves, not the one built into httpd.exe. The
    // installation's folder is the working folder, as when its control panel starts Apache: XAMPP's
    // ServerRoot "/xampp/apache" lies on the drive of the working folder.
    const std::optional<ProgramOutcome> outcome =
        outcomeOf({*program, {"-t", "-f", configurationFile}, xamppDirectory}, whileWaiting);
    if (!outcome || outcome->exitCode == 0) return;
    std::string said = firstLines(outcome->output);
    if (said.empty()) said = text::filled(text::kApacheSaidNothing, {std::to_string(outcome->exitCode)});
    throw Failure(failure_number::InvalidArgument, text::filled(text::kApacheRefusal, {said}));
}

}  // namespace velko
