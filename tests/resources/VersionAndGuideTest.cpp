// The version block the about box and the settings folders read, and the user guide the
// Help menu opens from the program's folder.

#include "platform/system/Resources.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

namespace
{

using Sections = std::map<std::string, std::map<std::string, std::string>>;

// "[section]" lines open a section; "key=value" lines fill it.
Sections ReadSections(const std::string& text)
{
    Sections sections;
    std::istringstream in(text);
    std::string line;
    std::string section;
    while (std::getline(in, line))
    {
        if (line.empty())
        {
            continue;
        }
        if (line.front() == '[' && line.back() == ']')
        {
            section = line.substr(1, line.size() - 2);
            sections[section];
            continue;
        }
        const std::size_t equals = line.find('=');
        EXPECT_NE(equals, std::string::npos) << line;
        if (equals == std::string::npos)
        {
            continue;
        }
        sections[section][line.substr(0, equals)] = line.substr(equals + 1);
    }
    return sections;
}

TEST(VersionBlock, HoldsOneNeutralTranslationWithTheProgramsStrings)
{
    const auto bytes = KR::Platform::FindResource("VERSION", "VS_VERSION_INFO");
    ASSERT_FALSE(bytes.empty());
    const Sections sections =
        ReadSections(std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    const Sections expected = {
        {"VarFileInfo", {{"Translation", "0000 04b0"}}},
        {"StringFileInfo\\000004b0",
         {{"CompanyName", "Tarsil"},
          {"ProductName", "Vantor Preset Editor"},
          {"ProductVersion", KR_PROJECT_VERSION},
          {"LegalCopyright", "Copyright (C) Tarsil. All rights reserved."}}},
    };
    EXPECT_EQ(sections, expected);
}

TEST(UserGuide, IsAPdfOfSeveralPagesBesideTheProgram)
{
    const std::filesystem::path guide = std::filesystem::read_symlink("/proc/self/exe").parent_path() /
                                        "Vantor Preset Editor - User Guide - v1.0.pdf";
    std::ifstream file(guide, std::ios::binary);
    ASSERT_TRUE(file) << guide;
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    std::size_t pages = 0;
    for (std::size_t at = bytes.find("/Type /Page"); at != std::string::npos;
         at = bytes.find("/Type /Page", at + 1))
    {
        // "/Type /Pages" is the page tree, not a page.
        pages += bytes.compare(at, 12, "/Type /Pages") != 0;
    }
    EXPECT_GE(pages, 2u);
}

} // namespace
