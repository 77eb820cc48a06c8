#pragma once
// Where Apache's configuration keeps the web server's port, and how a save moves it: the first
// Listen directive of the main file gives the port; a save rewrites that directive and the first
// "ServerName localhost:" directive, and moves every other Listen directive and virtual host
// address on the old port with it, in the main file and in every file it includes, found as
// Apache reads them every time the files are read.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/apache_config.h"
#include "config/config_files_read_once.h"

namespace velko {

// A ServerName directive whose argument begins with "localhost:", letter case aside.
bool isServerNameLine(std::string_view line);

// What the port field shows of a Listen line, "Listen [address:]port [protocol]": the port as it
// is written after the address, a number or a variable ("${PORT}").
std::string shownPortOf(std::string_view listenLine);

// The port the configuration's first Listen directive shows; empty when it has none.
std::string portOf(std::string_view configuration);

// The address at which a client reaches what the configuration's first Listen directive listens
// on: the address it names, brackets aside, or the loopback address of its family for a bare port
// or a wildcard ("*", "0.0.0.0", "[::]"); empty when the configuration has no Listen directive.
std::string reachableAddressOf(std::string_view configuration);

// The number a port is written as, leading zeros aside ("080" is 80); nothing for a text that is
// not only digits or is above 65535.
std::optional<unsigned> portNumber(std::string_view text);

// A port Apache listens on: digits only, a whole number from 1 to 65535.
bool isPortNumber(std::string_view text);

// Ports that are numbers compare as numbers; other texts, a variable say, are the same only as
// the same text.
bool samePort(std::string_view a, std::string_view b);

// The configuration as a save writes it with the port: the first Listen directive keeps its
// address and protocol and takes the port, the first "ServerName localhost:" directive takes the
// port alone, each written as one line with its line end. When the first Listen names a number
// and the port is another, every other address on that number moves with it (withPortMoved).
// Every other byte stays, line ends included, and no line end is added where the file ends
// without one. An empty port edits no line. beforeEachLine runs before each line is looked at.
std::string rewrittenConfiguration(std::string_view configuration, std::string_view port,
                                   const std::function<void()>& beforeEachLine);

// The text with the server moved from port `from` to port `to`: every Listen and NameVirtualHost
// directive and every <VirtualHost> address that names `from` as a number, whatever its address,
// names `to` in its place. A directive continued over several lines is written as one; every
// other byte stays.
std::string withPortMoved(std::string_view text, unsigned from, std::string_view to);

// A file of the configuration besides the main one as a port move rewrites it.
struct MovedFile {
    std::string path;
    std::string before;  // as it was read
    std::string after;
};

// Every file that the main file includes, in the order Apache reads it first, that the server's
// move from port `from` to port `to` changes.
std::vector<MovedFile> includedFilesMoved(const ConfigFilesReadOnce& files, const std::string& mainFile, std::string_view mainText,
                                          unsigned from, std::string_view to);

// XAMPP's control panel keeps its own copy of Apache's port: the settings file of the control
// panel (xampp-control.ini) with the "Apache" key of its [ServicePorts] section moved from port
// `from` to port `to`, when that is the port it names. Every other byte stays.
std::string withControlPanelPortMoved(std::string_view settings, unsigned from, std::string_view to);

// A Listen directive of the configuration other than the one a save edits, where it stands.
struct ListenConflict {
    std::string file;
    size_t line = 0;
    std::string text;
};

// The first Listen directive of the whole configuration, besides the first one of its main file,
// that listens on the port, whatever its address: Apache refuses two listeners on one port.
std::optional<ListenConflict> otherListenOn(const ConfigFiles& files, const std::string& mainFile,
                                            std::string_view mainText, unsigned port);

}  // namespace velko
