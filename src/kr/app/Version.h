#pragma once
// KR::Version: the program's version block (company, product, version, copyright) in the
// translation that suits the user best. Made on the spot, asked, dropped:
//
//     const KR::Version version;                 // throws when the program has no block
//     const KR::String company = version.GetCompanyName();
//
// The block is the embedded resource "VERSION" / "VS_VERSION_INFO", UTF-8 text:
//
//     [VarFileInfo]
//     Translation=0000 04b0 0409 04e4        ; pairs of language id and code page, hex
//     [StringFileInfo\000004b0]
//     CompanyName=Tarsil
//
// A translation is chosen once: the first whose primary language is the user's, else
// the system's, else English, else the first listed.

#include "kr/core/StringT.h"

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>

namespace KR
{

class Version
{
public:
    // The program's own block, read with the user's language. Throws a runtime error
    // whose text carries the error id (see FormatErrorIdText): 903 when the program file
    // cannot be named, 902 when it has no block, 901 when the block is not UTF-8 text,
    // 900 when the block lists no translations.
    Version();
    // The block given, for the languages given; the same errors but 903.
    Version(std::span<const unsigned char> block, std::uint16_t userLanguage, std::uint16_t systemLanguage);

    // The key's value in the chosen translation; empty when the block holds none, and
    // always empty when the block's translation list is empty.
    String GetString(std::string_view key) const;
    String GetCompanyName() const { return GetString("CompanyName"); }
    String GetProductName() const { return GetString("ProductName"); }
    String GetProductVersion() const { return GetString("ProductVersion"); }

    // The chosen (language id, code page); both 0xFFFF when the list is empty.
    std::uint16_t GetLanguage() const { return mLanguage; }
    std::uint16_t GetCodePage() const { return mCodePage; }

    // "\StringFileInfo\" + language and code page as four lower-case hex digits each +
    // "\" + key: where a value lives in the block.
    static std::string QueryPath(std::uint16_t language, std::uint16_t codePage, std::string_view key);

private:
    void Read(std::span<const unsigned char> block, std::uint16_t userLanguage, std::uint16_t systemLanguage);

    // Every "Key=Value" of the block under its query path.
    std::map<std::string, std::string, std::less<>> mValues;
    std::uint16_t mLanguage = 0xFFFF;
    std::uint16_t mCodePage = 0xFFFF;
    bool mHasTranslation = false;
};

// The text of a start-up error id: the framework table's "EXCEPTION_ID" with the id in
// place of its "%d" while an application with a control factory holding that text is
// installed, else the fixed English text that ends "(Error code = <id>)".
String FormatErrorIdText(std::int32_t errorId);

} // namespace KR
