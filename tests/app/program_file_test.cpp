// The built VelkoConfigurator.exe as Windows reads it: its manifest, version and icon.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/resource.h"
#include "temp_installation.h"

namespace velko::testing {
namespace {

struct FreeModule {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using ModuleHandle = std::unique_ptr<std::remove_pointer_t<HMODULE>, FreeModule>;

ModuleHandle loadProgramFile() {
    return ModuleHandle(LoadLibraryExA(VELKO_PROGRAM_FILE, nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

std::string resourceBytes(HMODULE module, LPCSTR name, LPCSTR type) {
    const HRSRC found = FindResourceA(module, name, type);
    if (!found) return {};
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return std::string(bytes, SizeofResource(module, found));
}

using Attributes = std::map<std::string, std::string>;

// The attributes of every element with this name, in document order.
std::vector<Attributes> elementsNamed(const std::string& xml, const std::string& name) {
    std::vector<Attributes> elements;
    for (size_t start = xml.find("<" + name + " "); start != std::string::npos;
         start = xml.find("<" + name + " ", start + 1)) {
        const std::string tag = xml.substr(start, xml.find('>', start) - start);
        Attributes attributes;
        for (size_t equals = tag.find("=\""); equals != std::string::npos; equals = tag.find("=\"", equals + 2)) {
            const size_t keyStart = tag.rfind(' ', equals) + 1;
            const size_t valueEnd = tag.find('"', equals + 2);
            attributes[tag.substr(keyStart, equals - keyStart)] = tag.substr(equals + 2, valueEnd - equals - 2);
        }
        elements.push_back(attributes);
    }
    return elements;
}

// The text inside the first element with this name.
std::string textOfElement(const std::string& xml, const std::string& name) {
    const size_t open = xml.find("<" + name);
    if (open == std::string::npos) return {};
    const size_t start = xml.find('>', open) + 1;
    return xml.substr(start, xml.find("</" + name + ">", start) - start);
}

class ProgramFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(module) << "cannot load " << VELKO_PROGRAM_FILE; }

    std::string manifest() const { return resourceBytes(module.get(), MAKEINTRESOURCEA(1), RT_MANIFEST); }

    ModuleHandle module = loadProgramFile();
};

TEST_F(ProgramFile, EmbedsTheConfiguredManifestByteForByte) {
    EXPECT_EQ(manifest(), readBytes(VELKO_MANIFEST_FILE));
}

TEST_F(ProgramFile, ManifestAsksForCommonControlsSix) {
    bool found = false;
    for (const Attributes& identity : elementsNamed(manifest(), "assemblyIdentity")) {
        if (identity.count("name") == 0 || identity.at("name") != "Microsoft.Windows.Common-Controls") continue;
        found = true;
        EXPECT_EQ(identity.at("version"), "6.0.0.0");
        EXPECT_EQ(identity.at("publicKeyToken"), "6595b64144ccf1df");
    }
    EXPECT_TRUE(found);
}

TEST_F(ProgramFile, ManifestIsPerMonitorV2AwareAndSystemAwareOnOlderWindows) {
    EXPECT_EQ(textOfElement(manifest(), "dpiAwareness").rfind("PerMonitorV2,", 0), 0u) << manifest();
    EXPECT_EQ(textOfElement(manifest(), "dpiAware"), "true/pm");
}

TEST_F(ProgramFile, ManifestRequiresAnAdministrator) {
    const std::vector<Attributes> levels = elementsNamed(manifest(), "requestedExecutionLevel");
    ASSERT_EQ(levels.size(), 1u);
    EXPECT_EQ(levels[0].at("level"), "requireAdministrator");
    EXPECT_EQ(levels[0].at("uiAccess"), "false");
}

TEST_F(ProgramFile, ManifestNamesTheProgramWithTheProjectVersion) {
    const Attributes own = elementsNamed(manifest(), "assemblyIdentity").at(0);
    EXPECT_EQ(own.at("name"), "Velko.Configurator");
    EXPECT_EQ(own.at("version"), VELKO_VERSION ".0");
}

std::vector<char> versionInfo() {
    const DWORD size = GetFileVersionInfoSizeA(VELKO_PROGRAM_FILE, nullptr);
    std::vector<char> info(size);
    if (size == 0 || !GetFileVersionInfoA(VELKO_PROGRAM_FILE, 0, size, info.data())) info.clear();
    return info;
}

std::string versionString(std::vector<char>& info, const std::string& name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string path = "\\StringFileInfo\\040904b0\\" + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) return "(none)";
    return std::string(value, length > 0 ? length - 1 : 0);
}

TEST(ProgramVersion, NamesTheProductAndCarriesTheProjectVersion) {
    std::vector<char> info = versionInfo();
    ASSERT_FALSE(info.empty());
    EXPECT_EQ(versionString(info, "ProductName"), "Velko Configurator");
    EXPECT_EQ(versionString(info, "FileDescription"), "Velko Configurator");
    EXPECT_EQ(versionString(info, "FileVersion"), VELKO_VERSION);
    EXPECT_EQ(versionString(info, "ProductVersion"), VELKO_VERSION);
    EXPECT_EQ(versionString(info, "OriginalFilename"), "VelkoConfigurator.exe");
}

TEST(ProgramVersion, FixedFileVersionIsTheProjectVersion) {
    std::vector<char> info = versionInfo();
    ASSERT_FALSE(info.empty());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    const std::string numbers = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                                std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                                std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                                std::to_string(LOWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(numbers, VELKO_VERSION ".0");
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitsPerPixel;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST_F(ProgramFile, IconHasA32And16PixelImageIn16Colours) {
    const std::string group = resourceBytes(module.get(), MAKEINTRESOURCEA(IDI_VELKO), RT_GROUP_ICON);
    ASSERT_GE(group.size(), 6u);
    const WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
    ASSERT_EQ(group.size(), 6 + count * sizeof(IconGroupEntry));
    std::vector<std::string> images;
    for (WORD i = 0; i < count; ++i) {
        const auto* entry = reinterpret_cast<const IconGroupEntry*>(group.data() + 6 + i * sizeof(IconGroupEntry));
        images.push_back(std::to_string(entry->width) + "x" + std::to_string(entry->height) + " " +
                         std::to_string(entry->colours) + " colours");
    }
    EXPECT_EQ(images, (std::vector<std::string>{"32x32 16 colours", "16x16 16 colours"}));
}

}  // namespace
}  // namespace velko::testing
