#include "win/held_folder.h"

#include <winternl.h>

#include <cstring>

#include "ui_text.h"
#include "win/program_paths.h"
#include "win/system_library.h"
#include "win/win_error.h"

namespace velko {
namespace {

constexpr char kNtdll[] = "ntdll.dll";
constexpr char kBcrypt[] = "bcrypt.dll";
constexpr char kAdvapi32[] = "advapi32.dll";

// The native calls that take a folder handle as the root of a name; ntdll is in every process.
template <class Function>
Function* native(const char* name) {
    Function* function = keptLibrary<kNtdll>().function<Function>(name);
    if (!function) throw errorFailure(ERROR_PROC_NOT_FOUND, name);
    return function;
}

// The native layer's FILE_RENAME_INFORMATION, which mingw's headers lack.
struct RenameInformation {
    BOOLEAN replaceIfExists;
    HANDLE rootDirectory;
    ULONG fileNameLength;
    WCHAR fileName[1];
};
constexpr ULONG kFileRenameInformation = 10;
// Held folders let others read and add files, but not move, rename or remove them.
constexpr ULONG kShareHeldFolder = FILE_SHARE_READ | FILE_SHARE_WRITE;

// A virus scanner or the search indexer opens a file that has just been written or moved, for a
// moment: its refusal is for the caller to try again.
bool isMomentaryRefusal(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

DWORD win32ErrorOf(NTSTATUS status) {
    using ToDosError = ULONG NTAPI(NTSTATUS);
    return native<ToDosError>("RtlNtStatusToDosError")(status);
}

std::string narrowedTo(const std::wstring& text, UINT codePage) {
    const int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
    return result;
}

std::wstring widenedFrom(const std::string& text, UINT codePage) {
    const int size = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(), size);
    return result;
}

std::wstring finalPathOf(HANDLE handle, const std::string& shownAs) {
    std::optional<std::wstring> path = finalWidePathOf(handle);
    if (!path) throw lastErrorFailure(shownAs);
    return std::move(*path);
}

// Wine answers this one slowly (it asks for the volume too): it is asked once per folder.
bool sameFile(HANDLE one, HANDLE other, const std::string& shownAs) {
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    if (!GetFileInformationByHandle(one, &a) || !GetFileInformationByHandle(other, &b)) throw lastErrorFailure(shownAs);
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

FileHandle openedFolder(const std::wstring& path, const std::string& shownAs) {
    FileHandle folder(orNull(CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                         kShareHeldFolder, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)));
    // A folder that is not there is a path not found, whichever part of it is missing.
    if (!folder) throw errorFailure(GetLastError() == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : GetLastError(), shownAs);
    return folder;
}

Failure folderRefused(const std::string& shownAs) {
    return Failure(failure_number::PathFileAccess, text::filled(text::kFolderRefused, {shownAs}));
}

// "\\?\C:\..." on a fixed, removable or RAM drive: not a network share, not a device.
bool isOnLocalDrive(const std::wstring& finalPath) {
    constexpr std::wstring_view kDosPrefix = L"\\\\?\\";
    if (!finalPath.starts_with(kDosPrefix) || finalPath.size() < 7 || finalPath.substr(5, 2) != L":\\") return false;
    const UINT type = GetDriveTypeW(finalPath.substr(4, 3).c_str());
    return type == DRIVE_FIXED || type == DRIVE_REMOVABLE || type == DRIVE_RAMDISK;
}

}  // namespace

// The folder is opened once to learn where it is, then each folder from the drive's root down by
// that final path, which has no link left; the last must be the folder first opened, else
// something was moved in between.
HeldFolder::HeldFolder(const std::wstring& path, const std::string& shownAs) {
    const FileHandle first = openedFolder(path, shownAs);
    if (!(attributesOf(first.get(), shownAs) & FILE_ATTRIBUTE_DIRECTORY)) throw errorFailure(ERROR_DIRECTORY, shownAs);
    finalPath_ = finalPathOf(first.get(), shownAs);
    if (!isOnLocalDrive(finalPath_)) throw folderRefused(shownAs);
    for (size_t end = finalPath_.find(L'\\', 6); end != std::wstring::npos; end = finalPath_.find(L'\\', end + 1))
        held_.push_back(openedFolder(finalPath_.substr(0, end + 1), shownAs));
    held_.push_back(openedFolder(finalPath_, shownAs));
    if (!sameFile(first.get(), held_.back().get(), shownAs)) throw folderRefused(shownAs);
}

FileHandle HeldFolder::opened(const std::wstring& name, ACCESS_MASK access, ULONG share, ULONG disposition,
                              const std::string& shownAs) const {
    UNICODE_STRING objectName{static_cast<USHORT>(name.size() * sizeof(wchar_t)),
                              static_cast<USHORT>(name.size() * sizeof(wchar_t)), const_cast<PWSTR>(name.c_str())};
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &objectName, OBJ_CASE_INSENSITIVE, held_.back().get(), nullptr);
    IO_STATUS_BLOCK status{};
    HANDLE file = nullptr;
    // Written through, as MoveFileEx's MOVEFILE_WRITE_THROUGH does: a move is on the disk when it returns.
    const ULONG options =
        FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT | FILE_WRITE_THROUGH;
    const NTSTATUS result = native<decltype(NtCreateFile)>("NtCreateFile")(
        &file, access | SYNCHRONIZE | FILE_READ_ATTRIBUTES, &attributes, &status, nullptr, FILE_ATTRIBUTE_NORMAL, share,
        disposition, options, nullptr, 0);
    if (result < 0) {
        constexpr NTSTATUS kFileIsADirectory = static_cast<NTSTATUS>(0xC00000BA);
        const DWORD error = win32ErrorOf(result);
        SetLastError(error);
        if (result != kFileIsADirectory && (error == ERROR_FILE_NOT_FOUND || isMomentaryRefusal(error))) return FileHandle();
        throw errorFailure(error, shownAs);
    }
    FileHandle handle(file);
    // Windows opens a link itself, and marks it; Wine follows it, to another final path.
    const bool link = attributesOf(handle.get(), shownAs) & FILE_ATTRIBUTE_REPARSE_POINT;
    const std::wstring separator = finalPath_.ends_with(L'\\') ? L"" : L"\\";  // none after a drive's root
    if (link || !samePath(finalPathOf(handle.get(), shownAs), finalPath_ + separator + name))
        throw Failure(failure_number::PathFileAccess, text::filled(text::kLinkRefused, {shownAs}));
    return handle;
}

