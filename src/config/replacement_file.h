#pragma once
// Replaces a file whole or not at all: the new content goes to a temporary file beside it,
// is flushed to disk, and takes the file's place in one rename.
#include <span>
#include <string>
#include <string_view>

#include "win/failure.h"

namespace velko {

class ReplacementFile {
public:
    // Creates the temporary file. A read-only target or a directory in its place is a failure
    // before anything is written.
    explicit ReplacementFile(std::string target);
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    // Removes the temporary file unless it has taken the target's place.
    ~ReplacementFile();

    // Adds one line to the new content with AppendLine. A failure names the target, the file
    // the user knows, not the temporary one.
    void appendLine(std::string_view line);
    // Writes the pieces one after the other as the content.
    void write(std::span<const std::string_view> pieces);

    // Flushes the new content and puts it in the target's place.
    void commit();

private:
    Failure aboutTarget(const Failure& failure) const;

    std::string target_;
    std::string temporary_;
    bool committed_ = false;
};

}  // namespace velko
