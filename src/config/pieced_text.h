#pragma once
// A text put together from runs of an original text and from text added in between, so that a
// long file rewritten with a few changed lines copies what stays once, in runs, not line by line.
#include <string>
#include <string_view>
#include <vector>

namespace velko {

class PiecedText {
public:
    explicit PiecedText(std::string_view original) : original_(original) {}

    // Takes original[from, to) as the next piece.
    void keep(size_t from, size_t to) { push(Source::Original, from, to); }

    // append(std::string&) appends the next piece to the added text.
    template <class Append>
    void add(Append&& append) {
        const size_t from = added_.size();
        append(added_);
        push(Source::Added, from, added_.size());
    }

    // The pieces joined in order.
    std::string joined() const {
        size_t size = 0;
        for (const Piece& piece : pieces_) size += piece.to - piece.from;
        std::string text;
        text.reserve(size);
        for (const Piece& piece : pieces_) {
            const std::string_view source = piece.source == Source::Original ? original_ : std::string_view(added_);
            text.append(source.substr(piece.from, piece.to - piece.from));
        }
        return text;
    }

private:
    enum class Source { Original, Added };
    struct Piece {
        Source source;
        size_t from, to;
    };

    // A piece that continues the last one of the same source joins it.
    void push(Source source, size_t from, size_t to) {
        if (from == to) return;
        if (!pieces_.empty() && pieces_.back().source == source && pieces_.back().to == from) pieces_.back().to = to;
        else pieces_.push_back({source, from, to});
    }

    std::string_view original_;
    std::string added_;  // pieces refer to it by position: it may move as it grows
    std::vector<Piece> pieces_;
};

}  // namespace velko
