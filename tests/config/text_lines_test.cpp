#include "config/text_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velko {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

struct SplitCase {
    std::string text;
    Lines lines;          // a lone LF stays inside its line
    Lines linesAlsoAtLf;  // a lone LF ends a line
};

const std::vector<SplitCase>& splitCases() {
    static const std::vector<SplitCase> cases{
        {"", {}, {}},
        {"one line", {"one line"}, {"one line"}},
        {"a\r\nb", {"a", "b"}, {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}, {"a", "b"}},
        {"a\rb\r", {"a", "b"}, {"a", "b"}},
        {"a\rb\r\nc", {"a", "b", "c"}, {"a", "b", "c"}},
        {"a\nb\n", {"a\nb\n"}, {"a", "b"}},
        {"a\n\r\nb\n", {"a\n", "b\n"}, {"a", "", "b"}},
        {"\n", {"\n"}, {""}},
        {"\n\n", {"\n\n"}, {"", ""}},
        {"\r\n", {""}, {""}},
        {"\r", {""}, {""}},
        {"\r\n\r\n", {"", ""}, {"", ""}},
        {"\r\r\n", {"", ""}, {"", ""}},
        {"\n\r", {"\n"}, {"", ""}},
        {"a\r\r", {"a", ""}, {"a", ""}},
        {"a\r\n\rb", {"a", "", "b"}, {"a", "", "b"}},
        {"a\rb\nc\r\nd", {"a", "b\nc", "d"}, {"a", "b", "c", "d"}},
        {"  \t x \t\r\n", {"  \t x \t"}, {"  \t x \t"}},
        {"x\0\xff\r\n\x80y\0"s, {"x\0\xff"s, "\x80y\0"s}, {"x\0\xff"s, "\x80y\0"s}},
    };
    return cases;
}

constexpr LineEnds kBothModels[] = {LineEnds::CrLfOrCr, LineEnds::CrLfCrOrLf};

const Lines& expectedLines(const SplitCase& c, LineEnds ends) {
    return ends == LineEnds::CrLfOrCr ? c.lines : c.linesAlsoAtLf;
}

Lines wholeTextLines(std::string_view text, LineEnds ends) {
    Lines lines;
    forEachLineWithTerminator(text, ends, [&lines](std::string_view line, std::string_view) {
        lines.emplace_back(line);
        return true;
    });
    return lines;
}

// Feeds text cut at the given offsets (ascending), an empty chunk after every piece.
Lines splitInChunks(const std::string& text, const std::vector<size_t>& cuts, LineEnds ends = LineEnds::CrLfOrCr) {
    Lines lines;
    const auto collect = [&lines](std::string_view line) {
        lines.emplace_back(line);
        return true;
    };
    LineSplitter splitter(ends);
    size_t from = 0;
    for (size_t cut : cuts) {
        EXPECT_TRUE(splitter.feed(std::string_view(text).substr(from, cut - from), collect));
        EXPECT_TRUE(splitter.feed(std::string_view(), collect));
        from = cut;
    }
    EXPECT_TRUE(splitter.feed(std::string_view(text).substr(from), collect));
    EXPECT_TRUE(splitter.finish(collect));
    return lines;
}

std::string printable(const std::string& text) {
    std::string shown;
    for (unsigned char c : text) {
        if (c == '\r') shown += "<CR>";
        else if (c == '\n') shown += "<LF>";
        else if (c < 32 || c > 126) shown += "<" + std::to_string(c) + ">";
        else shown += static_cast<char>(c);
    }
    return shown;
}

TEST(LineSplitting, WholeTextGivesLinesWithoutTerminators) {
    for (const SplitCase& c : splitCases()) {
        SCOPED_TRACE(printable(c.text));
        for (const LineEnds ends : kBothModels) EXPECT_EQ(wholeTextLines(c.text, ends), expectedLines(c, ends));
    }
}

TEST(LineSplitting, EveryCutIntoTwoChunksGivesTheSameLines) {
    for (const SplitCase& c : splitCases()) {
        for (size_t cut = 0; cut <= c.text.size(); ++cut) {
            SCOPED_TRACE(printable(c.text) + " cut at " + std::to_string(cut));
            for (const LineEnds ends : kBothModels) EXPECT_EQ(splitInChunks(c.text, {cut}, ends), expectedLines(c, ends));
        }
    }
}

TEST(LineSplitting, EveryCutIntoThreeChunksGivesTheSameLines) {
    for (const SplitCase& c : splitCases()) {
        for (size_t first = 0; first <= c.text.size(); ++first) {
            for (size_t second = first; second <= c.text.size(); ++second) {
                SCOPED_TRACE(printable(c.text) + " cut at " + std::to_string(first) + " and " +
                             std::to_string(second));
                for (const LineEnds ends : kBothModels)
                    EXPECT_EQ(splitInChunks(c.text, {first, second}, ends), expectedLines(c, ends));
            }
        }
    }
}

