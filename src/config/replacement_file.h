#pragma once
// Replaces a file whole or not at all: the new content goes to a temporary file beside it, is
// flushed to disk, takes on the file's attributes and security, and takes the file's place in
// one rename. Several files are replaced together by preparing each before committing any.
#include <span>
#include <string>
#include <string_view>

#include "win/failure.h"

namespace velko {

class ReplacementFile {
public:
    // Creates the temporary file beside the target.
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

    // Flushes the new content and gives it the target's attributes (hidden, system, archive,
    // not indexed) and security descriptor, as far as they may be read and set; then makes
    // sure that the target can be replaced: not read-only, not held open by another program.
    void prepare();
    // Puts the new content in the target's place.
    void commit();

private:
    Failure aboutTarget(const Failure& failure) const;

    std::string target_;
    std::string temporary_;
    bool committed_ = false;
};

}  // namespace velko
