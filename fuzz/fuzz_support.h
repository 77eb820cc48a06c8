#pragma once
// What every fuzz target shares: a failed property ends the run as a crash, with its name.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <fuzzer/FuzzedDataProvider.h>

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

}  // namespace velko::fuzz