TEST(LineSplitting, OneByteChunksGiveTheSameLines) {
    for (const SplitCase& c : splitCases()) {
        SCOPED_TRACE(printable(c.text));
        std::vector<size_t> cuts;
        for (size_t cut = 1; cut < c.text.size(); ++cut) cuts.push_back(cut);
        for (const LineEnds ends : kBothModels) EXPECT_EQ(splitInChunks(c.text, cuts, ends), expectedLines(c, ends));
    }
}

TEST(LineSplitting, MegabyteLineAcrossManyChunksComesOutWhole) {
    std::string longLine(1 << 20, 'x');
    for (size_t i = 0; i < longLine.size(); i += 4099) longLine[i] = '\n';
    const std::string text = "first\r\n" + longLine + "\r\nlast";
    std::vector<size_t> cuts;
    for (size_t cut = 4096; cut < text.size(); cut += 4096) cuts.push_back(cut);
    EXPECT_EQ(splitInChunks(text, cuts), (Lines{"first", longLine, "last"}));
}

TEST(LineSplitting, StopsAtTheLineThatAsksToStop) {
    Lines seen;
    const bool completed = forEachLine("a\r\nb\rc\r\nd", [&seen](std::string_view line) {
        seen.emplace_back(line);
        return line != "b";
    });
    EXPECT_FALSE(completed);
    EXPECT_EQ(seen, (Lines{"a", "b"}));
}

TEST(LineSplitting, StopsAtAnUnterminatedLastLineThatAsksToStop) {
    int calls = 0;
    EXPECT_FALSE(forEachLine("a\r\nb", [&calls](std::string_view) { return ++calls < 2; }));
    EXPECT_EQ(calls, 2);
}

TEST(LineSplitting, StopsAtALineCompletedAcrossChunks) {
    LineSplitter splitter;
    Lines seen;
    const auto stopAtFirst = [&seen](std::string_view line) {
        seen.emplace_back(line);
        return false;
    };
    EXPECT_TRUE(splitter.feed("ab", stopAtFirst));
    EXPECT_FALSE(splitter.feed("c\r\nd\r\n", stopAtFirst));
    EXPECT_EQ(seen, (Lines{"abc"}));
}

TEST(LineSplitting, WholeTextWalkGivesEachLineWithItsTerminatorAsItStandsInTheText) {
    for (const SplitCase& c : splitCases()) {
        for (const LineEnds ends : kBothModels) {
            SCOPED_TRACE(printable(c.text));
            std::string joined;
            forEachLineWithTerminator(c.text, ends, [&](std::string_view line, std::string_view terminator) {
                EXPECT_TRUE(terminator == "\r\n" || terminator == "\r" || terminator.empty() ||
                            (terminator == "\n" && ends == LineEnds::CrLfCrOrLf));
                EXPECT_EQ(line.data() + line.size(), terminator.data());
                joined.append(line).append(terminator);
                return true;
            });
            EXPECT_EQ(joined, c.text);
        }
    }
}

// Line ends are searched for sixteen bytes at a time: each position in and around a block.
TEST(LineSplitting, FindsLineEndsAtEveryPositionAroundTheSearchBlocks) {
    for (size_t at = 0; at <= 40; ++at) {
        const std::string first(at, 'x');
        const std::string second(40 - at, 'y');
        const std::string text = first + "\r\n" + second + "\rz\nw";
        SCOPED_TRACE(at);
        EXPECT_EQ(wholeTextLines(text, LineEnds::CrLfOrCr), (Lines{first, second, "z\nw"}));
        EXPECT_EQ(splitInChunks(text, {}), (Lines{first, second, "z\nw"}));
        EXPECT_EQ(splitInChunks(text, {}, LineEnds::CrLfCrOrLf), (Lines{first, second, "z", "w"}));
    }
}

struct KeyCase {
    std::string line;
    std::string key;
    bool holds;
};