FileHandle HeldFolder::open(const std::wstring& name, ACCESS_MASK access, const std::string& shownAs, ULONG share) const {
    return opened(name, access, share, FILE_OPEN, shownAs);
}

FileHandle HeldFolder::create(const std::wstring& name, ACCESS_MASK access, const std::string& shownAs) const {
    FileHandle file = opened(name, access, FILE_SHARE_READ, FILE_CREATE, shownAs);
    if (!file) throw lastErrorFailure(shownAs);
    return file;
}

bool HeldFolder::rename(HANDLE file, const std::wstring& name, bool replace, const std::string& shownAs) const {
    const size_t nameBytes = name.size() * sizeof(wchar_t);
    std::vector<char> buffer(sizeof(RenameInformation) + nameBytes);
    auto* information = reinterpret_cast<RenameInformation*>(buffer.data());
    information->replaceIfExists = replace;
    information->rootDirectory = held_.back().get();
    information->fileNameLength = static_cast<ULONG>(nameBytes);
    std::memcpy(information->fileName, name.data(), nameBytes);
    IO_STATUS_BLOCK status{};
    using SetInformation = NTSTATUS NTAPI(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, ULONG);
    const NTSTATUS result = native<SetInformation>("NtSetInformationFile")(
        file, &status, information, static_cast<ULONG>(buffer.size()), kFileRenameInformation);
    if (result >= 0) return true;
    const DWORD error = win32ErrorOf(result);
    SetLastError(error);
    if (isMomentaryRefusal(error)) return false;
    throw errorFailure(error, shownAs);
}

bool ownedByAdministrators(HANDLE file) {
    SystemLibrary& security = keptLibrary<kAdvapi32>();
    const auto getSecurity = security.function<decltype(GetKernelObjectSecurity)>("GetKernelObjectSecurity");
    const auto ownerOf = security.function<decltype(GetSecurityDescriptorOwner)>("GetSecurityDescriptorOwner");
    const auto isWellKnown = security.function<decltype(IsWellKnownSid)>("IsWellKnownSid");
    const auto openToken = security.function<decltype(OpenProcessToken)>("OpenProcessToken");
    const auto tokenInformation = security.function<decltype(GetTokenInformation)>("GetTokenInformation");
    const auto equal = security.function<decltype(EqualSid)>("EqualSid");
    if (!getSecurity || !ownerOf || !isWellKnown || !openToken || !tokenInformation || !equal) return false;
    DWORD size = 0;
    getSecurity(file, OWNER_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<char> descriptor(size), user(SECURITY_MAX_SID_SIZE + sizeof(TOKEN_USER));
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    if (size == 0 || !getSecurity(file, OWNER_SECURITY_INFORMATION, descriptor.data(), size, &size) ||
        !ownerOf(descriptor.data(), &owner, &defaulted) || !owner)
        return false;
    if (isWellKnown(owner, WinBuiltinAdministratorsSid) || isWellKnown(owner, WinLocalSystemSid)) return true;
    HANDLE token = nullptr;
    if (!openToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    const TokenHandle tokenOwner(token);
    DWORD userSize = 0;
    return tokenInformation(token, TokenUser, user.data(), static_cast<DWORD>(user.size()), &userSize) &&
           equal(owner, reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid);
}

DWORD attributesOf(HANDLE file, const std::string& shownAs) {
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic)) throw lastErrorFailure(shownAs);
    return basic.FileAttributes;
}

void removeWhenClosed(HANDLE file, const std::string& shownAs) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (!SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition))
        throw lastErrorFailure(shownAs);
}

std::wstring widened(const std::string& text) { return widenedFrom(text, CP_ACP); }
std::string narrowed(const std::wstring& text) { return narrowedTo(text, CP_ACP); }
std::string utf8Of(const std::wstring& text) { return narrowedTo(text, CP_UTF8); }
std::wstring fromUtf8(const std::string& text) { return widenedFrom(text, CP_UTF8); }

std::wstring randomHex() {
    using GenRandom = LONG WINAPI(void*, PUCHAR, ULONG, ULONG);
    constexpr ULONG kSystemPreferredGenerator = 2;  // BCRYPT_USE_SYSTEM_PREFERRED_RNG
    unsigned char bytes[16];
    GenRandom* generate = keptLibrary<kBcrypt>().function<GenRandom>("BCryptGenRandom");
    if (!generate || generate(nullptr, bytes, sizeof bytes, kSystemPreferredGenerator) < 0)
        throw errorFailure(ERROR_GEN_FAILURE, "BCryptGenRandom");
    std::wstring digits;
    for (const unsigned char byte : bytes) digits.append({L"0123456789abcdef"[byte >> 4], L"0123456789abcdef"[byte & 15]});
    return digits;
}

}  // namespace velko
