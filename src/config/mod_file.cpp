#include "config/mod_file.h"

#include <windows.h>

#include <algorithm>

#include "config/text_lines.h"
#include "win/failure.h"
#include "win/file_io.h"
#include "win/handles.h"
#include "win/win_error.h"

namespace velko {
namespace {

constexpr DWORD kChunkSize = 64 * 1024;

// Reads the file chunk by chunk until onChunk returns false or the file ends.
template <class OnChunk>
void readChunks(HANDLE file, const std::string& path, OnChunk&& onChunk) {
    std::string chunk(kChunkSize, '\0');
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, chunk.data(), kChunkSize, &got, nullptr)) throw lastErrorFailure(path);
        if (got == 0 || !onChunk(std::string_view(chunk.data(), got))) return;
    }
}

bool isOrdinaryFile(const WIN32_FIND_DATAA& entry) {
    constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (entry.dwFileAttributes & kNotOrdinary) == 0;
}

bool isListedDirectory(const WIN32_FIND_DATAA& entry) {
    const std::string_view name = entry.cFileName;
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(entry.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) &&
           name != "." && name != "..";
}

// Calls onEntry for every entry that the search pattern finds, until it returns true.
template <class OnEntry>
bool findAny(const std::string& pattern, OnEntry&& onEntry) {
    WIN32_FIND_DATAA entry;
    FindHandle search(orNull(FindFirstFileA(pattern.c_str(), &entry)));
    if (!search) return false;
    do {
        if (onEntry(entry)) return true;
    } while (FindNextFileA(search.get(), &entry));
    return false;
}

}  // namespace

std::string GetLineWithKey(const std::string& path, std::string_view key) {
    const LineTest holdsTheKey = [key](std::string_view line) { return holdsKey(line, key); };
    return std::move(FirstLinesWhere(path, LineEnds::CrLfOrCr, std::span(&holdsTheKey, 1)).front());
}

std::vector<std::string> FirstLinesWhere(const std::string& path, LineEnds ends, std::span<const LineTest> tests) {
    FileHandle file(orNull(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)));
    if (!file) throw fileNotFound(path);
    std::vector<std::string> found(tests.size());
    std::vector<bool> isFound(tests.size(), false);
    size_t missing = tests.size();
    LineSplitter splitter(ends);
    const auto take = [&](std::string_view line) {
        for (size_t i = 0; i < tests.size(); ++i) {
            if (isFound[i] || !tests[i](line)) continue;
            found[i].assign(line);
            isFound[i] = true;
            --missing;
        }
        return missing > 0;
    };
    bool searching = true;
    readChunks(file.get(), path, [&](std::string_view chunk) { return searching = splitter.feed(chunk, take); });
    if (searching) splitter.finish(take);
    return found;
}

void AppendLine(const std::string& path, std::string_view line) {
    const bool append = FirstFileExists(path);
    // OPEN_ALWAYS and an explicit truncation also empty a hidden or system file, which
    // CREATE_ALWAYS would refuse.
    FileHandle file(orNull(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!file) throw lastErrorFailure(path);
    const LARGE_INTEGER start{};
    if (!SetFilePointerEx(file.get(), start, nullptr, append ? FILE_END : FILE_BEGIN) ||
        (!append && !SetEndOfFile(file.get())))
        throw lastErrorFailure(path);
    std::string bytes(line);
    bytes += "\r\n";
    writeAll(file.get(), bytes, path);
}

bool FirstFileExists(const std::string& pattern) {
    // The platform's search finds nothing for a pattern that ends in "\": search its content.
    std::string search = pattern;
    if (search.empty() || search.back() == '\\') search += '*';
    return findAny(search, isOrdinaryFile);
}

bool equalsIgnoringCaseInCodePage(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    std::string lowerA(a), lowerB(b);
    CharLowerBuffA(lowerA.data(), static_cast<DWORD>(lowerA.size()));
    CharLowerBuffA(lowerB.data(), static_cast<DWORD>(lowerB.size()));
    return lowerA == lowerB;
}

std::vector<std::string> subdirectoryNames(const std::string& directory) {
    const DWORD attributes = GetFileAttributesA(directory.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) throw lastErrorFailure(directory);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) throw errorFailure(ERROR_DIRECTORY, directory);
    std::vector<std::string> names;
    findAny(directory + "\\*", [&](const WIN32_FIND_DATAA& entry) {
        if (isListedDirectory(entry)) names.emplace_back(entry.cFileName);
        return false;
    });
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return asciiLower(a) < asciiLower(b); });
    return names;
}

}  // namespace velko
