#include "config/versions.h"

#include <algorithm>
#include <vector>

#include "config/text_lines.h"

namespace velko {
namespace {

constexpr std::string_view kBlanks = " \t";

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

size_t countWhile(std::string_view text, bool (*test)(char)) {
    return static_cast<size_t>(std::find_if_not(text.begin(), text.end(), test) - text.begin());
}

std::string_view withoutTrailingDot(std::string_view word) {
    return word.ends_with('.') ? word.substr(0, word.size() - 1) : word;
}

// "1.7.3", "1.5.4a", "1.7.3-beta2": digits, a dot and a digit, then anything.
bool isVersionNumber(std::string_view word) {
    const size_t digits = countWhile(word, isDigit);
    return digits > 0 && digits + 1 < word.size() && word[digits] == '.' && isDigit(word[digits + 1]);
}

bool isDay(std::string_view word) {
    const std::string_view day = withoutTrailingDot(word);
    return !day.empty() && day.size() <= 2 && countWhile(day, isDigit) == day.size();
}

bool isMonth(std::string_view word) {
    const std::string_view month = withoutTrailingDot(word);
    return month.size() >= 3 && countWhile(month, isLetter) == month.size();
}

bool isYear(std::string_view word) { return word.size() == 4 && countWhile(word, isDigit) == 4; }

std::vector<std::string_view> wordsOf(std::string_view line) {
    std::vector<std::string_view> words;
    for (size_t start = line.find_first_not_of(kBlanks); start != std::string_view::npos;) {
        const size_t end = std::min(line.find_first_of(kBlanks, start), line.size());
        words.push_back(line.substr(start, end - start));
        start = line.find_first_not_of(kBlanks, end);
    }
    return words;
}

// The index of the word that holds the heading's version, or the count of words when none does.
size_t headingVersionIndex(const std::vector<std::string_view>& words) {
    const size_t count = words.size();
    for (size_t i = 0; i < count; ++i) {
        if (equalsIgnoringCase(words[i], "XAMPP")) {
            size_t at = i + 1;
            if (at < count && equalsIgnoringCase(words[at], "version")) ++at;
            if (at < count && isVersionNumber(words[at])) return at;
        }
        if (i + 3 < count && isDay(words[i]) && isMonth(words[i + 1]) && isYear(words[i + 2]) &&
            isVersionNumber(words[i + 3]))
            return i + 3;
    }
    return count;
}

}  // namespace

std::optional<std::string> xamppVersionOf(std::string_view changeLogLine) {
    const std::vector<std::string_view> words = wordsOf(changeLogLine);
    if (words.empty() || words.front().starts_with('#')) return std::nullopt;
    const size_t version = headingVersionIndex(words);
    if (version == words.size()) return std::nullopt;
    const std::string_view rest = changeLogLine.substr(static_cast<size_t>(words[version].data() - changeLogLine.data()));
    return std::string(rest.substr(0, rest.find_last_not_of(kBlanks) + 1));
}

std::optional<std::string> velkoVersionOf(std::string_view indexLine) {
    const size_t equals = indexLine.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const size_t open = indexLine.find_first_of("\"'", equals + 1);
    if (open == std::string_view::npos) return std::nullopt;
    const size_t close = indexLine.find(indexLine[open], open + 1);
    if (close == std::string_view::npos) return std::nullopt;
    return std::string(indexLine.substr(open + 1, close - open - 1));
}

}  // namespace velko
