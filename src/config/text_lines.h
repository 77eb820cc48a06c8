#pragma once
// The text model of every file the configurator reads: bytes in the system code page, a line
// ends at CR LF or at a lone CR. In the files that other programs write (the change log, the main
// script) a lone LF ends a line too; elsewhere it stays inside its line. Apache's configuration
// has Apache's own rule (apache_config.h).
#include <string>
#include <string_view>

#include "config/byte_search.h"

namespace velko {

enum class LineEnds {
    CrLfOrCr,    // the configurator's own files: a lone LF is part of the line
    CrLfCrOrLf,  // files written by other programs and editors
};

// The position of the next CR, or LF where that ends a line; npos when there is none.
inline size_t findLineEnd(std::string_view text, LineEnds ends, size_t from) {
    return ends == LineEnds::CrLfCrOrLf ? findEitherByte(text, '\r', '\n', from) : findByte(text, '\r', from);
}

// Splits a stream of bytes, fed in chunks of any size, into lines without their terminators.
// A terminator at the very end adds no empty line; a last line without terminator is a line.
class LineSplitter {
public:
    explicit LineSplitter(LineEnds ends = LineEnds::CrLfOrCr) : ends_(ends) {}

    // Passes each line that the chunk completes to onLine (a bool(std::string_view)); stops
    // and returns false as soon as onLine returns false.
    template <class OnLine>
    bool feed(std::string_view chunk, OnLine&& onLine) {
        size_t start = 0;
        if (skipLf_ && !chunk.empty()) {
            skipLf_ = false;
            if (chunk.front() == '\n') start = 1;
        }
        while (start < chunk.size()) {
            const size_t at = findLineEnd(chunk, ends_, start);
            if (at == std::string_view::npos) break;
            const bool goOn = emit(chunk.substr(start, at - start), onLine);
            start = at + 1;
            if (chunk[at] == '\r') {
                if (start == chunk.size()) skipLf_ = true;
                else if (chunk[start] == '\n') ++start;
            }
            if (!goOn) return false;
        }
        partial_.append(chunk.substr(start));
        return true;
    }

    // Ends the stream: passes on the last line when it had no terminator.
    template <class OnLine>
    bool finish(OnLine&& onLine) {
        if (partial_.empty()) return true;
        return emit({}, onLine);
    }

private:
    template <class OnLine>
    bool emit(std::string_view tail, OnLine& onLine) {
        if (partial_.empty()) return onLine(tail);
        partial_.append(tail);
        const bool goOn = onLine(std::string_view(partial_));
        partial_.clear();
        return goOn;
    }

    LineEnds ends_;
    std::string partial_;
    bool skipLf_ = false;
};

// Calls onLine(line, terminator) for every line of a whole text, until it returns false. Both
// views lie in text; the terminator is "\r\n", "\r", "\n" (where it ends a line), or empty for a
// last line without one.
template <class OnLine>
bool forEachLineWithTerminator(std::string_view text, LineEnds ends, OnLine&& onLine) {
    for (size_t start = 0; start < text.size();) {
        const size_t found = findLineEnd(text, ends, start);
        const size_t end = found == std::string_view::npos ? text.size() : found;
        size_t next = end;
        if (next < text.size()) next += text.compare(next, 2, "\r\n") == 0 ? 2 : 1;
        if (!onLine(text.substr(start, end - start), text.substr(end, next - end))) return false;
        start = next;
    }
    return true;
}

// Calls onLine for every line of a whole text, until it returns false.
template <class OnLine>
bool forEachLine(std::string_view text, OnLine&& onLine) {
    return forEachLineWithTerminator(text, LineEnds::CrLfOrCr,
                                     [&onLine](std::string_view line, std::string_view) { return onLine(line); });
}

// Letter case is folded for ASCII letters only: keys, themes and markers are ASCII.
std::string asciiLower(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);
bool containsIgnoringCase(std::string_view text, std::string_view part);

// A comment line begins with "#"; nothing is trimmed first.
bool isCommentLine(std::string_view line);

// A line holds a key when it is no comment and the key occurs anywhere in it, letter case aside.
bool holdsKey(std::string_view line, std::string_view key);

// A CR or LF that would start a new line in a file the configurator writes.
bool holdsLineBreak(std::string_view text);

}  // namespace velko
