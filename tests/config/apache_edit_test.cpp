#include "config/apache_edit.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace velko {
namespace {

using namespace std::string_literals;

const StoredApacheLines kOrdinary{"Listen 80", "ServerName localhost:80", "80"};

std::string edited(std::string_view line, const StoredApacheLines& stored, std::string_view port) {
    std::string out;
    appendEditedApacheLine(out, line, stored, editedApacheLines(stored, port));
    return out;
}

struct EditCase {
    std::string line;
    std::string expected;
};

void expectEdits(const StoredApacheLines& stored, std::string_view port,
                 const std::vector<EditCase>& cases) {
    for (const auto& [line, expected] : cases) {
        SCOPED_TRACE("\"" + line + "\" with listen \"" + stored.listen + "\", server name \"" +
                     stored.serverName + "\", port \"" + std::string(port) + "\"");
        EXPECT_EQ(edited(line, stored, port), expected);
        EXPECT_EQ(editsApacheLine(line, stored), expected != line);
    }
}

TEST(ApacheEdit, ReplacesTheStoredLinesWithDirectiveAndPort) {
    expectEdits(kOrdinary, "8080", {
        {"Listen 80", "listen 8080"},
        {"ServerName localhost:80", "ServerName localhost:8080"},
        {"#Listen 80", "#listen 8080"},
        {"#ServerName localhost:80", "#ServerName localhost:8080"},
        {"Listen 80 # web", "listen 8080 # web"},
        {"Listen 80\t# web", "listen 8080\t# web"},
        {"Listen 80#web", "listen 8080#web"},
        {"  Listen 80", "  listen 8080"},
        {"\xffListen 80 \x80\0"s, "\xfflisten 8080 \x80\0"s},
    });
}

TEST(ApacheEdit, ReplacesEveryStandingOccurrence) {
    expectEdits(kOrdinary, "81", {
        {"Listen 80 Listen 80", "listen 81 listen 81"},
        {"Listen 8080 Listen 80", "Listen 8080 listen 81"},
        {"Listen 80Listen 80", "Listen 80listen 81"},
    });
}

TEST(ApacheEdit, FindsAStandingOccurrenceThatOverlapsAContinuedOne) {
    expectEdits({"80:80", "", ""}, "81", {
        {"80:80:80", "80:listen 81"},
        {"80:80:80:80 #", "80:80:listen 81 #"},
    });
}

TEST(ApacheEdit, LineWithBothStoredLinesTakesOnlyTheListenBranch) {
    expectEdits(kOrdinary, "81", {
        {"Listen 80 ServerName localhost:80", "listen 81 ServerName localhost:80"},
        {"ServerName localhost:80 Listen 80", "ServerName localhost:80 listen 81"},
        {"Listen 8080 ServerName localhost:80", "Listen 8080 ServerName localhost:81"},
    });
}

TEST(ApacheEdit, LeavesLinesWhereTheStoredLineDoesNotStandAsAToken) {
    expectEdits(kOrdinary, "81", {
        {"Listen 8080", "Listen 8080"},
        {"Listen 80.1:8000", "Listen 80.1:8000"},
        {"Listen 80:80", "Listen 80:80"},
        {"ServerName localhost:8080", "ServerName localhost:8080"},
        {"listen 80", "listen 80"},
        {"Listen  80", "Listen  80"},
        {"Listen 80\0"s, "Listen 80\0"s},
        {"DocumentRoot \"C:/xampp/htdocs\"", "DocumentRoot \"C:/xampp/htdocs\""},
        {"", ""},
    });
}

TEST(ApacheEdit, IndentedStoredLineIsReplacedWhole) {
    expectEdits({"  Listen 80", "", "80"}, "81", {
        {"  Listen 80", "listen 81"},
        {"\t  Listen 80 # web", "\tlisten 81 # web"},
        {"Listen 80", "Listen 80"},
    });
}

struct ListenCase {
    std::string line;
    std::string shownPort;
    std::string savedWith8080;
};

// Listen [address:]port [protocol]: the field shows the port, a save replaces only the port.
TEST(ApacheEdit, ShowsAndReplacesOnlyThePortOfTheListenArgument) {
    const std::vector<ListenCase> cases{
        {"Listen 80", "80", "listen 8080"},
        {"  Listen\t80", "80", "listen 8080"},
        {"LISTEN 80 # web", "80", "listen 8080 # web"},
        {"Listen 127.0.0.1:80", "80", "listen 127.0.0.1:8080"},
        {"Listen [::]:80 http", "80", "listen [::]:8080 http"},
        {"Listen [2001:db8::a00:20ff:fea7:ccea]:443\thttps", "443", "listen [2001:db8::a00:20ff:fea7:ccea]:8080\thttps"},
        {"Listen ${PORT}", "${PORT}", "listen 8080"},
        {"Listen 127.0.0.1:${PORT} http", "127.0.0.1:${PORT}", "listen 8080 http"},
        {"Listen [::1]", "[::1]", "listen 8080"},
        {"Listen ", "", "listen 8080"},
    };
    for (const auto& [line, shown, saved] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(shownPortOf(line), shown);
        EXPECT_EQ(editedApacheLines({line, "", shown}, "8080").listen, saved);
    }
}

TEST(ApacheEdit, FindsDirectivesAsTheFirstWordOfALineThatIsNoComment) {
    const std::vector<std::tuple<std::string, bool, bool>> cases{
        {"Listen 80", true, false},
        {"  listen\t80", true, false},
        {"  # Listen 80", false, false},
        {"Listen80", false, false},
        {"# Change this to Listen on specific IP addresses", false, false},
        {"ServerName localhost:80", false, true},
        {"\tservername   LOCALHOST:8080", false, true},
        {"ServerName localhost", false, false},
        {"ServerName www.example.com:80", false, false},
    };
    for (const auto& [line, listen, serverName] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(isListenLine(line), listen);
        EXPECT_EQ(isServerNameLine(line), serverName);
    }
}

TEST(ApacheEdit, APortIsAWholeNumberFrom1To65535InDigitsOnly) {
    for (const std::string_view port : {"1", "80", "8080", "65535", "080"}) EXPECT_TRUE(isPortNumber(port)) << port;
    for (const std::string_view port : {"", "0", "65536", "99999999999999999999", "8o", "+80", " 80", "127.0.0.1:80"})
        EXPECT_FALSE(isPortNumber(port)) << port;
}

TEST(ApacheEdit, PortIsWrittenAsItStands) {
    expectEdits(kOrdinary, " 8 0 #\t", {{"Listen 80", "listen  8 0 #\t"}});
}

TEST(ApacheEdit, EmptyStoredLineChangesNothingAndStandsNowhere) {
    expectEdits({"", "ServerName localhost:80", ""}, "81", {
        {"Listen 80", "Listen 80"},
        {"ServerName localhost:80", "ServerName localhost:81"},
        {"", ""},
    });
    expectEdits({"Listen 80", "", "80"}, "81", {
        {"ServerName localhost:80", "ServerName localhost:80"},
        {"Listen 80", "listen 81"},
    });
    expectEdits({"", "", ""}, "81", {
        {"Listen 80", "Listen 80"},
        {"ServerName localhost:80", "ServerName localhost:80"},
    });
}

TEST(ApacheEdit, AppendsAfterWhatTheBufferHolds) {
    std::string out = "before\r\n";
    const StoredApacheLines after = editedApacheLines(kOrdinary, "81");
    appendEditedApacheLine(out, "Listen 80", kOrdinary, after);
    appendEditedApacheLine(out, "Other", kOrdinary, after);
    EXPECT_EQ(out, "before\r\nlisten 81Other");
}

// A second Listen line on the new port, which the edit leaves alone, is found whatever its
// address and line end; commented lines, lines the edit changes and other ports are not.
TEST(ApacheEdit, FindsAnotherListenLineOnTheNewPort) {
    const std::vector<std::tuple<std::string, std::string, std::optional<std::string>>> cases{
        {"Listen 80\r\nListen 8080\r\n", "8080", "Listen 8080"},
        {"Listen 80\rX\r  listen 127.0.0.1:8080 http\rY", "8080", "  listen 127.0.0.1:8080 http"},
        {"Listen [::]:8080\nListen 80\n", "8080", "Listen [::]:8080"},
        {"Listen 80\r\n#Listen 8080\r\n  # Listen 8080\r\n", "8080", std::nullopt},
        {"Listen 80\r\nListen 80 # again\r\n", "80", std::nullopt},
        {"Listen 80\r\nListen 80800\r\nListen 8080.1:80\r\nServerName localhost:8080\r\n", "8080", std::nullopt},
    };
    for (const auto& [configuration, port, expected] : cases) {
        SCOPED_TRACE(configuration + " on " + port);
        const std::optional<std::string_view> found = otherListenLineOn(configuration, kOrdinary, port);
        EXPECT_EQ(found ? std::optional<std::string>(*found) : std::nullopt, expected);
    }
    EXPECT_EQ(otherListenLineOn("Listen 80\r\n", {"", "ServerName localhost:81", "81"}, "80"), "Listen 80");
}

TEST(StoredLinesAfterSave, AreTheLinesTheSaveWroteAndItsPort) {
    const StoredApacheLines after = editedApacheLines(kOrdinary, "81");
    EXPECT_EQ(after.listen, "listen 81");
    EXPECT_EQ(after.serverName, "ServerName localhost:81");
    EXPECT_EQ(after.port, "81");
}

TEST(StoredLinesAfterSave, EmptyStoredLinesStayEmpty) {
    const StoredApacheLines after = editedApacheLines({"", "ServerName localhost:80", ""}, "81");
    EXPECT_EQ(after.listen, "");
    EXPECT_EQ(after.serverName, "ServerName localhost:81");
    EXPECT_EQ(editedApacheLines({"Listen 80", "", "80"}, "81").serverName, "");
}

TEST(StoredLinesAfterSave, LetASecondSaveApplyItsPort) {
    const std::vector<std::string> file{"Listen 80", "ServerName localhost:80", "Listen 8080"};
    const StoredApacheLines afterFirst = editedApacheLines(kOrdinary, "81");
    std::vector<std::string> second;
    for (const auto& line : file) {
        second.push_back(edited(edited(line, kOrdinary, "81"), afterFirst, "82"));
    }
    EXPECT_EQ(second,
              (std::vector<std::string>{"listen 82", "ServerName localhost:82", "Listen 8080"}));
}

}  // namespace
}  // namespace velko
