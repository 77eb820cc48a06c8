#include "garbage_text.h"

#include <algorithm>
#include <stdexcept>

namespace velko::testing {
namespace {

std::string lowered(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

// Bytes that trouble readers most, drawn more often than chance would.
constexpr std::string_view kTroublesome{"\0\n\xff\t #=\"\x80\x7f", 11};

}  // namespace

GarbageText::GarbageText(unsigned seed, std::vector<std::string> keysToAvoid)
    : random_(seed), keysToAvoid_(std::move(keysToAvoid)) {
    for (std::string& key : keysToAvoid_) key = lowered(key);
    lastUnterminated_ = random_() % 2 == 0;
}

char GarbageText::randomByte() {
    if (random_() % 4 == 0) return kTroublesome[random_() % kTroublesome.size()];
    for (;;) {
        const char byte = static_cast<char>(random_() % 256);
        if (byte != '\r') return byte;
    }
}

bool GarbageText::holdsAvoidedKey(std::string_view text) const {
    const std::string lower = lowered(text);
    return std::any_of(keysToAvoid_.begin(), keysToAvoid_.end(),
                       [&](const std::string& key) { return lower.find(key) != std::string::npos; });
}

std::string GarbageText::randomBytes(size_t length) {
    std::string bytes;
    do {
        bytes.clear();
        while (bytes.size() < length) bytes += randomByte();
    } while (holdsAvoidedKey(bytes));
    return bytes;
}

GarbageText& GarbageText::garbage(int count) {
    for (int i = 0; i < count; ++i) {
        const size_t length = random_() % 8 == 0 ? 0 : random_() % 300;
        std::string text = randomBytes(length);
        if (!text.empty() && text.front() == '\n') text.front() = ' ';
        line(std::move(text));
    }
    return *this;
}

GarbageText& GarbageText::longLine() {
    std::string text = randomBytes(size_t{1} << 20);
    if (text.front() == '\n') text.front() = ' ';
    return line(std::move(text));
}

GarbageText& GarbageText::line(std::string text) {
    if (!text.empty() && text.front() == '\n') throw std::logic_error("a line must not begin with LF");
    if (text.find('\r') != std::string::npos) throw std::logic_error("a line cannot hold a CR");
    lines_.push_back(std::move(text));
    terminators_.push_back(random_() % 2 == 0 ? "\r\n" : "\r");
    return *this;
}

std::string GarbageText::bytes() const {
    std::string file;
    for (size_t i = 0; i < lines_.size(); ++i) {
        file += lines_[i];
        // An empty last line needs its terminator to be a line at all.
        const bool last = i + 1 == lines_.size();
        if (!(last && lastUnterminated_ && !lines_[i].empty())) file += terminators_[i];
    }
    return file;
}

}  // namespace velko::testing
