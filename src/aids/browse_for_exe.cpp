#include "aids/browse_for_exe.h"

#include <cstring>

#include "ui_text.h"

namespace velko {
namespace {

constexpr DWORD kBufferSize = 255;  // 254 characters and their NUL

}  // namespace

std::string BrowseForExe(Dialogs& dialogs, HWND owner, HINSTANCE instance) {
    std::string file(kBufferSize - 1, ' ');
    std::string fileTitle(kBufferSize - 1, ' ');
    char initialDirectory[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, initialDirectory);
    const std::string title(text::kPickerTitle);

    OPENFILENAMEA record{};
    record.lStructSize = sizeof record;
    record.hwndOwner = owner;
    record.hInstance = instance;
    record.lpstrFilter = text::kPickerFilter;
    record.lpstrFile = file.data();
    record.nMaxFile = kBufferSize;
    record.lpstrFileTitle = fileTitle.data();
    record.nMaxFileTitle = kBufferSize;
    record.lpstrInitialDir = initialDirectory;
    record.lpstrTitle = title.c_str();
    record.Flags = 0;

    if (dialogs.openFileName(record) != 1) return {};
    return std::string(file.c_str(), strnlen(file.c_str(), file.size()));
}

std::optional<std::string> pathWithoutExe(std::string_view path) {
    constexpr std::string_view kEnding = ".exe";
    if (path.size() < kEnding.size() || path.substr(path.size() - kEnding.size()) != kEnding) return std::nullopt;
    return std::string(path.substr(0, path.size() - kEnding.size()));
}

}  // namespace velko
