#pragma once
// The cuts that loading makes of the lines it reads. Each throws Failure 5 where its cut would
// have a negative length, and the caller then leaves the target as it was.
#include <string>
#include <string_view>

namespace velko {

// "XAMPP 1.6.0" gives "1.6.0": the text after the first "XAMPP" (exact case) less one further
// character; without "XAMPP", the last length - 5 characters.
std::string xamppVersionOf(std::string_view changeLogLine);

// `$version = "1.0";` gives "1.0": after the first "=" drop two characters (the blank and the
// opening quote), then keep what comes before the next double quote, or all of it without one.
std::string velkoVersionOf(std::string_view indexLine);

// "Listen 80" gives "80": the text after the first blank, or the whole text without a blank.
std::string portOf(std::string_view listenLine);

// The name of a directory: the part of its path after the last "\".
std::string themeNameOf(std::string_view directoryPath);

}  // namespace velko
