#include "config/replacement_file.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "config/text_lines.h"
#include "win/failure.h"
#include "win/file_io.h"
#include "win/handles.h"
#include "win/system_library.h"
#include "win/win_error.h"

namespace velko {
namespace {

FileStepHook& stepHook() {
    static FileStepHook hook;
    return hook;
}

void beginStep(std::string_view step, const std::string& path) {
    if (stepHook()) stepHook()(step, path);
}

// A virus scanner or the search indexer opens a file that has just been written or moved, for a
// moment; its refusal is tried again for about a second before it counts.
bool isMomentaryRefusal(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

// Makes the attempt until it succeeds, fails for another reason, or about a second has passed; the
// last result, and after a failure the attempt's own last error.
template <class Attempt>
auto retried(Attempt&& attempt) {
    constexpr int kAttempts = 20;
    constexpr DWORD kPauseMs = 50;
    for (int tried = 1;; ++tried) {
        auto result = attempt();
        if (result || tried == kAttempts || !isMomentaryRefusal(GetLastError())) return result;
        Sleep(kPauseMs);
    }
}

constexpr std::string_view kReplaces = "replaces\t";
constexpr std::string_view kCreates = "creates\t";

// A target, whether it existed before the replacement, and the files made beside it.
struct Target {
    std::string path;
    bool existed = false;
    std::string newContent() const { return path + ".velko-new"; }
    std::string oldContent() const { return path + ".velko-old"; }
};

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// With write-through the move is on disk when it returns. A failure names the target.
void moveFile(const std::string& from, const std::string& to, DWORD flags, const std::string& target) {
    beginStep("move", from);
    if (!retried([&] { return MoveFileExA(from.c_str(), to.c_str(), flags | MOVEFILE_WRITE_THROUGH); }))
        throw lastErrorFailure(target);
}

// Removes a file the replacement made, where it is still there. A failure names that file.
void removeMade(const std::string& path) {
    if (!exists(path)) return;
    beginStep("remove", path);
    if (!retried([&] { return DeleteFileA(path.c_str()); })) throw lastErrorFailure(path);
}

constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
constexpr SECURITY_INFORMATION kKeptSecurity =
    OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

// A read-only target or a directory in its place would refuse its move; a target that does not
// exist yet is created. A file with the name of a new or old content that no journal names is not
// the replacement's: it stays, and the target is refused. A target that another program holds open
// is found by its move, which is tried again and else undone with the others.
Target checkedTarget(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    const Target target{path, attributes != INVALID_FILE_ATTRIBUTES};
    for (const std::string& beside : {target.newContent(), target.oldContent()})
        if (exists(beside)) throw errorFailure(ERROR_FILE_EXISTS, beside);
    if (target.existed && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        throw errorFailure(ERROR_ACCESS_DENIED, path);
    return target;
}

// The owner and group can be set only with privileges the process may lack; the access list
// alone is kept then. The security functions' library is loaded by the save alone.
void carryOverSecurity(const std::string& from, const std::string& to) {
    SystemLibrary security("advapi32.dll");
    const auto getSecurity = security.function<decltype(GetFileSecurityA)>("GetFileSecurityA");
    const auto setSecurity = security.function<decltype(SetFileSecurityA)>("SetFileSecurityA");
    if (!getSecurity || !setSecurity) return;
    DWORD size = 0;
    getSecurity(from.c_str(), kKeptSecurity, nullptr, 0, &size);
    if (size == 0) return;
    std::string bytes(size, '\0');
    const auto descriptor = reinterpret_cast<PSECURITY_DESCRIPTOR>(bytes.data());
    if (!getSecurity(from.c_str(), kKeptSecurity, descriptor, size, &size)) return;
    if (!setSecurity(to.c_str(), kKeptSecurity, descriptor))
        setSecurity(to.c_str(), DACL_SECURITY_INFORMATION, descriptor);
}

void carryOverAttributes(const std::string& from, const std::string& to) {
    const DWORD attributes = GetFileAttributesA(from.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & kKeptAttributes)) return;
    if (!SetFileAttributesA(to.c_str(), attributes & kKeptAttributes)) throw lastErrorFailure(from);
}

// The new content beside the target, flushed, with the target's attributes and security
// descriptor. A failure names the target, the file the user knows.
void writeNewContent(const Target& target, std::string_view content) {
    const std::string path = target.newContent();
    beginStep("write", path);
    FileHandle file(orNull(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!file) throw lastErrorFailure(target.path);
    writeAll(file.get(), content, target.path);
    beginStep("flush", path);
    if (!FlushFileBuffers(file.get())) throw lastErrorFailure(target.path);
    file.reset();
    if (!target.existed) return;
    carryOverAttributes(target.path, path);
    carryOverSecurity(target.path, path);
}

void putInPlace(const Target& target) {
    if (target.existed) moveFile(target.path, target.oldContent(), 0, target.path);
    moveFile(target.newContent(), target.path, 0, target.path);
}

// Brings the targets to one side by what the disk shows. Every new content is written before the
// first target moves, and the targets move in order: while a new content still waits beside its
// target, the targets before it have been replaced and the others not, so all are put back, and
// those that did not exist before go. Else every target is new, and only the old contents remain
// to go. Each step holds when it is taken again, so a settling cut short is finished by the next.
void settle(const std::vector<Target>& targets) {
    const auto waiting = std::find_if(targets.begin(), targets.end(),
                                      [](const Target& target) { return exists(target.newContent()); });
    for (auto target = targets.begin(); target != targets.end(); ++target) {
        if (waiting == targets.end()) removeMade(target->oldContent());
        else if (exists(target->oldContent()))
            moveFile(target->oldContent(), target->path, MOVEFILE_REPLACE_EXISTING, target->path);
        else if (target < waiting && !target->existed) removeMade(target->path);
    }
    // The first waiting new content goes last: until then a settling taken again puts back too.
    for (auto target = targets.rbegin(); target != targets.rend(); ++target) removeMade(target->newContent());
}

// Every target holds its new content and the replacement has not stood: each goes back as it was,
// which the disk alone would not tell (no new content waits).
void putBack(const std::vector<Target>& targets) {
    for (const Target& target : targets) {
        if (target.existed) moveFile(target.oldContent(), target.path, MOVEFILE_REPLACE_EXISTING, target.path);
        else removeMade(target.path);
    }
}

// The journal lists the targets in order, a line each: "replaces" or "creates", a tab and the full
// path. It is held open against the finish of another process until the replacement removes it.
FileHandle createJournal(const std::string& path) {
    beginStep("write", path);
    FileHandle journal(orNull(
        CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!journal) throw lastErrorFailure(path);
    return journal;
}

void writeJournal(HANDLE journal, const std::string& path, const std::vector<Target>& targets) {
    std::string lines;
    for (const Target& target : targets)
        lines.append(target.existed ? kReplaces : kCreates).append(target.path).append("\r\n");
    writeAll(journal, lines, path);
    beginStep("flush", path);
    if (!FlushFileBuffers(journal)) throw lastErrorFailure(path);
}

// A last line without its line end was being written when the process ended, before any other
// file was made: it is passed over.
std::vector<Target> targetsIn(std::string_view journal) {
    std::vector<Target> targets;
    forEachLineWithTerminator(journal, LineEnds::CrLfOrCr, [&](std::string_view line, std::string_view end) {
        for (const std::string_view kind : {kReplaces, kCreates})
            if (end == "\r\n" && line.starts_with(kind))
                targets.push_back({std::string(line.substr(kind.size())), kind == kReplaces});
        return true;
    });
    return targets;
}

// The last step of a replacement: nothing else it names is left.
void removeJournal(FileHandle& journal, const std::string& path) {
    journal.reset();
    removeMade(path);
}

}  // namespace

void replaceTogether(std::span<const FileReplacement> files, const std::string& journalPath,
                     const ReplacementHooks& hooks) {
    finishCutShortReplacement(journalPath);
    std::vector<Target> targets;
    for (const FileReplacement& file : files) targets.push_back(checkedTarget(file.target));
    FileHandle journal = createJournal(journalPath);
    try {
        writeJournal(journal.get(), journalPath, targets);
        for (size_t i = 0; i < files.size(); ++i) writeNewContent(targets[i], files[i].content);
        if (hooks.beforeFirstMove) hooks.beforeFirstMove();
        for (const Target& target : targets) putInPlace(target);
        try {
            if (hooks.beforeCommit) hooks.beforeCommit();
        } catch (...) {
            putBack(targets);
            throw;
        }
    } catch (...) {
        settle(targets);
        removeJournal(journal, journalPath);
        throw;
    }
    // Every target holds its new content: the replacement stands. What cannot be removed now stays
    // named in the journal, for the next finish.
    try {
        settle(targets);
        removeJournal(journal, journalPath);
    } catch (const Failure&) {
    }
}

void finishCutShortReplacement(const std::string& journalPath) {
    FileHandle journal(retried([&] {
        return FileHandle(orNull(
            CreateFileA(journalPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
    }));
    if (!journal) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return;
        throw errorFailure(error, journalPath);
    }
    settle(targetsIn(readToEnd(journal.get(), journalPath)));
    removeJournal(journal, journalPath);
}

void setFileStepHook(FileStepHook hook) { stepHook() = std::move(hook); }

}  // namespace velko
