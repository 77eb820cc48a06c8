// Splitting any bytes, fed in chunks of any sizes, gives the lines of the whole text.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "config/text_lines.h"
#include "fuzz_support.h"

using velko::fuzz::require;

namespace {

using Lines = std::vector<std::string>;

// The text model, one byte at a time: CR ends a line, an LF right after it belongs to it.
Lines referenceLines(std::string_view text) {
    Lines lines;
    std::string current;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            current += text[i];
            continue;
        }
        lines.push_back(current);
        current.clear();
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

Lines splitInChunks(std::string_view text, const std::vector<uint8_t>& chunkSizes) {
    Lines lines;
    const auto collect = [&lines](std::string_view line) {
        lines.emplace_back(line);
        return true;
    };
    velko::LineSplitter splitter;
    for (size_t at = 0, chunk = 0; at < text.size(); ++chunk) {
        const size_t chunkSize = chunkSizes[chunk % chunkSizes.size()];
        const std::string_view piece =
            chunkSize == 0 ? std::string_view() : text.substr(at, chunkSize);
        require(splitter.feed(piece, collect), "a feed that is never stopped completes");
        at += piece.size();
    }
    require(splitter.finish(collect), "a finish that is never stopped completes");
    return lines;
}

void checkStopping(std::string_view text, const Lines& lines, size_t stopAt) {
    Lines seen;
    const bool completed = velko::forEachLine(text, [&](std::string_view line) {
        seen.emplace_back(line);
        return seen.size() != stopAt;
    });
    const bool stopped = stopAt <= lines.size();
    require(completed != stopped, "the walk reports whether a line stopped it");
    require(seen == Lines(lines.begin(), lines.begin() + std::min(stopAt, lines.size())),
            "the walk passes the lines up to the one that stops it");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<uint8_t> chunkSizes = input.ConsumeBytes<uint8_t>(4);
    chunkSizes.push_back(1);
    const size_t stopAt = input.ConsumeIntegralInRange<size_t>(1, 16);
    const std::string text = input.ConsumeRemainingBytesAsString();

    const Lines lines = referenceLines(text);
    require(velko::fuzz::linesOf(text) == lines, "the whole text splits as the text model says");
    require(splitInChunks(text, chunkSizes) == lines, "chunked feeding gives the same lines");
    checkStopping(text, lines, stopAt);
    return 0;
}
