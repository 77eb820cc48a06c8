#pragma once
// Changes the process's current directory for the life of the object.
#include <windows.h>

#include <string>

namespace velko::testing {

class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::string& directory) {
        char saved[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, saved);
        saved_ = saved;
        changed_ = SetCurrentDirectoryA(directory.c_str());
    }
    ~CurrentDirectory() { SetCurrentDirectoryA(saved_.c_str()); }
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;

    bool changed() const { return changed_; }

private:
    std::string saved_;
    bool changed_;
};

}  // namespace velko::testing
