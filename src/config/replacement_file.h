#pragma once
// Replaces several files together, all or none, even when the process ends half-way. Beside each
// target the new content is written to "<target>.velko-new"; while the targets change places, the
// old one waits as "<target>.velko-old". A journal, written before any of these files is made,
// names the targets in order, so that what a replacement cut short left can always be found.
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace velko {

struct FileReplacement {
    std::string target;
    std::string content;
};

// First finishes a replacement that the journal shows was cut short. Then refuses a target that
// cannot be replaced (read-only, a directory, or with a .velko-new or .velko-old beside it that no
// journal names), writes the journal and every new content, flushed and with its target's
// attributes and security descriptor, and only then puts them in place in order.
// A failure before the last is in place puts back every target and removes every file made, then
// reaches the caller. Once all are in place the replacement stands: an old content that cannot be
// removed stays named in the journal for the next finish. A refusal that lasts a moment (another
// program opening a file) is tried again for about a second.
//
// The hooks let the caller look again, or ask Apache, at the two points where that still changes
// the outcome. Whatever either throws undoes the replacement (all as before) and reaches the caller.
struct ReplacementHooks {
    // Every new content is written and flushed; no target has moved yet.
    std::function<void()> beforeFirstMove;
    // Every target holds its new content; the replacement can still be undone.
    std::function<void()> beforeCommit;
};
void replaceTogether(std::span<const FileReplacement> files, const std::string& journal,
                     const ReplacementHooks& hooks = {});

// Brings the targets that a journal names to one side: all new when every new content had taken
// its place, else all as before. Then removes every file the replacement made, the journal last.
// Without a journal it does nothing; a journal that another process holds is a failure.
void finishCutShortReplacement(const std::string& journal);

// Called before each step that changes the disk: "write" and "flush" of a file made, "move" of a
// file to its next place, "remove" of a file made. Tests make a step fail by throwing, or look at
// the disk as a crash at that step would leave it. The program sets none.
using FileStepHook = std::function<void(std::string_view step, const std::string& path)>;
void setFileStepHook(FileStepHook hook);

}  // namespace velko
