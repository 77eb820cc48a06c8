#include "config/apache_edit.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "config_tree.h"

namespace velko {
namespace {

using namespace std::string_literals;

struct RewriteCase {
    const char* what;
    std::string before;
    std::string port;
    std::string after;
};

// The whole text as a save writes it: the first Listen and "ServerName localhost:" directives take
// the port, every other address on the old port moves with it, every other byte stays.
TEST(ApacheEdit, RewritesTheFirstListenAndServerNameAndMovesTheOtherAddressesOnTheOldPort) {
    const std::vector<RewriteCase> cases{
        {"an ordinary file", "ServerRoot \"C:/xampp/apache\"\r\nListen 80\r\nServerName localhost:80\r\n", "8080",
         "ServerRoot \"C:/xampp/apache\"\r\nlisten 8080\r\nServerName localhost:8080\r\n"},
        {"comments are never edited", "#Listen 80\r\n  # Listen 81\r\nListen 80\r\n# ServerName localhost:80\r\n", "81",
         "#Listen 80\r\n  # Listen 81\r\nlisten 81\r\n# ServerName localhost:80\r\n"},
        {"only the first of each", "Listen 80\nListen 8080\nServerName localhost:80\nServerName localhost:8080\n", "81",
         "listen 81\nListen 8080\nServerName localhost:81\nServerName localhost:8080\n"},
        {"indented, any letter case", "  LISTEN\t80 # web\r\n\tservername LOCALHOST:80\r\n", "81",
         "listen 81 # web\r\nServerName localhost:81\r\n"},
        {"an address and a protocol stay", "Listen 127.0.0.1:80 http\nServerName localhost:80\n", "8080",
         "listen 127.0.0.1:8080 http\nServerName localhost:8080\n"},
        {"an IPv6 address stays", "Listen [::]:80 http\r\n", "8080", "listen [::]:8080 http\r\n"},
        {"a quoted argument", "Listen \"127.0.0.1:80\"\r\n", "81", "listen 127.0.0.1:81\r\n"},
        {"a variable port keeps its address", "Listen 127.0.0.1:${PORT}\r\n", "8080", "listen 127.0.0.1:8080\r\n"},
        {"an unchanged variable stays", "Listen ${PORT}\nServerName localhost:${PORT}\n", "${PORT}",
         "listen ${PORT}\nServerName localhost:${PORT}\n"},
        {"a continued Listen becomes one line", "Listen \\\r\n  80 \\\n http\r\nX\r\n", "81", "listen 81  http\r\nX\r\n"},
        {"a Listen continuing a comment is no directive", "# old \\\nListen 80\nListen 82\n", "81",
         "# old \\\nListen 80\nlisten 81\n"},
        {"a continued line the edit passes over stays", "Alias /a \\\n /b\r\nListen 80\r\n", "81",
         "Alias /a \\\n /b\r\nlisten 81\r\n"},
        {"a lone CR is a byte of its line", "#old port\rListen 8090\r\nX\rY\nListen 80\r\n", "81",
         "#old port\rListen 8090\r\nX\rY\nlisten 81\r\n"},
        {"mixed line ends stay", "Listen 80\r\nA\nServerName localhost:80\nB\r\n\n", "81",
         "listen 81\r\nA\nServerName localhost:81\nB\r\n\n"},
        {"bytes the edit does not touch", "Listen 80\r\nX \xe9\0\t\xff\x80\r\n"s, "81", "listen 81\r\nX \xe9\0\t\xff\x80\r\n"s},
        {"an empty port leaves the text as it is", "Listen 80\r\nServerName localhost:80\rX\n", "",
         "Listen 80\r\nServerName localhost:80\rX\n"},
        {"no Listen directive", "ServerName localhost:80\r\nX\r\n", "81", "ServerName localhost:81\r\nX\r\n"},
        {"other server names stay", "ServerName www.example.com:80\r\nServerName localhost\r\n", "81",
         "ServerName www.example.com:80\r\nServerName localhost\r\n"},
        {"a Listen without argument", "Listen\r\n", "81", "listen 81\r\n"},
        {"neither line, the last open", "X\r\nY", "81", "X\r\nY"},
        {"an open last line that is edited stays open", "X\nListen 80", "81", "X\nlisten 81"},
        {"an open last line ending in a backslash stays open", "Listen 80\r\nX \\", "81", "listen 81\r\nX \\"},
        {"a file with no lines", "", "81", ""},
        {"a file of one empty line", "\r\n", "81", "\r\n"},
        {"the IPv4 and IPv6 pair moves together", "Listen 0.0.0.0:80\r\nListen [::]:80\r\n", "8080",
         "listen 0.0.0.0:8080\r\nListen [::]:8080\r\n"},
        {"virtual hosts on the port move in place, commented examples stay",
         "<VirtualHost *:80>\nListen 80\n##<VirtualHost *:80>\n  <virtualhost _default_:80 127.0.0.1:80 [::1]:80 *:443>\n"
         "<VirtualHost \"*:080\" >\nNameVirtualHost *:80\nListen 127.0.0.1:080 https # v4\n<VirtualHost *:800 *>\n",
         "8080",
         "<VirtualHost *:8080>\nlisten 8080\n##<VirtualHost *:80>\n  <virtualhost _default_:8080 127.0.0.1:8080 [::1]:8080 *:443>\n"
         "<VirtualHost \"*:8080\" >\nNameVirtualHost *:8080\nListen 127.0.0.1:8080 https # v4\n<VirtualHost *:800 *>\n"},
        {"a port written as a variable moves nothing else", "Listen ${PORT}\nListen [::]:80\n", "8080",
         "listen 8080\nListen [::]:80\n"},
    };
    for (const RewriteCase& c : cases) {
        SCOPED_TRACE(c.what);
        int linesLookedAt = 0;
        EXPECT_EQ(rewrittenConfiguration(c.before, c.port, [&] { ++linesLookedAt; }), c.after);
        EXPECT_EQ(linesLookedAt > 0, !c.before.empty());
        EXPECT_EQ(rewrittenConfiguration(c.after, c.port, [] {}), c.after) << "a second save changes nothing more";
    }
}

// The files the main file includes that name the old port, each once, as read and as moved.
TEST(ApacheEdit, MovesEachIncludedFileThatNamesTheOldPortOnce) {
    const std::string vhosts = "C:\\xampp\\apache\\conf\\extra\\httpd-vhosts.conf";
    const std::string before = "##<VirtualHost *:80>\r\n<VirtualHost *:80>\r\nListen \\\r\n 80\r\nX";
    const std::string after = "##<VirtualHost *:80>\r\n<VirtualHost *:8080>\r\nListen  8080\r\nX";
    const testing::ConfigTree tree({{vhosts, before}, {"C:\\xampp\\apache\\conf\\extra\\httpd-ssl.conf", "Listen 443\r\n"}});
    const std::vector<MovedFile> moved = includedFilesMoved(ConfigFilesReadOnce(tree), "C:\\xampp\\apache\\conf\\httpd.conf",
        "Include conf/extra/*.conf\nListen 80\nInclude conf/extra/httpd-vhosts.conf\n", 80, "8080");
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(std::tie(moved[0].path, moved[0].before, moved[0].after), std::tie(vhosts, before, after));
}

// The control panel's copy of Apache's port, read as Windows reads a profile file; "" for a text that stays.
TEST(ApacheEdit, MovesTheControlPanelsApachePortOnlyWhereItNamesTheOldPort) {
    for (const auto& [before, after] : std::vector<std::pair<std::string, std::string>>{
             {"[Common]\r\nApache=1\r\n[ServicePorts]\r\nApache=80\r\nApache=80\r\n[ServicePorts]\r\nApache=80",
              "[Common]\r\nApache=1\r\n[ServicePorts]\r\nApache=8080\r\nApache=80\r\n[ServicePorts]\r\nApache=80"},
             {" [serviceports] \nAPACHE = 080 \n[UserLogs]\nApache=80", " [serviceports] \nAPACHE = 8080 \n[UserLogs]\nApache=80"},
             {"[ServicePorts]\r\n;Apache=80\r\nApacheSSL=80\r\nApache=81\r\nApache=80\r\n", ""},
             {"[Other]\r\nApache=80\r\n", ""}, {"Apache=80", ""}, {"", ""}}) {
        SCOPED_TRACE(before);
        EXPECT_EQ(withControlPanelPortMoved(before, 80, "8080"), after.empty() ? before : after);
    }
}

struct ListenCase {
    std::string line;
    std::string shownPort;
    std::string reachableAddress;
};

// Listen [address:]port [protocol]: the field shows the port as it is written.
TEST(ApacheEdit, ShowsThePortOfTheListenArgument) {
    const std::vector<ListenCase> cases{
        {"Listen 80", "80", "127.0.0.1"},
        {"  Listen\t80", "80", "127.0.0.1"},
        {"LISTEN 080 # web", "080", "127.0.0.1"},
        {"Listen 192.168.1.5:80", "80", "192.168.1.5"},
        {"Listen *:80", "80", "127.0.0.1"},
        {"Listen 0.0.0.0:80", "80", "127.0.0.1"},
        {"Listen [::]:80 http", "80", "::1"},
        {"Listen [2001:db8::a00:20ff:fea7:ccea]:443\thttps", "443", "2001:db8::a00:20ff:fea7:ccea"},
        {"Listen ${PORT}", "${PORT}", "127.0.0.1"},
        {"Listen 127.0.0.1:${PORT} http", "${PORT}", "127.0.0.1"},
        {"Listen ${HOST:x}:${PORT}", "${PORT}", "${HOST:x}"},
        {"Listen [::1]", "[::1]", "127.0.0.1"},
        {"Listen ", "", "127.0.0.1"},
    };
    for (const auto& [line, shown, reached] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(shownPortOf(line), shown);
        EXPECT_EQ(reachableAddressOf(line), reached);
    }
    EXPECT_EQ(portOf("# Listen 81\r\nServerName localhost:80\nListen \\\n  8080\r\nListen 443\r\n"), "8080");
    EXPECT_EQ(portOf("#Listen 80\r\n"), "");
    EXPECT_EQ(portOf("#old port\rListen 8090\r\n"), "");
    EXPECT_EQ(reachableAddressOf("#Listen 10.0.0.1:80\r\nListen [fe80::1]:81\r\n"), "fe80::1");
}

TEST(ApacheEdit, FindsDirectivesAsTheFirstWordOfALineThatIsNoComment) {
    const std::vector<std::tuple<std::string, bool, bool>> cases{
        {"Listen 80", true, false},
        {"  listen\t80", true, false},
        {"Listen", true, false},
        {"  # Listen 80", false, false},
        {"Listen80", false, false},
        {"# Change this to Listen on specific IP addresses", false, false},
        {"ServerName localhost:80", false, true},
        {"\tservername   LOCALHOST:8080", false, true},
        {"ServerName \"localhost:80\"", false, true},
        {"ServerName localhost", false, false},
        {"ServerName www.example.com:80", false, false},
    };
    for (const auto& [line, listen, serverName] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(isDirective(line, "Listen"), listen);
        EXPECT_EQ(isServerNameLine(line), serverName);
    }
}

// Ports are numbers: leading zeros aside, as Apache reads them.
TEST(ApacheEdit, APortIsAWholeNumberFrom1To65535InDigitsOnly) {
    for (const std::string_view port : {"1", "80", "8080", "65535", "080", "0000080"})
        EXPECT_TRUE(isPortNumber(port)) << port;
    for (const std::string_view port : {"", "0", "00", "65536", "99999999999999999999", "8o", "+80", " 80", "127.0.0.1:80"})
        EXPECT_FALSE(isPortNumber(port)) << port;
    for (const auto& [a, b, same] : {std::tuple{"80", "080", true}, std::tuple{"08080", "8080", true},
                                     std::tuple{"80", "8080", false}, std::tuple{"${PORT}", "${PORT}", true},
                                     std::tuple{"${PORT}", "80", false}, std::tuple{"", "", true}, std::tuple{"", "0", false}})
        EXPECT_EQ(samePort(a, b), same) << a << " " << b;
}

// Another Listen directive anywhere in the configuration that names the new port as a number,
// whatever its address; the first Listen of the main file is the one the save edits.
TEST(ApacheEdit, FindsAnotherListenDirectiveOfTheWholeConfigurationOnThePort) {
    const std::string main = "C:\\xampp\\apache\\conf\\httpd.conf";
    const std::string ssl = "C:\\xampp\\apache\\conf\\extra\\httpd-ssl.conf";
    const std::string sites = "C:\\xampp\\apache\\conf\\sites\\a\\ports.conf";
    const std::vector<std::tuple<std::string, unsigned, std::optional<std::string>>> cases{
        {"Listen 80\r\nListen 8080\r\r\n", 8080, main + ":2: Listen 8080"},
        {"Listen 80\r\nListen 127.0.0.1:08080 http\r\n", 8080, main + ":2: Listen 127.0.0.1:08080 http"},
        {"Listen 80\r\n#Listen 8080\r\n# x \\\nListen 8080\r\n", 8080, std::nullopt},
        {"Listen 80\r\nInclude conf/extra/httpd-ssl.conf\r\n", 443, ssl + ":3: Listen 443"},
        {"Define SSL 443\r\nListen 80\r\nListen ${SSL}\r\n", 443, main + ":3: Listen 443"},
        {"Listen 443\r\nInclude conf/extra/httpd-ssl.conf\r\n", 443, ssl + ":3: Listen 443"},
        {"Listen 80\r\nListen 80800\r\nListen 8080.1:80\r\nServerName localhost:8080\r\n", 8080, std::nullopt},
        {"Listen 80\r\n", 80, std::nullopt},
        {"Listen 80\r\nIncludeOptional conf/sites/*/ports.conf\r\n", 8443, sites + ":1: Listen 8443"},
    };
    for (const auto& [configuration, port, expected] : cases) {
        SCOPED_TRACE(configuration + " on " + std::to_string(port));
        const testing::ConfigTree tree({{ssl, "# SSL\r\n\r\nListen 443\r\n"}, {sites, "Listen 8443\r\n"}});
        const std::optional<ListenConflict> found = otherListenOn(tree, main, configuration, port);
        EXPECT_EQ(found ? std::optional(found->file + ":" + std::to_string(found->line) + ": " + found->text) : std::nullopt,
                  expected);
    }
}

}  // namespace
}  // namespace velko