TEST(KeyMatching, FindsTheKeyAnywhereLetterCaseAsideButNotInComments) {
    const std::vector<KeyCase> cases{
        {"theme = blue", "theme", true},
        {"#theme = red", "theme", false},
        {"  #theme = red", "theme", true},
        {"\t#theme = red", "theme", true},
        {"listen 80", "Listen ", true},
        {"LISTEN 80", "Listen ", true},
        {"  Listen 80", "Listen ", true},
        {"Listen80", "Listen ", false},
        {"#Listen 80", "Listen ", false},
        {"mytheme_dir = x", "theme", true},
        {"Theme\t= Blue", "theme", true},
        {"flvtool_exe\t= C:\\enc_exe\\flvtool2.exe", "enc_exe", true},
        {"enc_exe\t\t= x", "ENC_EXE", true},
        {"the me", "theme", false},
        {"them", "theme", false},
        {"", "theme", false},
        {"XAMPP \xC4", "xampp \xE4", false},
    };
    for (const auto& [line, key, holds] : cases) {
        SCOPED_TRACE("line \"" + line + "\", key \"" + key + "\"");
        EXPECT_EQ(holdsKey(line, key), holds);
    }
}

TEST(KeyMatching, OnlyALeadingHashMakesAComment) {
    EXPECT_TRUE(isCommentLine("#"));
    EXPECT_TRUE(isCommentLine("#Listen 80"));
    EXPECT_FALSE(isCommentLine(""));
    EXPECT_FALSE(isCommentLine(" #Listen 80"));
    EXPECT_FALSE(isCommentLine("\t#Listen 80"));
    EXPECT_FALSE(isCommentLine("Listen 80 # web"));
}

TEST(LetterCase, FoldsAsciiLettersOnly) {
    EXPECT_EQ(asciiLower("AbC xyZ@[`{09"), "abc xyz@[`{09");
    EXPECT_EQ(asciiLower("\xC4\xD6\xDC\xE4"), "\xC4\xD6\xDC\xE4");
    EXPECT_EQ(asciiLower("A\0B"s), "a\0b"s);
}

TEST(LetterCase, EqualityIgnoresAsciiCaseAndNeedsTheWholeText) {
    EXPECT_TRUE(equalsIgnoringCase("Red", "red"));
    EXPECT_TRUE(equalsIgnoringCase("", ""));
    EXPECT_FALSE(equalsIgnoringCase("Red", "reds"));
    EXPECT_FALSE(equalsIgnoringCase("reds", "Red"));
    EXPECT_FALSE(equalsIgnoringCase("red", ""));
    EXPECT_FALSE(equalsIgnoringCase("\xC4", "\xE4"));
    EXPECT_FALSE(equalsIgnoringCase("@", "`"));
}

TEST(LetterCase, ContainmentIgnoresAsciiCase) {
    EXPECT_TRUE(containsIgnoringCase("A Mencoder HQ, 612BR preset", "mencoder hq, 612br"));
    EXPECT_TRUE(containsIgnoringCase("abc", "ABC"));
    EXPECT_TRUE(containsIgnoringCase("abc", ""));
    EXPECT_TRUE(containsIgnoringCase("", ""));
    EXPECT_FALSE(containsIgnoringCase("ab", "abc"));
    EXPECT_FALSE(containsIgnoringCase("", "a"));
    EXPECT_FALSE(containsIgnoringCase("mencoder hq 612br", "mencoder hq, 612br"));
}

TEST(LetterCase, ContainmentFindsThePartAtEveryPositionAroundTheSearchBlocks) {
    for (size_t at = 0; at <= 40; ++at) {
        const std::string before(at, 'l');
        const std::string after(40 - at, 'x');
        SCOPED_TRACE(at);
        EXPECT_TRUE(containsIgnoringCase(before + "lIsTeN " + after, "Listen "));
        EXPECT_TRUE(containsIgnoringCase(before + "LISTEN", "listen"));
        EXPECT_FALSE(containsIgnoringCase(before + "listen" + after, "Listen "));
        EXPECT_FALSE(containsIgnoringCase(before + "liste", "listen"));
    }
}

TEST(ByteSearch, FindsTheFirstByteAtEveryPositionAroundTheSearchBlocks) {
    for (size_t at = 0; at <= 40; ++at) {
        SCOPED_TRACE(at);
        EXPECT_EQ(findByte(std::string(at, 'a') + "\r", '\r'), at);
        EXPECT_EQ(findEitherByte(std::string(at, 'a') + "Lx", 'l', 'L'), at);
    }
}

TEST(LineBreaks, CrOrLfAnywhereIsALineBreak) {
    EXPECT_TRUE(holdsLineBreak("a\rb"));
    EXPECT_TRUE(holdsLineBreak("a\nb"));
    EXPECT_TRUE(holdsLineBreak("\r"));
    EXPECT_TRUE(holdsLineBreak("ab\n"));
    EXPECT_FALSE(holdsLineBreak(""));
    EXPECT_FALSE(holdsLineBreak("a\tb\0c\x8d\x8a"s));
}

}  // namespace
}  // namespace velko
