#include "config/replacement_file.h"

#include <windows.h>

#include <vector>

#include "config/save_journal.h"
#include "ui_text.h"
#include "win/file_io.h"
#include "win/handles.h"
#include "win/held_folder.h"
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

// Makes the attempt until it succeeds, fails for another reason than a momentary refusal (which
// the held folder leaves in the last error), or about a second has passed; the last result.
template <class Attempt>
auto retried(Attempt&& attempt) {
    constexpr int kAttempts = 20;
    constexpr DWORD kPauseMs = 50;
    for (int tried = 1;; ++tried) {
        auto result = attempt();
        const DWORD error = GetLastError();
        if (result || tried == kAttempts || error == ERROR_FILE_NOT_FOUND) return result;
        Sleep(kPauseMs);
        SetLastError(error);
    }
}

constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
constexpr SECURITY_INFORMATION kKeptSecurity =
    OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

// A target in its held folder, and the names of the files made beside it. Messages and the step
// hook name each file by the folder as the caller knows it.
struct Target {
    HeldFolder folder;
    std::string shownFolder;  // with its trailing "\"
    std::wstring name;
    std::wstring newName;
    std::wstring oldName;
    bool replaces = false;

    std::string shown(const std::wstring& file) const { return shownFolder + narrowed(file); }
    std::string path() const { return shown(name); }
};

// Names no one can guess, or make beforehand, with the suffix that tells what they are.
std::wstring temporaryName(const std::wstring& target, const wchar_t* suffix) {
    return target + L"." + randomHex() + suffix;
}

// The file of that name beside the target, to be moved or removed; null when it is not there. A
// refusal that outlasts the retries is a failure.
FileHandle openedMade(const Target& target, const std::wstring& name) {
    FileHandle file = retried([&] { return target.folder.open(name, DELETE, target.shown(name)); });
    if (!file && GetLastError() != ERROR_FILE_NOT_FOUND) throw lastErrorFailure(target.shown(name));
    return file;
}

bool isThere(const Target& target, const std::wstring& name) {
    return static_cast<bool>(retried([&] { return target.folder.open(name, 0, target.shown(name)); })) ||
           GetLastError() != ERROR_FILE_NOT_FOUND;
}

// A failure names the target, the file the user knows.
void move(const Target& target, const std::wstring& from, const std::wstring& to, bool replace) {
    beginStep("move", target.shown(from));
    const FileHandle file = openedMade(target, from);
    if (!file) throw errorFailure(ERROR_FILE_NOT_FOUND, target.shown(from));
    if (!retried([&] { return target.folder.rename(file.get(), to, replace, target.path()); }))
        throw lastErrorFailure(target.path());
}

// Removes a file the replacement made, where it is still there. A failure names that file.
void removeMade(const Target& target, const std::wstring& name) {
    if (!isThere(target, name)) return;
    beginStep("remove", target.shown(name));
    if (const FileHandle file = openedMade(target, name)) removeWhenClosed(file.get(), target.shown(name));
}

// The folder is held from here on; a target that is a link, a directory or read-only is refused
// before anything is made. A target that another program holds open is found by its move, which
// is tried again and else undone with the others.
Target checkedTarget(const std::string& path) {
    const size_t nameAt = path.find_last_of("\\/") + 1;
    const std::wstring name = widened(path.substr(nameAt));
    Target target{HeldFolder(widened(path.substr(0, nameAt)), path), path.substr(0, nameAt), name,
                  temporaryName(name, L".velko-new"), temporaryName(name, L".velko-old")};
    const FileHandle file = retried([&] { return target.folder.open(target.name, 0, path); });
    if (!file && GetLastError() != ERROR_FILE_NOT_FOUND) throw lastErrorFailure(path);
    target.replaces = static_cast<bool>(file);
    if (file && (attributesOf(file.get(), path) & FILE_ATTRIBUTE_READONLY)) throw errorFailure(ERROR_ACCESS_DENIED, path);
    return target;
}

constexpr char kAdvapi32[] = "advapi32.dll";

// The owner and group can be set only with privileges the process may lack; the access list
// alone is kept then. The security functions' library is loaded by the first save, and kept.
void carryOverSecurity(HANDLE from, HANDLE to) {
    SystemLibrary& security = keptLibrary<kAdvapi32>();
    const auto getSecurity = security.function<decltype(GetKernelObjectSecurity)>("GetKernelObjectSecurity");
    const auto setSecurity = security.function<decltype(SetKernelObjectSecurity)>("SetKernelObjectSecurity");
    if (!getSecurity || !setSecurity) return;
    DWORD size = 0;
    getSecurity(from, kKeptSecurity, nullptr, 0, &size);
    if (size == 0) return;
    std::string bytes(size, '\0');
    const auto descriptor = reinterpret_cast<PSECURITY_DESCRIPTOR>(bytes.data());
    if (!getSecurity(from, kKeptSecurity, descriptor, size, &size)) return;
    if (!setSecurity(to, kKeptSecurity, descriptor)) setSecurity(to, DACL_SECURITY_INFORMATION, descriptor);
}

