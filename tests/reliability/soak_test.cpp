// Many rounds of reload, edit and save on the demo installation with random values: every save
// writes exactly what the window showed when it began, also when other values are typed and OK
// is pressed while it runs, and the next reload shows it again.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "reliability_fixture.h"

namespace velko::testing {
namespace {

// The rounds one run of the tests goes through.
constexpr int kSoakRounds = 1000;

constexpr std::array<std::string_view, 6> kKeys{"theme", "flvtool_exe", "enc_exe", "enc_opts", "duration", "drive_list"};

class Soak : public DemoInstallationTest {
protected:
    // Printable and high bytes, blanks, "=" and "= "; never CR or LF. A value holds no key of a
    // later line (in any letter case): the load would find that key in this value's line.
    std::string randomValue(size_t setting) {
        for (;;) {
            const std::string value = randomText();
            if (!holdsAnyKey(value, setting + 1)) return value;
        }
    }

    SettingValues randomSettings() {
        static constexpr std::array<std::string_view, 3> kThemes{"blue", "Classic", "green"};
        SettingValues values{std::string(kThemes[random_() % kThemes.size()])};
        for (size_t i = 1; i < values.size(); ++i) values[i] = randomValue(i);
        return values;
    }

    std::string randomPort() { return std::to_string(1 + random_() % 65535); }

private:
    std::string randomText() {
        switch (random_() % 10) {
        case 0: return "";
        case 1: return std::string(1 + random_() % 3, random_() % 2 ? ' ' : '\t');
        case 2: return "=";
        case 3: return "= ";
        default: break;
        }
        std::string text;
        for (size_t length = 1 + random_() % 60; text.size() < length;) {
            switch (random_() % 8) {
            case 0: text += "= "; break;
            case 1: text += ' '; break;
            case 2: text += randomHighByte(); break;
            default: text += static_cast<char>(0x20 + random_() % 0x5f); break;
            }
        }
        return text;
    }

    // Wine's text box crashes when it draws U+02DC, the small tilde that byte 0x98 stands for in
    // code page 1252; Windows draws it.
    char randomHighByte() {
        for (;;) {
            const char byte = static_cast<char>(0x80 + random_() % 0x80);
            if (byte != '\x98') return byte;
        }
    }

    static bool holdsAnyKey(std::string value, size_t fromKey) {
        std::transform(value.begin(), value.end(), value.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
        return std::any_of(kKeys.begin() + fromKey, kKeys.end(),
                           [&](std::string_view key) { return value.find(key) != std::string::npos; });
    }

    std::mt19937 random_{20091219};
};

TEST_F(Soak, EverySaveWritesWhatTheWindowShowsAndEveryReloadShowsIt) {
    installDemo();
    const std::string demoApacheConfiguration = get(relative::kApacheConfiguration);
    ASSERT_TRUE(open());
    SettingValues saved = kDemoSettingValues;
    std::string savedPort = "80";

    for (int round = 0; round < kSoakRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        click(Control::cmdPathOK);
        ASSERT_EQ(shownSettings(), saved);
        ASSERT_EQ(textOf(Control::txtWSP), savedPort);
        ASSERT_EQ(themes(), (std::vector<std::string>{"blue", "Classic", "green"}));

        saved = randomSettings();
        savedPort = randomPort();
        showSettings(saved);
        setTextOf(Control::txtWSP, savedPort);
        if (round % 2 == 0) {
            save();
        } else {
            const SettingValues typed = randomSettings();
            const std::string typedPort = randomPort();
            pump();
            {
                const DuringTheSave meanwhile([&] {
                    showSettings(typed);
                    setTextOf(Control::txtWSP, typedPort);
                    click(Control::cmdPathOK);
                });
                save();
            }
            ASSERT_EQ(textOf(Control::txtWSP), typedPort);
        }
        ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().text;
        ASSERT_EQ(get(relative::kSettings), settingsFileOf(saved));
        ASSERT_EQ(scratch.read("xampp.txt"), pointerFileOf(xamppDirectory()));
        ASSERT_TRUE(sameBytes(get(relative::kApacheConfiguration),
                              demoApacheConfigurationWith(demoApacheConfiguration, savedPort)));
    }
    click(Control::cmdPathOK);
    EXPECT_EQ(shownSettings(), saved);
    EXPECT_EQ(textOf(Control::txtWSP), savedPort);
}

}  // namespace
}  // namespace velko::testing
