// The file module on real files: line ends, comments, keys, bytes, chunk boundaries, handles,
// the first-file test and whole-file replacement.
#include "config/mod_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "win/failure.h"
#include "config/replacement_file.h"
#include "current_directory.h"
#include "temp_installation.h"

namespace velko::testing {
namespace {

using namespace std::string_literals;

constexpr size_t kReadChunk = 64 * 1024;

// Nobody else has the file open: it opens without sharing, and it can be deleted.
void expectFileFree(const std::string& path) {
    const HANDLE exclusive = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE) << "still open: " << path;
    if (exclusive != INVALID_HANDLE_VALUE) CloseHandle(exclusive);
    EXPECT_TRUE(DeleteFileA(path.c_str())) << "cannot delete " << path;
}

void setAttributes(const std::string& path, DWORD attributes) {
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes)) << path;
}

int failureNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Failure& failure) {
        return failure.number();
    }
    return 0;
}

class ModFile : public ::testing::Test {
protected:
    // Writes the bytes to a file of the scratch directory and gives its full path.
    std::string file(std::string_view name, std::string_view bytes) const {
        scratch.write(name, bytes);
        return scratch.path(name);
    }

    TempDirectory scratch;
};

// GetLineWithKey

struct KeyCase {
    const char* what;
    std::string content;
    std::string key;
    std::string line;
};

TEST_F(ModFile, GetLineWithKeyReturnsTheFirstQualifyingLineUnchanged) {
    const std::vector<KeyCase> cases{
        {"CR LF ends a line", "a = 1\r\ntheme = red\r\nz\r\n", "theme", "theme = red"},
        {"a lone CR ends a line", "a = 1\rtheme = red\rz", "theme", "theme = red"},
        {"a lone LF stays inside the line", "one\ntheme = red\r\nx\r\n", "theme", "one\ntheme = red"},
        {"an LF-only file is one line", "a\nb\ntheme\n", "b", "a\nb\ntheme\n"},
        {"a last line without terminator is read", "a\r\ntheme = red", "theme", "theme = red"},
        {"a last line ended by a lone CR", "a\r\ntheme = red\r", "theme", "theme = red"},
        {"empty lines are passed over", "\r\n\r\n\rtheme", "theme", "theme"},
        {"a comment line is passed over", "#theme = red\r\ntheme = blue\r\n", "theme", "theme = blue"},
        {"blanks before # make no comment", "  #theme = red\r\ntheme = blue\r\n", "theme", "  #theme = red"},
        {"a TAB before # makes no comment", "\t#theme = red\r\n", "theme", "\t#theme = red"},
        {"key letter case is ignored", "THEME = Red\r\n", "theme", "THEME = Red"},
        {"line letter case is ignored", "theme = red\r\n", "ThEmE", "theme = red"},
        {"the key may stand inside a word", "mytheme_dir = x\r\ntheme = y\r\n", "theme", "mytheme_dir = x"},
        {"the key may stand inside a value", "a = the theme\r\ntheme = y\r\n", "theme", "a = the theme"},
        {"Listen  matches listen 80", "Listen80\r\n#Listen 80\r\nlisten 80\r\n", "Listen ", "listen 80"},
        {"Listen  matches LISTEN 80", "LISTEN 80\r\n", "Listen ", "LISTEN 80"},
        {"Listen  matches an indented line", "#Listen 80\r\n  Listen 80\r\n", "Listen ", "  Listen 80"},
        {"Listen  matches neither Listen80 nor #Listen 80", "Listen80\r\n#Listen 80\r\n", "Listen ", ""},
        {"blanks round the line are kept", "  theme = red  \r\n", "theme", "  theme = red  "},
        {"bytes above 127, NUL and TAB are kept", "k\t= \xe9\xff\x80\0\tv\x7f\r\nk = 2\r\n"s, "k",
         "k\t= \xe9\xff\x80\0\tv\x7f"s},
        {"a NUL does not end the line", "a\0theme = x\r\n"s, "theme", "a\0theme = x"s},
        {"reading stops at the first match", "theme = 1\r\ntheme = 2\r\n", "theme", "theme = 1"},
        {"no line holds the key", "a = 1\r\nb = 2\r\n", "theme", ""},
        {"the key only in a comment", "#theme = 1\r\n", "theme", ""},
        {"an empty file", "", "theme", ""},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(GetLineWithKey(file("lines.txt", c.content), c.key), c.line);
    }
}