void carryOverAttributes(HANDLE from, HANDLE to, const std::string& path) {
    FILE_BASIC_INFO basic{};  // times of zero stay as they are
    basic.FileAttributes = attributesOf(from, path) & kKeptAttributes;
    if (basic.FileAttributes && !SetFileInformationByHandle(to, FileBasicInfo, &basic, sizeof basic))
        throw lastErrorFailure(path);
}

// The new content beside the target, flushed, with the target's attributes and security
// descriptor. A failure names the target, the file the user knows.
void writeNewContent(const Target& target, std::string_view content) {
    beginStep("write", target.shown(target.newName));
    const FileHandle made = target.folder.create(
        target.newName, GENERIC_WRITE | READ_CONTROL | WRITE_DAC | WRITE_OWNER | FILE_WRITE_ATTRIBUTES, target.path());
    writeAll(made.get(), content, target.path());
    beginStep("flush", target.shown(target.newName));
    if (!FlushFileBuffers(made.get())) throw lastErrorFailure(target.path());
    if (!target.replaces) return;
    const FileHandle old = retried([&] { return target.folder.open(target.name, READ_CONTROL, target.path()); });
    if (!old) throw lastErrorFailure(target.path());
    carryOverAttributes(old.get(), made.get(), target.path());
    carryOverSecurity(old.get(), made.get());
}

void putInPlace(const Target& target) {
    if (target.replaces) move(target, target.name, target.oldName, false);
    move(target, target.newName, target.name, false);
}

// Brings the targets to one side by the commit record alone. Without it every old content goes
// back over its target, and a target that did not exist before goes once its new content has left
// its temporary name for the target's (only a move made by this save does that). With it only the
// old contents remain to go. Then the new contents still waiting go. Each step holds when it is
// taken again, so a settling cut short is finished by the next.
void settle(const std::vector<Target>& targets, bool committed) {
    for (const Target& target : targets) {
        if (committed) removeMade(target, target.oldName);
        else if (isThere(target, target.oldName)) move(target, target.oldName, target.name, true);
        else if (!target.replaces && !isThere(target, target.newName)) removeMade(target, target.name);
    }
    for (const Target& target : targets) removeMade(target, target.newName);
}

// The journal lies in a folder held like the targets'.
struct JournalPlace {
    std::string path;
    HeldFolder folder;
    std::wstring name;
};

JournalPlace journalPlace(const std::string& path) {
    const size_t nameAt = path.find_last_of("\\/") + 1;
    return {path, HeldFolder(widened(path.substr(0, nameAt)), path), widened(path.substr(nameAt))};
}

JournalEntry entryOf(const Target& target) {
    return {target.replaces, utf8Of(target.folder.finalPath()), utf8Of(target.name), utf8Of(target.newName),
            utf8Of(target.oldName)};
}

// Held open without sharing writes or deletes until it is removed.
FileHandle createdJournal(const JournalPlace& place) {
    beginStep("write", place.path);
    return place.folder.create(place.name, GENERIC_WRITE, place.path);
}

void writeJournal(HANDLE journal, const JournalPlace& place, const std::string& text) {
    writeAll(journal, text, place.path);
    beginStep("flush", place.path);
    if (!FlushFileBuffers(journal)) throw lastErrorFailure(place.path);
}

// A record that did not reach the disk whole is cut off again, so that the undo that follows is
// what a finish would do too.
void commit(HANDLE journal, const JournalPlace& place, const std::string& text) {
    beginStep("commit", place.path);
    try {
        writeAll(journal, commitRecord(text), place.path);
        if (!FlushFileBuffers(journal)) throw lastErrorFailure(place.path);
    } catch (const Failure&) {
        FILE_END_OF_FILE_INFO end{};
        end.EndOfFile.QuadPart = static_cast<LONGLONG>(text.size());
        SetFileInformationByHandle(journal, FileEndOfFileInfo, &end, sizeof end);
        FlushFileBuffers(journal);
        throw;
    }
}

