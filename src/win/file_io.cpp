#include "win/file_io.h"

#include <algorithm>

#include "win/win_error.h"

namespace velko {

void writeAll(HANDLE file, std::string_view bytes, const std::string& path) {
    while (!bytes.empty()) {
        const DWORD part = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), part, &written, nullptr)) throw lastErrorFailure(path);
        bytes.remove_prefix(written);
    }
}

}  // namespace velko
