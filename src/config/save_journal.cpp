#include "config/save_journal.h"

#include <charconv>
#include <cstdint>

namespace velko {
namespace {

constexpr std::string_view kHeader = "Velko Configurator save journal 1\r\n";
constexpr std::string_view kReplaces = "replaces";
constexpr std::string_view kCreates = "creates";
constexpr std::string_view kCommit = "commit ";
constexpr std::string_view kLineEnd = "\r\n";

// FNV-1a: enough to tell a journal cut short or overwritten from the one written.
std::string checksumOf(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char byte : bytes) hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211ull;
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, hash, 16).ptr;
    return std::string(16 - static_cast<size_t>(end - digits), '0').append(digits, end);
}

// The text up to the next line end, taken off the front; nothing when no line end follows.
std::optional<std::string_view> takeLine(std::string_view& bytes) {
    const size_t end = bytes.find(kLineEnd);
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end + kLineEnd.size());
    return line;
}

std::vector<std::string_view> tabFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (size_t tab; (tab = line.find('\t')) != std::string_view::npos; line.remove_prefix(tab + 1))
        fields.push_back(line.substr(0, tab));
    fields.push_back(line);
    return fields;
}

// A name the recovery may act on: one entry of its folder, never a way out of it.
bool isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/:") == std::string_view::npos;
}

std::optional<JournalEntry> entryOf(std::string_view line) {
    const std::vector<std::string_view> fields = tabFields(line);
    if (fields.size() != 5 || (fields[0] != kReplaces && fields[0] != kCreates) || fields[1].empty()) return std::nullopt;
    for (size_t i = 2; i < fields.size(); ++i)
        if (!isPlainName(fields[i])) return std::nullopt;
    return JournalEntry{fields[0] == kReplaces, std::string(fields[1]), std::string(fields[2]), std::string(fields[3]),
                        std::string(fields[4])};
}

std::optional<std::vector<JournalEntry>> entriesOf(std::string_view body) {
    std::vector<JournalEntry> entries;
    while (!body.empty()) {
        const std::optional<std::string_view> line = takeLine(body);
        const std::optional<JournalEntry> entry = line ? entryOf(*line) : std::nullopt;
        if (!entry) return std::nullopt;
        entries.push_back(*entry);
    }
    if (entries.empty()) return std::nullopt;
    return entries;
}

std::string commitFor(const std::string& checksum) { return std::string(kCommit).append(checksum).append(kLineEnd); }

}  // namespace

std::string journalText(const std::vector<JournalEntry>& entries) {
    std::string body;
    for (const JournalEntry& entry : entries) {
        body.append(entry.replaces ? kReplaces : kCreates);
        for (const std::string* field : {&entry.folder, &entry.name, &entry.newName, &entry.oldName})
            body.append("\t").append(*field);
        body.append(kLineEnd);
    }
    return std::string(kHeader) + std::to_string(body.size()) + " " + checksumOf(body) + std::string(kLineEnd) + body;
}

std::string commitRecord(std::string_view journalText) {
    std::string_view rest = journalText.substr(kHeader.size());
    const std::string_view sizeAndChecksum = takeLine(rest).value_or("");
    return commitFor(std::string(sizeAndChecksum.substr(sizeAndChecksum.find(' ') + 1)));
}

std::optional<JournalContent> journalContent(std::string_view bytes) {
    if (!bytes.starts_with(kHeader)) return std::nullopt;
    bytes.remove_prefix(kHeader.size());
    const std::optional<std::string_view> sizeAndChecksum = takeLine(bytes);
    if (!sizeAndChecksum) return std::nullopt;
    size_t size = 0;
    const auto [end, error] = std::from_chars(sizeAndChecksum->data(), sizeAndChecksum->data() + sizeAndChecksum->size(), size);
    const std::string_view checksum(end, static_cast<size_t>(sizeAndChecksum->data() + sizeAndChecksum->size() - end));
    if (error != std::errc() || size > bytes.size() || !checksum.starts_with(' ') ||
        checksum.substr(1) != checksumOf(bytes.substr(0, size)))
        return std::nullopt;
    std::optional<std::vector<JournalEntry>> entries = entriesOf(bytes.substr(0, size));
    const std::string_view after = bytes.substr(size);
    const std::string commit = commitFor(std::string(checksum.substr(1)));
    if (!entries || (after != commit && after.size() >= commit.size())) return std::nullopt;
    return JournalContent{std::move(*entries), after == commit};
}

}  // namespace velko
