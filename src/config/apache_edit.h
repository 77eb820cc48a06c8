#pragma once
// How a save edits one line of Apache's configuration.
#include <string>
#include <string_view>

namespace velko {

// The Listen and "ServerName localhost:" lines that the last load (or save) found.
struct StoredApacheLines {
    std::string listen;
    std::string serverName;
};

inline constexpr std::string_view kListenDirective = "listen ";
inline constexpr std::string_view kServerNameDirective = "ServerName localhost:";

// Appends the line as the save writes it (no terminator) to out. Where the stored Listen line
// stands in the line as a whole token (case-sensitive, ended by the end of the line, a blank, a
// TAB or "#"), each such occurrence becomes "listen " + port; otherwise the same for the stored
// ServerName line with "ServerName localhost:" + port. An empty stored line stands nowhere.
void appendEditedApacheLine(std::string& out, std::string_view line,
                            const StoredApacheLines& stored, std::string_view port);

// Whether a stored line stands in the line, so that the edit changes it; every other line comes
// out as it went in.
bool editsApacheLine(std::string_view line, const StoredApacheLines& stored);

// The stored lines after a save has written the port: what the edit put in their place.
StoredApacheLines linesAfterSave(const StoredApacheLines& stored, std::string_view port);

}  // namespace velko
