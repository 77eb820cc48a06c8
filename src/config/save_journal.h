#pragma once
// The text of a save's journal: what the save will make and move, written whole and checked
// before anything else is made, and the commit record appended once every target is in place.
// Plain text rules: the program writes and reads it through replacement_file.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velko {

// One target of the save, in its folder's final path, and the names of its two temporaries
// beside it. Paths and names are UTF-8, so that any folder a link leads to can be named.
struct JournalEntry {
    bool replaces = false;  // the target was there before the save; else the save creates it
    std::string folder;
    std::string name;
    std::string newName;
    std::string oldName;
    bool operator==(const JournalEntry&) const = default;
};

struct JournalContent {
    std::vector<JournalEntry> entries;
    bool committed = false;
};

// A header with the length and checksum of the lines that follow, then a line per target.
std::string journalText(const std::vector<JournalEntry>& entries);

// What is appended to that text once the save stands; it repeats the checksum, so that no bytes
// but the whole record of this journal count as one.
std::string commitRecord(std::string_view journalText);

// The journal's content, or nothing when its bytes fail their check: another header, another
// length or checksum, a name that is no plain file name, or bytes after it that are neither the
// commit record nor a record cut short while it was written.
std::optional<JournalContent> journalContent(std::string_view bytes);

}  // namespace velko
