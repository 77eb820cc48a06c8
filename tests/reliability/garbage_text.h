#pragma once
// Text files of random bytes, for the reader: inside a line any byte but CR (NUL, LF, TAB, 0xFF
// and the rest), lines ended by CR LF or by a lone CR, the last one perhaps by nothing.
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace velko::testing {

class GarbageText {
public:
    // No random line will hold any of the keys, in any letter case.
    GarbageText(unsigned seed, std::vector<std::string> keysToAvoid);

    // Adds lines of random bytes, some of them empty.
    GarbageText& garbage(int count);
    // Adds a random line of a mebibyte.
    GarbageText& longLine();
    // Adds a line as given. It must not begin with LF, which after a lone CR would make a CR LF.
    GarbageText& line(std::string text);
    // Random bytes that a line may hold, none of them CR and none a key to avoid.
    std::string randomBytes(size_t length);

    // The file: every line with its terminator.
    std::string bytes() const;
    // The lines as a reader must see them, in file order.
    const std::vector<std::string>& lines() const { return lines_; }

private:
    char randomByte();
    bool holdsAvoidedKey(std::string_view text) const;

    std::mt19937 random_;
    std::vector<std::string> keysToAvoid_;
    std::vector<std::string> lines_;
    std::vector<std::string_view> terminators_;
    bool lastUnterminated_;
};

}  // namespace velko::testing
