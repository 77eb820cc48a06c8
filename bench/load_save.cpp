// Times the real load and save in-process: the window opens on a small installation, the pointer
// file is turned to the installation under test, and then OK (a whole reload) and Save are
// pressed in turn, each save with another port, so that it checks the port against the whole
// configuration, included files too. Prints the medians, the bytes a load reads, how far the peak working set of
// the first load, and of the first load and save, rose above the working set before them, and
// how long opening the window on the small installation took:
//   bench_load_save <pointer file> <small XAMPP directory> <XAMPP directory under test> <runs>
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/frm_velko.h"
#include "bench_clock.h"

namespace {

using velko::bench::median;
using velko::bench::timeMs;

// A question (the control panel's port moving with Apache's) is answered Yes, so that every save
// writes; any other message box means a failure, which ends the benchmark.
class QuietDialogs final : public velko::Dialogs {
public:
    int showMessage(HWND, const std::string& text, const std::string&, UINT style) override {
        if ((style & MB_TYPEMASK) == MB_YESNO) return IDYES;
        std::fprintf(stderr, "the configurator reported: %s\n", text.c_str());
        std::exit(3);
    }
    std::optional<std::string> askText(HWND, const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    BOOL openFileName(OPENFILENAMEA&) override { return FALSE; }
    void trackPopupMenu(HMENU, HWND) override {}
    void endProcess(UINT exitCode) override { std::exit(static_cast<int>(exitCode)); }
};

void writePointer(const std::string& pointerFile, const std::string& xamppDirectory) {
    const std::string line = "xampp_dir\t= " + xamppDirectory + "\r\n";
    const HANDLE file = CreateFileA(pointerFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file == INVALID_HANDLE_VALUE || !WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr)) {
        std::fprintf(stderr, "cannot write %s\n", pointerFile.c_str());
        std::exit(2);
    }
    CloseHandle(file);
}

unsigned long long fileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Every file a load reads, the included configuration files too, once each.
unsigned long long bytesRead(const std::string& pointerFile, const std::string& xampp) {
    unsigned long long bytes = fileSize(pointerFile);
    for (const char* relative : {"xampp-changes.txt", "htdocs\\velko\\index.pl", "apache\\conf\\httpd.conf",
                                 "htdocs\\velko\\config.dat", "htdocs\\velko\\enc_opts.txt", "xampp-control.ini"})
        bytes += fileSize(xampp + relative);
    const std::string extra = xampp + "apache\\conf\\extra\\";
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((extra + "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return bytes;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) bytes += fileSize(extra + entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return bytes;
}

PROCESS_MEMORY_COUNTERS memory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

double mib(unsigned long long bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

void press(HWND window, int id) { SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// What a message loop does between two clicks: painting and the like are no part of the next one.
void handlePendingMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: bench_load_save <pointer file> <small XAMPP dir> <XAMPP dir> <runs>\n");
        return 2;
    }
    const std::string pointerFile = argv[1], small = argv[2], xampp = argv[3];
    const int runs = std::atoi(argv[4]);

    QuietDialogs dialogs;
    velko::InstallationPaths paths;
    paths.pointerFile = pointerFile;
    writePointer(pointerFile, small);
    velko::FrmVelko window(GetModuleHandleA(nullptr), dialogs, paths);
    bool opened = false;
    const double openMs = timeMs([&] { opened = window.open(SW_SHOWNOACTIVATE); });
    if (!opened) return 3;

    // One load and save of the small installation first, so that the working set measured next
    // holds the code they run.
    press(window.hwnd(), velko::controlId(velko::Control::cmdPathOK));
    press(window.hwnd(), velko::optSave);
    handlePendingMessages();

    writePointer(pointerFile, xampp);
    const unsigned long long bytes = bytesRead(pointerFile, xampp);
    const SIZE_T workingSetBefore = memory().WorkingSetSize;
    std::vector<double> loads, saves;
    SIZE_T peakAfterLoad = 0, peakAfterSave = 0;
    for (int run = 0; run < runs; ++run) {
        handlePendingMessages();
        loads.push_back(timeMs([&] { press(window.hwnd(), velko::controlId(velko::Control::cmdPathOK)); }));
        if (run == 0) peakAfterLoad = memory().PeakWorkingSetSize;
        handlePendingMessages();
        SetWindowTextA(window.control(velko::Control::txtWSP), run % 2 == 0 ? "8081" : "8082");
        saves.push_back(timeMs([&] { press(window.hwnd(), velko::optSave); }));
        if (run == 0) peakAfterSave = memory().PeakWorkingSetSize;
    }
    std::printf("load_ms=%.2f save_ms=%.2f bytes_read=%llu load_peak_added=%llu save_peak_added=%llu"
                " working_set_before_mib=%.1f open_small_ms=%.1f\n",
                median(loads), median(saves), bytes,
                static_cast<unsigned long long>(peakAfterLoad > workingSetBefore ? peakAfterLoad - workingSetBefore : 0),
                static_cast<unsigned long long>(peakAfterSave > workingSetBefore ? peakAfterSave - workingSetBefore : 0),
                mib(workingSetBefore), openMs);
    return 0;
}
