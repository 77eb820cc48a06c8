#include "config/apache_config.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config_tree.h"

namespace velko {
namespace {

using Texts = std::vector<std::string>;

constexpr char kMain[] = "C:\\xampp\\apache\\conf\\httpd.conf";

// The Listen directives of the whole configuration as "file:line: text", the files below the
// main file's server root named from there.
Texts listensOf(const testing::ConfigTree& tree) {
    Texts listens;
    forEachDirective(tree, kMain, *tree.read(kMain, kMaxConfigBytes), [&](const std::string& file, const ConfigLine& line) {
        constexpr std::string_view root = "C:\\xampp\\apache\\";
        const std::string shown = file.compare(0, root.size(), root) == 0 ? file.substr(root.size()) : file;
        if (isDirective(line.text, "Listen")) listens.push_back(shown + ":" + std::to_string(line.number) + ": " + std::string(line.text));
        return true;
    });
    return listens;
}

struct IncludeCase {
    const char* what;
    testing::ConfigTree::Files files;  // the main file among them
    Texts listens;
    testing::ConfigTree::Links links = {};
};

TEST(ApacheConfig, ReadsEveryIncludedFileInPlaceAsApacheDoes) {
    const std::string extra = "C:\\xampp\\apache\\conf\\extra\\";
    const std::string sites = "C:\\xampp\\apache\\conf\\sites\\", conf = "C:\\xampp\\apache\\conf";
    const std::vector<IncludeCase> cases{
        {"Include relative to the server root, quoted or not",
         {{kMain, "ServerRoot \"C:/xampp/apache\"\nListen 80\nInclude \"conf/extra/ssl.conf\"\nListen 81\ninclude conf\\extra\\b\n"},
          {extra + "ssl.conf", "Listen 443\n"}, {extra + "b", "Listen 2"}},
         {"conf\\httpd.conf:2: Listen 80", "conf\\extra\\ssl.conf:1: Listen 443", "conf\\httpd.conf:4: Listen 81",
          "conf\\extra\\b:1: Listen 2"}},
        {"a wildcard takes the matching files in sorted order, letter case aside, hidden ones aside",
         {{kMain, "INCLUDEOPTIONAL conf/extra/*.CONF"}, {extra + "b.conf", "Listen 2"}, {extra + "a.conf", "Listen 1"},
          {extra + "c.txt", "Listen 3"}, {extra + ".old.conf", "Listen 4"}, {extra + "a?.conf", "Listen 5"}},
         {"conf\\extra\\a.conf:1: Listen 1", "conf\\extra\\a?.conf:1: Listen 5", "conf\\extra\\b.conf:1: Listen 2"}},
        {"a directory takes all of its files, its directories' too",
         {{kMain, "Include conf/extra/"}, {extra + "x", "Listen 1"}, {extra + "sub\\y", "Listen 2"}},
         {"conf\\extra\\sub\\y:1: Listen 2", "conf\\extra\\x:1: Listen 1"}},
        {"a server root from a variable defined before",
         {{kMain, "Define SRVROOT \"C:/Apache24\"\nServerRoot \"${SRVROOT}\"\nInclude conf/ssl.conf"},
          {"C:\\Apache24\\conf\\ssl.conf", "Listen 443"}, {"C:\\xampp\\apache\\conf\\ssl.conf", "Listen 1"}},
         {"C:\\Apache24\\conf\\ssl.conf:1: Listen 443"}},
        {"a path without a drive lies on the main file's drive",
         {{kMain, "ServerRoot \"/srv/apache\"\nInclude conf/a.conf\nInclude /b.conf"},
          {"C:\\srv\\apache\\conf\\a.conf", "Listen 1"}, {"C:\\b.conf", "Listen 2"}},
         {"C:\\srv\\apache\\conf\\a.conf:1: Listen 1", "C:\\b.conf:1: Listen 2"}},
        {"an absolute path with a drive",
         {{kMain, "Include \"D:/other/ssl.conf\""}, {"D:\\other\\ssl.conf", "Listen 443"}}, {"D:\\other\\ssl.conf:1: Listen 443"}},
        {"a server root that does not exist is the folder above conf",
         {{kMain, "ServerRoot \"C:/moved/apache\"\nInclude conf/extra/ssl.conf"}, {extra + "ssl.conf", "Listen 443"}},
         {"conf\\extra\\ssl.conf:1: Listen 443"}},
        {"a missing file, a pattern without match and an unreadable file end their branch only",
         {{kMain, "Include conf/missing.conf\nIncludeOptional conf/none/*.conf\nInclude conf/extra/locked.conf\nListen 80"},
          {extra + "locked.conf", std::nullopt}},
         {"conf\\httpd.conf:4: Listen 80"}},
        {"a file that includes itself, or the main file, is read once",
         {{kMain, "Include conf/extra/loop.conf\nListen 80"}, {extra + "loop.conf", "Listen 1\nInclude conf/extra/loop.conf\nInclude conf/httpd.conf"}},
         {"conf\\extra\\loop.conf:1: Listen 1", "conf\\httpd.conf:2: Listen 80"}},
        {"variables from the Define lines read before, in included files too",
         {{kMain, "Listen ${P}\nDefine P 8080\nInclude conf/extra/p.conf\nUnDefine P\nListen ${P}"}, {extra + "p.conf", "Listen ${P}"}},
         {"conf\\httpd.conf:1: Listen ${P}", "conf\\extra\\p.conf:1: Listen 8080", "conf\\httpd.conf:5: Listen ${P}"}},
        {"continued lines, comments included, counted from their first line; a line ends only at LF",
         {{kMain, "Listen \\\n  80\n# old \\\nListen 81\nInclude \\\r\n 'conf/my extra/a.conf'\r\n#old\rListen 83\nListen\t84 \\\\\n"},
          {"C:\\xampp\\apache\\conf\\my extra\\a.conf", "Listen 82 \\\n  http \\\n"}},
         {"conf\\httpd.conf:1: Listen   80", "conf\\my extra\\a.conf:1: Listen 82   http ",
          "conf\\httpd.conf:8: Listen\t84 \\"}},
        {"a folder reached again, through a link or otherwise, is passed over",
         {{kMain, "Include conf/extra/\nInclude conf/extra\nListen 80"}, {extra + "a.conf", "Listen 1"}},
         {"conf\\extra\\a.conf:1: Listen 1", "conf\\httpd.conf:3: Listen 80"},
         {{extra + "up", "C:\\xampp\\apache\\conf\\extra"}, {extra + "up2", "C:\\xampp\\apache\\conf\\extra"}}},
        {"wildcards in folder names take the matching folders in sorted order",
         {{kMain, "IncludeOptional conf/sites/*/ports.conf\nInclude conf/*/s?/*.conf"}, {sites + "b\\ports.conf", "Listen 2"},
          {sites + "a\\ports.conf", "Listen 1"}, {sites + "a\\x.conf", "Listen 3"}, {sites + ".h\\ports.conf", "Listen 4"},
          {sites + "c", "Listen 5"}, {"C:\\xampp\\apache\\conf\\other\\s1\\y.conf", "Listen 6"}},
         {"conf\\sites\\a\\ports.conf:1: Listen 1", "conf\\sites\\b\\ports.conf:1: Listen 2",
          "conf\\other\\s1\\y.conf:1: Listen 6"}},
        {"network paths, device paths and device names are never opened",
         {{kMain, "Include //host/share/a.conf\nInclude \\\\host\\share\\*.conf\nInclude //?/UNC/host/share/a.conf\n"
                  "Include //./C:/d.conf\nInclude conf/NUL\nInclude conf/com1.conf\nInclude //?/C:/e.conf\nListen 80"},
          {"\\\\host\\share\\a.conf", "Listen 1"}, {"\\\\?\\UNC\\host\\share\\a.conf", "Listen 2"}, {"\\\\.\\C:\\d.conf", "Listen 3"},
          {conf + "\\NUL", "Listen 4"}, {conf + "\\com1.conf", "Listen 5"}, {"\\\\?\\C:\\e.conf", "Listen 6"}},
         {"\\\\?\\C:\\e.conf:1: Listen 6", "conf\\httpd.conf:8: Listen 80"}},
        {"a tree that links back into itself ends within the bounds, the main file read to its end",
         {{kMain, "Include conf/*/*/*/*/*/*/*/*/*/*/*/*/*/*/*/*/*/*/*/*/*/*/*/*/x\nListen 80"}},
         {"conf\\httpd.conf:2: Listen 80"}, {{conf + "\\l1", conf}, {conf + "\\l2", conf}}},
        {"a file larger than the bytes left to read is passed over",
         {{kMain, "Include conf/big.conf\nInclude conf/small.conf"},
          {conf + "\\big.conf", "Listen 1\n" + std::string(kMaxConfigBytes, '#')}, {conf + "\\small.conf", "Listen 2"}},
         {"conf\\small.conf:1: Listen 2"}},
    };
    for (const IncludeCase& c : cases) {
        SCOPED_TRACE(c.what);
        const testing::ConfigTree tree(c.files, c.links);
        EXPECT_EQ(listensOf(tree), c.listens);
        EXPECT_LE(tree.opened, 1 + kMaxConfigOpens);  // the main file, then what the reading opens
    }
}

TEST(ApacheConfig, FollowsIncludesNoDeeperThanApache) {
    std::map<std::string, std::optional<std::string>> files{{kMain, "Include conf/1.conf"}};
    for (int depth = 1; depth <= kMaxIncludeDepth + 2; ++depth)
        files["C:\\xampp\\apache\\conf\\" + std::to_string(depth) + ".conf"] =
            "Listen " + std::to_string(depth) + "\nInclude conf/" + std::to_string(depth + 1) + ".conf";
    const Texts listens = listensOf(testing::ConfigTree(files));
    ASSERT_EQ(listens.size(), static_cast<size_t>(kMaxIncludeDepth));
    EXPECT_EQ(listens.back(), "conf\\" + std::to_string(kMaxIncludeDepth) + ".conf:1: Listen " + std::to_string(kMaxIncludeDepth));
}

}  // namespace
}  // namespace velko
