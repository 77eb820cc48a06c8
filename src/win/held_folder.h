#pragma once
// A folder opened once and held, with every folder above it, for as long as a save or its
// recovery acts in it: while held, none of them can be moved, renamed or removed, so that the
// folder's final path keeps naming it. Its files are reached by name relative to it, and only as
// themselves: a name that is a link, or that leads anywhere but into this folder, is refused.
#include <windows.h>

#include <string>
#include <vector>

#include "win/handles.h"

namespace velko {

class HeldFolder {
public:
    // The folder at path, following the links on the way (an administrator's junction); shownAs
    // names it in failures. A path that leads to no folder of a local drive is refused.
    HeldFolder(const std::wstring& path, const std::string& shownAs);

    // "\\?\C:\xampp\apache\conf": the folder as Windows resolved it when it was opened.
    const std::wstring& finalPath() const { return finalPath_; }

    // The file of that name here, opened with access and share; a null handle, with the last
    // error, when there is none or when another program refuses it for the moment (for the caller
    // to try again). A folder of that name, and every other failure, is a failure naming shownAs.
    FileHandle open(const std::wstring& name, ACCESS_MASK access, const std::string& shownAs,
                    ULONG share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE) const;
    // A new file of that name, which must not be there yet, written through to the disk.
    FileHandle create(const std::wstring& name, ACCESS_MASK access, const std::string& shownAs) const;
    // Gives an open file of this folder that name here; false (with the last error) when
    // another program refuses it for the moment.
    bool rename(HANDLE file, const std::wstring& name, bool replace, const std::string& shownAs) const;

private:
    FileHandle opened(const std::wstring& name, ACCESS_MASK access, ULONG share, ULONG disposition,
                      const std::string& shownAs) const;

    std::vector<FileHandle> held_;  // from the drive's root down to the folder itself
    std::wstring finalPath_;
};

// The attributes of an open file (opened with FILE_READ_ATTRIBUTES).
DWORD attributesOf(HANDLE file, const std::string& shownAs);

// Whether an open file (opened with READ_CONTROL) belongs to the Administrators group, the system
// or the account the program runs as: what this elevated program made, and no other account.
bool ownedByAdministrators(HANDLE file);

// Marks an open file (opened with DELETE access) to be removed when its last handle closes.
void removeWhenClosed(HANDLE file, const std::string& shownAs);

// UTF-16 to and from text in the program's code page, and to and from UTF-8.
std::wstring widened(const std::string& text);
std::string narrowed(const std::wstring& text);
std::string utf8Of(const std::wstring& text);
std::wstring fromUtf8(const std::string& text);

// Sixteen bytes from the system's random source, as 32 hexadecimal digits.
std::wstring randomHex();

}  // namespace velko