// The last step of a replacement: nothing else it names is left.
void removeJournal(FileHandle& journal, const JournalPlace& place) {
    journal.reset();
    beginStep("remove", place.path);
    const FileHandle removed = retried([&] { return place.folder.open(place.name, DELETE, place.path); });
    if (!removed) throw lastErrorFailure(place.path);
    removeWhenClosed(removed.get(), place.path);
}

// A journal this program did not write whole: left as it is, for the user to look at.
class UntrustedJournal : public Failure {
public:
    explicit UntrustedJournal(const std::string& path)
        : Failure(failure_number::PathFileAccess, text::filled(text::kUntrustedJournal, {path})) {}
};

// The folders the journal names, as they were resolved when the save began; one that now resolves
// elsewhere is refused before anything is touched.
std::vector<Target> targetsOf(const std::vector<JournalEntry>& entries) {
    std::vector<Target> targets;
    for (const JournalEntry& entry : entries) {
        const std::wstring folder = fromUtf8(entry.folder);
        std::string shownFolder = narrowed(folder.substr(folder.starts_with(L"\\\\?\\") ? 4 : 0));
        if (!shownFolder.ends_with('\\')) shownFolder += '\\';
        Target target{HeldFolder(folder, shownFolder), shownFolder, fromUtf8(entry.name), fromUtf8(entry.newName),
                      fromUtf8(entry.oldName), entry.replaces};
        if (target.folder.finalPath() != folder) throw errorFailure(ERROR_PATH_NOT_FOUND, shownFolder);
        targets.push_back(std::move(target));
    }
    return targets;
}

// The journal, or a null handle when there is none. Whatever stands at its name that is not a file
// of its own is not acted on.
FileHandle openedJournal(const JournalPlace& place) {
    FileHandle journal;
    try {
        journal = retried([&] { return place.folder.open(place.name, GENERIC_READ, place.path, FILE_SHARE_READ); });
    } catch (const Failure&) {
        throw UntrustedJournal(place.path);
    }
    if (journal || GetLastError() == ERROR_FILE_NOT_FOUND) return journal;
    if (GetLastError() == ERROR_SHARING_VIOLATION) throw lastErrorFailure(place.path);
    throw UntrustedJournal(place.path);
}

// No folder, no journal: the pointer file's folder may be gone, and with it anything to finish.
bool folderIsMissing(const std::string& path) {
    const std::string folder = path.substr(0, path.find_last_of("\\/") + 1);
    if (GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
    return GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND;
}

}  // namespace

void replaceTogether(std::span<const FileReplacement> files, const std::string& journalPath,
                     const ReplacementHooks& hooks) {
    finishCutShortReplacement(journalPath);
    std::vector<Target> targets;
    for (const FileReplacement& file : files) targets.push_back(checkedTarget(file.target));
    const JournalPlace place = journalPlace(journalPath);
    std::vector<JournalEntry> entries;
    for (const Target& target : targets) entries.push_back(entryOf(target));
    const std::string text = journalText(entries);
    FileHandle journal = createdJournal(place);
    try {
        writeJournal(journal.get(), place, text);
        for (size_t i = 0; i < files.size(); ++i) writeNewContent(targets[i], files[i].content);
        if (hooks.beforeFirstMove) hooks.beforeFirstMove();
        for (const Target& target : targets) putInPlace(target);
        if (hooks.beforeCommit) hooks.beforeCommit();
        commit(journal.get(), place, text);
    } catch (...) {
        settle(targets, false);
        removeJournal(journal, place);
        throw;
    }
    // The commit record stands: so does the replacement. What cannot be removed now stays named
    // in the journal, for the next finish.
    try {
        settle(targets, true);
        removeJournal(journal, place);
    } catch (const Failure&) {
    }
}

void finishCutShortReplacement(const std::string& journalPath) {
    if (folderIsMissing(journalPath)) return;
    const JournalPlace place = journalPlace(journalPath);
    FileHandle journal = openedJournal(place);
    if (!journal) return;
    const std::optional<JournalContent> content = journalContent(readToEnd(journal.get(), journalPath));
    if (!content || !ownedByAdministrators(journal.get())) throw UntrustedJournal(journalPath);
    settle(targetsOf(content->entries), content->committed);
    removeJournal(journal, place);
}

std::optional<Failure> finishTrustedReplacement(const std::string& journal) {
    try {
        finishCutShortReplacement(journal);
    } catch (const UntrustedJournal& untrusted) {
        return untrusted;
    }
    return std::nullopt;
}

void setFileStepHook(FileStepHook hook) { stepHook() = std::move(hook); }

}  // namespace velko
