#pragma once
// A failure that reaches the user: the failure box shows its number and description.
#include <stdexcept>
#include <string>

#include "ui_text.h"

namespace velko {

class Failure : public std::runtime_error {
public:
    Failure(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    int number() const noexcept { return number_; }
    std::string description() const { return what(); }

private:
    int number_;
};

// The numbers the configurator names; the descriptions are the familiar ones.
namespace failure_number {
inline constexpr int InvalidArgument = 5;
inline constexpr int OutOfMemory = 7;
inline constexpr int FileNotFound = 53;
inline constexpr int DiskFull = 61;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
}  // namespace failure_number

// A rule asked of text it cannot take: the value of an empty line.
inline Failure invalidArgument() {
    return Failure(failure_number::InvalidArgument, std::string(text::kInvalidArgument));
}

inline Failure fileNotFound(const std::string& path) {
    return Failure(failure_number::FileNotFound, text::filled(text::kFileNotFound, {path}));
}

}  // namespace velko
