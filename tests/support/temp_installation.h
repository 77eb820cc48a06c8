#pragma once
// A scratch directory for one test, removed with everything in it when the test ends.
#include <string>
#include <string_view>
#include <vector>

namespace velko::testing {

class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    // The directory's path, ending in "\".
    const std::string& root() const { return root_; }
    std::string path(std::string_view relative) const { return root_ + std::string(relative); }

    // Writes bytes exactly, creating the directories on the way.
    void write(std::string_view relative, std::string_view bytes) const;
    std::string read(std::string_view relative) const;
    bool exists(std::string_view relative) const;
    void makeDirectory(std::string_view relative) const;
    void remove(std::string_view relative) const;
    // The names in a directory, "." and ".." aside, sorted.
    std::vector<std::string> list(std::string_view relativeDirectory) const;

    // Copies the bundled demo installation into relative.
    void copyDemo(std::string_view relative) const;

private:
    std::string root_;
};

// Reads any file by its full path, exactly; throws when it cannot be read.
std::string readBytes(const std::string& path);
// Writes any file by its full path, exactly, replacing it; throws when it cannot be written.
void writeBytes(const std::string& path, std::string_view bytes);

// Where Wine keeps a Windows path on the Unix side; throws when it cannot tell.
std::string unixPathOf(const std::string& path);

}  // namespace velko::testing
