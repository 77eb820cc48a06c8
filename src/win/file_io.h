#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "win/handles.h"

namespace velko {

// Writes every byte, or throws the failure for path.
void writeAll(HANDLE file, std::string_view bytes, const std::string& path);

// The whole content of a file, as bytes, through a view of the file: under Wine, copying a long
// file into fresh memory costs several times the read itself. While the view lasts, the file
// cannot be replaced. A failure names path.
class MappedFile {
public:
    explicit MappedFile(const std::string& path);

    std::string_view text() const { return {static_cast<const char*>(view_.get()), size_}; }

private:
    FileView view_;
    size_t size_ = 0;
};

}  // namespace velko
