#pragma once
// The one program of the installation that the configurator runs: its own Apache.
#include <optional>
#include <string>
#include <string_view>

namespace velko {

inline constexpr std::string_view kApacheProgram = "apache\\bin\\httpd.exe";
inline constexpr std::string_view kApacheErrorLog = "apache\\logs\\error.log";

// The path of the installation's httpd.exe (the directory ends in "\"), when it is an ordinary
// file on a local disk that lies where the path says: no link in its place or in a folder below
// the installation leads elsewhere. Nothing otherwise: another program is never run in its stead.
std::optional<std::string> installationApache(const std::string& xamppDirectory);

}  // namespace velko
