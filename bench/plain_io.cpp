// The baseline of load and save: the plain way to move the bytes that a load reads and a save
// writes, as fast as it goes. Every file a load reads is read once, in fixed chunks through one
// reused buffer, and the themes are listed as the load lists them; every file a save writes is
// copied in the same chunks to a temporary file that is flushed and renamed over the old one, as
// the save does. Each chunk size is a variant, and the fastest variant is the baseline:
//   bench_plain_io <XAMPP directory ending in \> <pointer file> <runs>
// prints the median of the fastest variant of each, and its chunk size in KiB.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_clock.h"

namespace {

constexpr size_t kChunkSizes[] = {64 * 1024, 256 * 1024, 1024 * 1024, 4 * 1024 * 1024};

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "%s: error %lu\n", what.c_str(), GetLastError());
    std::exit(2);
}

class File {
public:
    File(const std::string& path, DWORD access, DWORD creation)
        : path_(path),
          handle_(CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, creation, FILE_FLAG_SEQUENTIAL_SCAN,
                              nullptr)) {
        if (handle_ == INVALID_HANDLE_VALUE) fail("open " + path);
    }
    ~File() { CloseHandle(handle_); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    DWORD read(char* chunk, size_t size) {
        DWORD got = 0;
        if (!ReadFile(handle_, chunk, static_cast<DWORD>(size), &got, nullptr)) fail("read " + path_);
        return got;
    }
    void write(const char* bytes, DWORD size) {
        DWORD written = 0;
        if (!WriteFile(handle_, bytes, size, &written, nullptr) || written != size) fail("write " + path_);
    }
    void flush() {
        if (!FlushFileBuffers(handle_)) fail("flush " + path_);
    }

private:
    std::string path_;
    HANDLE handle_;
};

void readAll(const std::string& path, char* chunk, size_t size) {
    File file(path, GENERIC_READ, OPEN_EXISTING);
    while (file.read(chunk, size) > 0) {
    }
}

void copyOver(const std::string& path, char* chunk, size_t size) {
    const std::string temporary = path + ".new";
    {
        File source(path, GENERIC_READ, OPEN_EXISTING);
        File copy(temporary, GENERIC_WRITE, CREATE_ALWAYS);
        for (DWORD got; (got = source.read(chunk, size)) > 0;) copy.write(chunk, got);
        copy.flush();
    }
    if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        fail("rename " + temporary);
}

void listSubdirectories(const std::string& directory) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) names.emplace_back(entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

// The files of a directory, by their full paths.
std::vector<std::string> filesIn(const std::string& directory) {
    std::vector<std::string> paths;
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return paths;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) paths.push_back(directory + "\\" + entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return paths;
}

struct Installation {
    std::string pointerFile;
    std::string changeLog, mainScript, apacheConfiguration, themes, settings, presets;
    std::vector<std::string> includedConfigurations;

    Installation(const std::string& xampp, std::string pointer)
        : pointerFile(std::move(pointer)),
          changeLog(xampp + "xampp-changes.txt"),
          mainScript(xampp + "htdocs\\velko\\index.pl"),
          apacheConfiguration(xampp + "apache\\conf\\httpd.conf"),
          themes(xampp + "htdocs\\velko\\themes"),
          settings(xampp + "htdocs\\velko\\config.dat"),
          presets(xampp + "htdocs\\velko\\enc_opts.txt"),
          includedConfigurations(filesIn(xampp + "apache\\conf\\extra")) {}
};

void load(const Installation& files, char* chunk, size_t size) {
    for (const std::string* path : {&files.pointerFile, &files.settings, &files.changeLog, &files.mainScript,
                                    &files.apacheConfiguration, &files.presets})
        readAll(*path, chunk, size);
    listSubdirectories(files.themes);
}

// A save with a new port reads the included configuration files besides.
void save(const Installation& files, char* chunk, size_t size) {
    for (const std::string* path : {&files.settings, &files.pointerFile, &files.apacheConfiguration})
        copyOver(*path, chunk, size);
    for (const std::string& included : files.includedConfigurations) readAll(included, chunk, size);
}

struct Variant {
    size_t chunkSize;
    std::vector<double> loads{}, saves{};
};

// The variant whose median of the given measure is the least.
template <class Measure>
const Variant& fastest(const std::vector<Variant>& variants, Measure measure) {
    const Variant* best = &variants.front();
    for (const Variant& variant : variants)
        if (velko::bench::median(variant.*measure) < velko::bench::median(best->*measure)) best = &variant;
    return *best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_plain_io <XAMPP directory> <pointer file> <runs>\n");
        return 2;
    }
    const Installation files(argv[1], argv[2]);
    // One buffer for every variant, touched before the first run: its pages cost nothing after.
    std::vector<char> buffer(kChunkSizes[std::size(kChunkSizes) - 1], '\0');
    std::vector<Variant> variants;
    for (const size_t size : kChunkSizes) variants.push_back({size});
    for (int run = 0, runs = std::atoi(argv[3]); run < runs; ++run) {
        for (Variant& variant : variants) {
            variant.loads.push_back(velko::bench::timeMs([&] { load(files, buffer.data(), variant.chunkSize); }));
            variant.saves.push_back(velko::bench::timeMs([&] { save(files, buffer.data(), variant.chunkSize); }));
        }
    }
    const Variant& reading = fastest(variants, &Variant::loads);
    const Variant& writing = fastest(variants, &Variant::saves);
    std::printf("load_ms=%.2f save_ms=%.2f load_chunk_kib=%zu save_chunk_kib=%zu\n", velko::bench::median(reading.loads),
                velko::bench::median(writing.saves), reading.chunkSize / 1024, writing.chunkSize / 1024);
    return 0;
}
