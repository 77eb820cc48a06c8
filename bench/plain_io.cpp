// The baseline of load and save: a plain program that reads, once each and whole, the files a
// load reads and lists the themes as it does, and writes the bytes a save writes, each to a
// temporary file that is flushed and renamed over the old one as the save does:
//   bench_plain_io <XAMPP directory ending in \> <pointer file> <runs>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_clock.h"

namespace {

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "%s: error %lu\n", what.c_str(), GetLastError());
    std::exit(2);
}

std::string readFile(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) fail("open " + path);
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!bytes.empty() && (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
                           got != bytes.size()))
        fail("read " + path);
    CloseHandle(file);
    return bytes;
}

void replaceFile(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".new";
    const HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) fail("create " + temporary);
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size() || !FlushFileBuffers(file))
        fail("write " + temporary);
    CloseHandle(file);
    if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        fail("rename " + temporary);
}

std::vector<std::string> subdirectories(const std::string& directory) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) names.emplace_back(entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

struct Installation {
    std::string pointerFile;
    std::string changeLog, mainScript, apacheConfiguration, themes, settings, presets;

    Installation(const std::string& xampp, std::string pointer)
        : pointerFile(std::move(pointer)),
          changeLog(xampp + "xampp-changes.txt"),
          mainScript(xampp + "htdocs\\velko\\index.pl"),
          apacheConfiguration(xampp + "apache\\conf\\httpd.conf"),
          themes(xampp + "htdocs\\velko\\themes"),
          settings(xampp + "htdocs\\velko\\config.dat"),
          presets(xampp + "htdocs\\velko\\enc_opts.txt") {}
};

struct Loaded {
    std::string pointer, settings;
};

Loaded load(const Installation& files) {
    Loaded loaded;
    loaded.pointer = readFile(files.pointerFile);
    loaded.settings = readFile(files.settings);
    for (const std::string* path : {&files.changeLog, &files.mainScript, &files.apacheConfiguration, &files.presets})
        readFile(*path);
    subdirectories(files.themes);
    return loaded;
}

void save(const Installation& files, const Loaded& loaded) {
    replaceFile(files.settings, loaded.settings);
    replaceFile(files.pointerFile, loaded.pointer);
    replaceFile(files.apacheConfiguration, readFile(files.apacheConfiguration));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_plain_io <XAMPP directory> <pointer file> <runs>\n");
        return 2;
    }
    const Installation files(argv[1], argv[2]);
    std::vector<double> loads, saves;
    for (int run = 0, runs = std::atoi(argv[3]); run < runs; ++run) {
        Loaded loaded;
        loads.push_back(velko::bench::timeMs([&] { loaded = load(files); }));
        saves.push_back(velko::bench::timeMs([&] { save(files, loaded); }));
    }
    std::printf("load_ms=%.2f save_ms=%.2f\n", velko::bench::median(loads), velko::bench::median(saves));
    return 0;
}