TEST_F(ModFile, GetLineWithKeyReadsLinesLongerThanTheReadChunk) {
    const std::string longLine = std::string(3 * kReadChunk + 17, 'x') + " theme = long " + std::string(100, 'y');
    const std::string path = file("long.txt", "first\r\n" + longLine + "\r\nlast theme\r\n");
    EXPECT_EQ(GetLineWithKey(path, "theme"), longLine);
    EXPECT_EQ(GetLineWithKey(path, "last"), "last theme");
}

TEST_F(ModFile, GetLineWithKeyJoinsLinesAcrossTheReadChunkBoundary) {
    const std::string beforeBoundary(kReadChunk - 1, 'a');  // its CR is the chunk's last byte
    const std::vector<KeyCase> cases{
        {"CR LF split across the boundary", beforeBoundary + "\r\ntheme = x\r\n", "theme", "theme = x"},
        {"lone CR as the chunk's last byte", beforeBoundary + "\rtheme = x", "theme", "theme = x"},
        {"a line ending at the boundary", std::string(kReadChunk - 6, 'a') + "theme\r\nnext", "theme",
         std::string(kReadChunk - 6, 'a') + "theme"},
        {"the key split by the boundary", std::string(kReadChunk - 4, 'a') + "\r\ntheme = y\r\n", "theme",
         "theme = y"},
        {"CR as the last byte of the file", beforeBoundary + "\r", "a", beforeBoundary},
        {"an LF at the boundary stays", beforeBoundary + "\ntheme", "theme", beforeBoundary + "\ntheme"},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(GetLineWithKey(file("boundary.txt", c.content), c.key), c.line);
    }
}

TEST_F(ModFile, GetLineWithKeyOnAMissingFileIsFailure53) {
    EXPECT_EQ(failureNumberOf([&] { GetLineWithKey(scratch.path("missing.txt"), "theme"); }), 53);
    EXPECT_EQ(failureNumberOf([&] { GetLineWithKey(scratch.path("no dir\\missing.txt"), "theme"); }), 53);
}

TEST_F(ModFile, GetLineWithKeyLeavesNoHandleOpen) {
    const std::string found = file("found.txt", "theme = 1\r\n" + std::string(3 * kReadChunk, 'z'));
    EXPECT_EQ(GetLineWithKey(found, "theme"), "theme = 1");
    expectFileFree(found);

    const std::string notFound = file("not found.txt", "a\r\nb\r\n");
    EXPECT_EQ(GetLineWithKey(notFound, "theme"), "");
    expectFileFree(notFound);

    // A file that another program holds without sharing cannot be opened.
    const std::string held = file("held.txt", "theme = 1\r\n");
    const HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(failureNumberOf([&] { GetLineWithKey(held, "theme"); }), 53);
    CloseHandle(holder);
    expectFileFree(held);
}

// AppendLine

TEST_F(ModFile, AppendLineCreatesAMissingFileWithOneLine) {
    const std::string path = scratch.path("new.txt");
    AppendLine(path, "theme\t\t= red");
    EXPECT_EQ(scratch.read("new.txt"), "theme\t\t= red\r\n");
}

TEST_F(ModFile, AppendLineAddsLinesAtTheEndInCallOrder) {
    const std::string path = file("old.txt", "one\r\ntwo\r\n");
    AppendLine(path, "three");
    AppendLine(path, "four");
    EXPECT_EQ(scratch.read("old.txt"), "one\r\ntwo\r\nthree\r\nfour\r\n");
}

