#include "config/replacement_file.h"

#include <windows.h>

#include "config/mod_file.h"
#include "win/file_io.h"
#include "win/handles.h"
#include "win/system_library.h"
#include "win/win_error.h"

namespace velko {
namespace {

std::string directoryOf(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
constexpr SECURITY_INFORMATION kKeptSecurity =
    OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

// A read-only target, a directory in its place, or one that another program holds open against
// writing or deleting would refuse the rename; a target that does not exist yet is created.
void refuseUnreplaceableTarget(const std::string& target) {
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
        throw errorFailure(ERROR_ACCESS_DENIED, target);
    const FileHandle probe(orNull(CreateFileA(target.c_str(), GENERIC_WRITE | DELETE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!probe) throw lastErrorFailure(target);
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

// Opens the temporary file; a failure names the target.
FileHandle openTemporary(const std::string& path, DWORD disposition, const std::string& target) {
    FileHandle file(orNull(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition,
                                       FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!file) throw lastErrorFailure(target);
    return file;
}

}  // namespace

ReplacementFile::ReplacementFile(std::string target) : target_(std::move(target)) {
    char name[MAX_PATH];
    const std::string directory = directoryOf(target_);
    if (!GetTempFileNameA(directory.c_str(), "vlk", 0, name)) throw lastErrorFailure(target_);
    temporary_ = name;
    // Wine hands out the name without creating the file where it cannot: a directory that
    // refuses new files then fails here, as it does on Windows above.
    try {
        openTemporary(temporary_, CREATE_ALWAYS, target_);
    } catch (const Failure&) {
        DeleteFileA(temporary_.c_str());
        throw;
    }
}

ReplacementFile::~ReplacementFile() {
    if (!committed_) DeleteFileA(temporary_.c_str());
}

void ReplacementFile::appendLine(std::string_view line) {
    try {
        AppendLine(temporary_, line);
    } catch (const Failure& failure) {
        throw aboutTarget(failure);
    }
}

// Short pieces are gathered before they are written, long ones are written as they are.
void ReplacementFile::write(std::span<const std::string_view> pieces) {
    constexpr size_t kGathered = 64 * 1024;
    FileHandle file = openTemporary(temporary_, TRUNCATE_EXISTING, target_);
    std::string gathered;
    for (const std::string_view piece : pieces) {
        if (gathered.size() + piece.size() > kGathered) {
            writeAll(file.get(), gathered, target_);
            gathered.clear();
        }
        if (piece.size() >= kGathered) writeAll(file.get(), piece, target_);
        else gathered.append(piece);
    }
    writeAll(file.get(), gathered, target_);
}

void ReplacementFile::prepare() {
    {
        FileHandle file = openTemporary(temporary_, OPEN_EXISTING, target_);
        if (!FlushFileBuffers(file.get())) throw lastErrorFailure(target_);
    }
    refuseUnreplaceableTarget(target_);
    if (GetFileAttributesA(target_.c_str()) == INVALID_FILE_ATTRIBUTES) return;  // a new file
    carryOverAttributes(target_, temporary_);
    carryOverSecurity(target_, temporary_);
}

void ReplacementFile::commit() {
    if (!MoveFileExA(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw lastErrorFailure(target_);
    committed_ = true;
}

Failure ReplacementFile::aboutTarget(const Failure& failure) const {
    std::string description = failure.description();
    if (const size_t at = description.find(temporary_); at != std::string::npos)
        description.replace(at, temporary_.size(), target_);
    return Failure(failure.number(), description);
}

}  // namespace velko
