// Apache's configuration read whole, on small file trees that include and link back to each other,
// and the edit of its port: every reading ends, whatever includes what; a save keeps every byte but
// the edited lines, a load finds the port it wrote, and a second save, which moves nothing, changes
// nothing more.
#include <cstdint>
#include <string>

#include "../tests/config/config_tree.h"
#include "config/apache_edit.h"
#include "fuzz_support.h"

using velko::fuzz::require;

namespace {

constexpr char kMain[] = "C:\\x\\conf\\httpd.conf";
constexpr const char* kPieces[] = {"Listen ", "listen\t", "ServerName localhost:", "Include conf/", "IncludeOptional ",
                                   "*.conf", "a.conf", "b.conf", "sub/", "*/", "up/", "Define P ", "${P}", "ServerRoot /x", "80",
                                   "127.0.0.1:", "<VirtualHost *:", ">", "[::]:", "\"", "'", "\\", "#", " ", "\r", "\n", "\r\n"};

std::string textOfPieces(FuzzedDataProvider& input) {
    std::string text;
    for (int piece = 0; piece < 24 && input.remaining_bytes() > 0; ++piece) {
        if (input.ConsumeBool()) text += input.PickValueInArray(kPieces);
        else text += input.ConsumeRandomLengthString(6);
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string port = std::to_string(input.ConsumeIntegralInRange(1, 65535));
    const std::string main = textOfPieces(input);
    const velko::testing::ConfigTree tree({{kMain, main},
                                           {"C:\\x\\conf\\a.conf", textOfPieces(input)},
                                           {"C:\\x\\conf\\b.conf", textOfPieces(input)},
                                           {"C:\\x\\conf\\sub\\c.conf", textOfPieces(input)}},
                                          {{"C:\\x\\conf\\sub\\up", "C:\\x\\conf"}});

    size_t directives = 0;
    velko::forEachDirective(tree, kMain, main, [&](const std::string& file, const velko::ConfigLine& line) {
        require(tree.read(file, velko::kMaxConfigBytes).has_value(), "every directive stands in a file of the tree");
        require(line.text.find('\n') == std::string_view::npos, "a line holds no line end");
        return ++directives < 100000;
    });

    require(velko::rewrittenConfiguration(main, "", [] {}) == main, "a save without a port keeps every byte");
    const std::string saved = velko::rewrittenConfiguration(main, port, [] {});
    if (!velko::portOf(main).empty()) require(velko::portOf(saved) == port, "a load finds the port the save wrote");
    require(velko::rewrittenConfiguration(saved, port, [] {}) == saved, "a second save changes nothing more");

    if (const auto conflict = velko::otherListenOn(tree, kMain, main, static_cast<unsigned>(std::stoi(port)))) {
        require(velko::isDirective(conflict->text, "Listen") &&
                    velko::portNumber(velko::shownPortOf(conflict->text)) == static_cast<unsigned>(std::stoi(port)),
                "another Listen directive on the port is named");
    }
    return 0;
}