TEST_F(ModFile, AppendLineWritesEveryByteOfTheLine) {
    const std::string line = "k\t= \xe9\xff\0\x80 "s;
    AppendLine(scratch.path("bytes.txt"), line);
    EXPECT_EQ(scratch.read("bytes.txt"), line + "\r\n");
}

TEST_F(ModFile, AppendLineEmptiesAHiddenOrSystemFileAndWritesItsLine) {
    for (const DWORD attribute : {DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_SYSTEM}}) {
        SCOPED_TRACE(attribute);
        const std::string path = file("kept.txt", "old line\r\nanother\r\n");
        setAttributes(path, attribute);
        AppendLine(path, "new line");
        EXPECT_EQ(scratch.read("kept.txt"), "new line\r\n");
        setAttributes(path, FILE_ATTRIBUTE_NORMAL);
        scratch.remove("kept.txt");
    }
}

TEST_F(ModFile, AppendLineFailsOnALockedFileAndLeavesItAsItWas) {
    const std::string path = file("locked.txt", "old\r\n");
    const HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_NE(failureNumberOf([&] { AppendLine(path, "new"); }), 0);
    CloseHandle(holder);
    EXPECT_EQ(scratch.read("locked.txt"), "old\r\n");
    expectFileFree(path);
}

TEST_F(ModFile, AppendLineFailsInAMissingDirectory) {
    EXPECT_NE(failureNumberOf([&] { AppendLine(scratch.path("no dir\\new.txt"), "x"); }), 0);
    EXPECT_FALSE(scratch.exists("no dir"));
}

TEST_F(ModFile, AppendLineLeavesNoHandleOpen) {
    const std::string path = scratch.path("appended.txt");
    AppendLine(path, "x");
    AppendLine(path, "y");
    expectFileFree(path);
}

// The first-file test

class FirstFileTest : public ModFile {
protected:
    FirstFileTest() {
        scratch.write("files\\a.txt", "a");
        scratch.write("files\\b.log", "b");
        scratch.write("subdirs\\inner\\x.txt", "x");
        scratch.makeDirectory("empty");
        scratch.write("hidden\\h.txt", "h");
        scratch.write("system\\s.txt", "s");
        scratch.write("mixed\\h.txt", "h");
        scratch.write("mixed\\o.txt", "o");
        setAttributes(scratch.path("hidden\\h.txt"), FILE_ATTRIBUTE_HIDDEN);
        setAttributes(scratch.path("system\\s.txt"), FILE_ATTRIBUTE_SYSTEM);
        setAttributes(scratch.path("mixed\\h.txt"), FILE_ATTRIBUTE_HIDDEN);
    }
};

struct PatternCase {
    std::string pattern;  // below the scratch directory
    bool passes;
};

TEST_F(FirstFileTest, PassesOnlyForPatternsThatFindAnOrdinaryFile) {
    const std::vector<PatternCase> cases{
        {"files\\a.txt", true},
        {"files\\*.txt", true},
        {"files\\?.log", true},
        {"files\\a.*", true},
        {"files\\*", true},
        {"files\\*.doc", false},
        {"files\\??.txt", false},
        {"files\\missing.txt", false},
        {"files", false},  // a directory without its trailing "\"
        {"files\\", true},
        {"subdirs", false},
        {"subdirs\\", false},  // only a subdirectory
        {"subdirs\\*", false},
        {"subdirs\\inner\\", true},
        {"empty\\", false},
        {"missing\\", false},
        {"missing", false},
        {"hidden\\h.txt", false},
        {"hidden\\", false},
        {"system\\s.txt", false},
        {"system\\", false},
        {"mixed\\", true},
        {"mixed\\h.txt", false},
        {"*", false},  // the scratch directory holds only directories
    };
    for (const PatternCase& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(FirstFileExists(scratch.path(c.pattern)), c.passes);
    }
}

