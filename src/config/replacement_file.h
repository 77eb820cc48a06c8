#pragma once
// Replaces several files together, all or none, even when the process ends half-way. Beside each
// target the new content is written to a temporary "<target>.<random>.velko-new"; while the
// targets change places, the old one waits as "<target>.<random>.velko-old". A journal, written
// whole and flushed before any of these files is made, names the targets and their temporaries,
// and a commit record appended once every target is in place decides what a recovery does.
// Every file is reached through its folder, opened once and held: nothing is written through a
// link, and nothing outside those folders is touched.
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "win/failure.h"

namespace velko {

struct FileReplacement {
    std::string target;
    std::string content;
};

// First finishes a replacement that the journal shows was cut short. Then refuses a target that
// cannot be replaced (read-only, a directory, a link, or in no folder of a local drive), writes
// the journal and every new content, flushed and with its target's attributes and security
// descriptor, and only then puts them in place in order, and writes the commit record.
// A failure before the commit record stands puts back every target and removes every file made,
// then reaches the caller. Once it stands the replacement stands: an old content that cannot be
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

// Brings the targets that a journal names to one side by its commit record alone: without it all
// as before, with it all new. Then removes the temporaries it names, the journal last. Without a
// journal it does nothing; a journal that another process holds is a failure, and so is one that
// this program did not write whole (a folder or a link at its name, bytes that fail their check, a
// file that another account owns): that one touches nothing, and its failure tells the user what
// to do.
void finishCutShortReplacement(const std::string& journal);

// The same for a load, which goes on past a journal it cannot trust: that journal's failure is
// returned, for the user to see, instead of thrown. Every other failure is thrown.
std::optional<Failure> finishTrustedReplacement(const std::string& journal);

// Called before each step that changes the disk: "write" and "flush" of a file made, "move" of a
// file to its next place, "commit" of the journal, "remove" of a file made. Tests make a step
// fail by throwing, or look at the disk as a crash at that step would leave it. The program sets none.
using FileStepHook = std::function<void(std::string_view step, const std::string& path)>;
void setFileStepHook(FileStepHook hook);

}  // namespace velko
