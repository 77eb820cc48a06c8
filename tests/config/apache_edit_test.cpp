#include "config/apache_edit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velko {
namespace {

using namespace std::string_literals;

const StoredApacheLines kOrdinary{"Listen 80", "ServerName localhost:80"};

std::string edited(std::string_view line, const StoredApacheLines& stored, std::string_view port) {
    std::string out;
    appendEditedApacheLine(out, line, stored, port);
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
    expectEdits({"80:80", ""}, "81", {
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
    expectEdits({"  Listen 80", ""}, "81", {
        {"  Listen 80", "listen 81"},
        {"\t  Listen 80 # web", "\tlisten 81 # web"},
        {"Listen 80", "Listen 80"},
    });
}

TEST(ApacheEdit, EmptyPortWritesTheBareDirective) {
    expectEdits(kOrdinary, "", {
        {"Listen 80", "listen "},
        {"ServerName localhost:80", "ServerName localhost:"},
    });
}

TEST(ApacheEdit, PortIsWrittenAsItStands) {
    expectEdits(kOrdinary, " 8 0 #\t", {{"Listen 80", "listen  8 0 #\t"}});
}

TEST(ApacheEdit, EmptyStoredLineChangesNothingAndStandsNowhere) {
    expectEdits({"", "ServerName localhost:80"}, "81", {
        {"Listen 80", "Listen 80"},
        {"ServerName localhost:80", "ServerName localhost:81"},
        {"", ""},
    });
    expectEdits({"Listen 80", ""}, "81", {
        {"ServerName localhost:80", "ServerName localhost:80"},
        {"Listen 80", "listen 81"},
    });
    expectEdits({"", ""}, "81", {
        {"Listen 80", "Listen 80"},
        {"ServerName localhost:80", "ServerName localhost:80"},
    });
}

TEST(ApacheEdit, AppendsAfterWhatTheBufferHolds) {
    std::string out = "before\r\n";
    appendEditedApacheLine(out, "Listen 80", kOrdinary, "81");
    appendEditedApacheLine(out, "Other", kOrdinary, "81");
    EXPECT_EQ(out, "before\r\nlisten 81Other");
}

TEST(StoredLinesAfterSave, AreTheLinesTheSaveWrote) {
    const StoredApacheLines after = linesAfterSave(kOrdinary, "81");
    EXPECT_EQ(after.listen, "listen 81");
    EXPECT_EQ(after.serverName, "ServerName localhost:81");
}

TEST(StoredLinesAfterSave, EmptyStoredLinesStayEmpty) {
    const StoredApacheLines after = linesAfterSave({"", "ServerName localhost:80"}, "81");
    EXPECT_EQ(after.listen, "");
    EXPECT_EQ(after.serverName, "ServerName localhost:81");
    EXPECT_EQ(linesAfterSave({"Listen 80", ""}, "81").serverName, "");
}

TEST(StoredLinesAfterSave, EmptyPortGivesTheBareDirectives) {
    const StoredApacheLines after = linesAfterSave(kOrdinary, "");
    EXPECT_EQ(after.listen, "listen ");
    EXPECT_EQ(after.serverName, "ServerName localhost:");
}

TEST(StoredLinesAfterSave, LetASecondSaveApplyItsPort) {
    const std::vector<std::string> file{"Listen 80", "ServerName localhost:80", "Listen 8080"};
    const StoredApacheLines afterFirst = linesAfterSave(kOrdinary, "81");
    std::vector<std::string> second;
    for (const auto& line : file) {
        second.push_back(edited(edited(line, kOrdinary, "81"), afterFirst, "82"));
    }
    EXPECT_EQ(second,
              (std::vector<std::string>{"listen 82", "ServerName localhost:82", "Listen 8080"}));
}

}  // namespace
}  // namespace velko