TEST_F(FirstFileTest, TheEmptyTextSearchesTheCurrentDirectory) {
    const std::vector<PatternCase> cases{
        {"files", true}, {"subdirs", false}, {"empty", false}, {"hidden", false}, {"mixed", true}};
    for (const PatternCase& c : cases) {
        SCOPED_TRACE(c.pattern);
        const CurrentDirectory current(scratch.path(c.pattern));
        ASSERT_TRUE(current.changed());
        EXPECT_EQ(FirstFileExists(""), c.passes);
    }
}

// Replacing files together

class Replacement : public ModFile {
protected:
    Replacement() { scratch.write("dir\\target.txt", kOld); }
    std::string target() const { return scratch.path("dir\\target.txt"); }
    std::vector<std::string> listing() const { return scratch.list("dir"); }
    void replace(const std::vector<FileReplacement>& files) const { replaceTogether(files, scratch.path("journal")); }

    static constexpr std::string_view kOld = "old one\r\nold two\r\nold three\r\n";
};

TEST_F(Replacement, PutsTheNewContentInPlaceWhole) {
    replace({{target(), "new\r\n"}});
    EXPECT_EQ(scratch.read("dir\\target.txt"), "new\r\n");
    EXPECT_EQ(listing(), std::vector<std::string>{"target.txt"});
}

TEST_F(Replacement, CreatesAMissingTarget) {
    replace({{scratch.path("dir\\new.txt"), "first\r\nsecond\r\n"}});
    EXPECT_EQ(scratch.read("dir\\new.txt"), "first\r\nsecond\r\n");
    EXPECT_EQ(listing(), (std::vector<std::string>{"new.txt", "target.txt"}));
}

TEST_F(Replacement, ATargetThatFailsLeavesTheOthersAndNoFileMade) {
    EXPECT_NE(failureNumberOf([&] { replace({{target(), "half written"}, {scratch.path("missing\\t.txt"), ""}}); }), 0);
    EXPECT_EQ(scratch.read("dir\\target.txt"), kOld);
    EXPECT_EQ(listing(), std::vector<std::string>{"target.txt"});
}

TEST_F(Replacement, RefusesAReadOnlyTargetBeforeReplacing) {
    setAttributes(target(), FILE_ATTRIBUTE_READONLY);
    EXPECT_NE(failureNumberOf([&] { replace({{target(), "new"}}); }), 0);
    EXPECT_EQ(listing(), std::vector<std::string>{"target.txt"});
    setAttributes(target(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(scratch.read("dir\\target.txt"), kOld);
}

// A file that only bears the name of an old or new content was not made by a replacement: it
// stays, and stops none.
TEST_F(Replacement, RefusesADirectoryAndAMissingDirectoryButNoFileOfATemporarysName) {
    scratch.makeDirectory("dir\\sub");
    scratch.write("dir\\target.txt.velko-old", "kept by hand");
    scratch.makeDirectory("dir\\target.txt.velko-new");
    EXPECT_NE(failureNumberOf([&] { replace({{scratch.path("dir\\sub"), ""}}); }), 0);
    EXPECT_NE(failureNumberOf([&] { replace({{scratch.path("missing\\target.txt"), ""}}); }), 0);
    EXPECT_EQ(listing(), (std::vector<std::string>{"sub", "target.txt", "target.txt.velko-new", "target.txt.velko-old"}));
    EXPECT_EQ(scratch.read("dir\\target.txt"), kOld);
    replace({{target(), "new"}});
    EXPECT_EQ(listing(), (std::vector<std::string>{"sub", "target.txt", "target.txt.velko-new", "target.txt.velko-old"}));
    EXPECT_EQ(scratch.read("dir\\target.txt"), "new");
    EXPECT_EQ(scratch.read("dir\\target.txt.velko-old"), "kept by hand");
    EXPECT_FALSE(scratch.exists("missing"));
}

}  // namespace
}  // namespace velko::testing
