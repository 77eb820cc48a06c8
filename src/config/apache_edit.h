#pragma once
// Where Apache's configuration keeps the web server's port, and how a save edits those lines.
#include <optional>
#include <string>
#include <string_view>

namespace velko {

// The Listen and "ServerName localhost:" lines that the last load (or save) found, and the port
// field's text as that load showed it (or that save wrote it).
struct StoredApacheLines {
    std::string listen;
    std::string serverName;
    std::string port;
};

inline constexpr std::string_view kListenDirective = "listen ";
inline constexpr std::string_view kServerNameDirective = "ServerName localhost:";

// A directive is the first word of a line, letter case aside, followed by a blank or TAB; a line
// whose first character other than blanks and TABs is "#" is a comment, as Apache reads it.
bool isListenLine(std::string_view line);
// A ServerName directive whose argument begins with "localhost:".
bool isServerNameLine(std::string_view line);

// What the port field shows of a Listen line, "Listen [address:]port [protocol]": the port
// alone, or the whole argument when its port is no number (a variable, say).
std::string shownPortOf(std::string_view listenLine);

// A port Apache listens on: digits only, a whole number from 1 to 65535.
bool isPortNumber(std::string_view text);

// What a save writes in place of each stored line when the port field holds port: the Listen
// line keeps its address and protocol and takes the port; "ServerName localhost:" takes the
// port alone. An empty stored line stays empty.
StoredApacheLines editedApacheLines(const StoredApacheLines& stored, std::string_view port);

// Appends the line as the save writes it (no terminator) to out. Where the stored Listen line
// stands in the line as a whole token (case-sensitive, ended by the end of the line, a blank, a
// TAB or "#"), each such occurrence becomes the edited Listen line; otherwise the same for the
// ServerName line. An empty stored line stands nowhere.
void appendEditedApacheLine(std::string& out, std::string_view line, const StoredApacheLines& stored,
                            const StoredApacheLines& edited);

// Whether a stored line stands in the line, so that the edit changes it; every other line comes
// out as it went in.
bool editsApacheLine(std::string_view line, const StoredApacheLines& stored);

// The first Listen line of the configuration that already listens on port and that the edit
// leaves as it is: Apache refuses a second listener on one address and port. Lines end at
// CR LF, CR or LF.
std::optional<std::string_view> otherListenLineOn(std::string_view configuration, const StoredApacheLines& stored,
                                                  std::string_view port);

}  // namespace velko
