#pragma once
// What every fuzz target shares: a failed property ends the run as a crash, with its name.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "config/text_lines.h"

namespace velko::fuzz {

inline void require(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

inline bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

inline bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// A text that can hold no line break, as a field of the window can hold.
inline std::string oneLineText(FuzzedDataProvider& input, size_t maxLength) {
    std::string text = input.ConsumeRandomLengthString(maxLength);
    std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
    return text;
}

// The lines of a whole text, as a load walks them.
inline std::vector<std::string> linesOf(std::string_view text) {
    std::vector<std::string> lines;
    velko::forEachLine(text, [&lines](std::string_view line) {
        lines.emplace_back(line);
        return true;
    });
    return lines;
}

}  // namespace velko::fuzz
