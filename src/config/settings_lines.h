#pragma once
// The lines of the settings file and of the pointer file, as the configurator writes them.
#include <array>
#include <string>
#include <string_view>

namespace velko {

enum class Setting { Theme, FlvTool, Encoder, EncoderOptions, Duration, DriveList };

struct SettingKey {
    Setting setting;
    std::string_view key;
    // TABs that put the separator "= " in column 17 with tab stops every 8 columns.
    std::string_view padding;
};

// The six settings in the order in which they are read and written.
inline constexpr std::array<SettingKey, 6> kSettingKeys{{
    {Setting::Theme, "theme", "\t\t"},
    {Setting::FlvTool, "flvtool_exe", "\t"},
    {Setting::Encoder, "enc_exe", "\t\t"},
    {Setting::EncoderOptions, "enc_opts", "\t"},
    {Setting::Duration, "duration", "\t"},
    {Setting::DriveList, "drive_list", "\t"},
}};

// key, padding, "= ", value; no terminator.
std::string settingsLine(const SettingKey& setting, std::string_view value);

inline constexpr std::string_view kPointerKey = "xampp_dir";

// "xampp_dir", TAB, "= ", directory; no terminator.
std::string pointerLine(std::string_view xamppDirectory);

}  // namespace velko
