#include "temp_installation.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace velko::testing {
namespace {

std::string uniqueRoot() {
    static std::atomic<int> counter{0};
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "velko-test-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(counter++) + "\\";
}

void clearAttributes(const fs::path& root) {
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(root, ignored))
        SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace

TempDirectory::TempDirectory() : root_(uniqueRoot()) { fs::create_directories(root_); }

TempDirectory::~TempDirectory() {
    clearAttributes(root_);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

void TempDirectory::write(std::string_view relative, std::string_view bytes) const {
    const fs::path file = path(relative);
    fs::create_directories(file.parent_path());
    writeBytes(file.string(), bytes);
}

std::string TempDirectory::read(std::string_view relative) const { return readBytes(path(relative)); }

bool TempDirectory::exists(std::string_view relative) const { return fs::exists(path(relative)); }

void TempDirectory::makeDirectory(std::string_view relative) const { fs::create_directories(path(relative)); }

void TempDirectory::remove(std::string_view relative) const { fs::remove_all(path(relative)); }

std::vector<std::string> TempDirectory::list(std::string_view relativeDirectory) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path(relativeDirectory)))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void TempDirectory::copyDemo(std::string_view relative) const {
    fs::copy(VELKO_DEMO_DIR, path(relative), fs::copy_options::recursive);
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string unixPathOf(const std::string& path) {
    using UnixName = char* CDECL(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixName*>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    char* name = unixName ? unixName(std::wstring(path.begin(), path.end()).c_str()) : nullptr;
    if (!name) throw std::runtime_error("no Unix path for " + path);
    const std::string unixPath(name);
    HeapFree(GetProcessHeap(), 0, name);
    return unixPath;
}

}  // namespace velko::testing
