#include "platform/midi/PortNameMatch.h"

namespace KR::Platform
{
namespace
{

// Lower-cases ASCII letters and the UTF-8 forms of the Latin-1 capitals U+00C0..U+00DE
// (without U+00D7, the multiplication sign). Both forms keep their byte length, so a
// folded name can be searched byte by byte.
std::string FoldCase(std::string_view text)
{
    std::string folded(text);
    for (std::size_t i = 0; i < folded.size(); ++i)
    {
        unsigned char c = static_cast<unsigned char>(folded[i]);
        if (c >= 'A' && c <= 'Z')
        {
            folded[i] = static_cast<char>(c + ('a' - 'A'));
        }
        else if (c == 0xC3 && i + 1 < folded.size())
        {
            unsigned char next = static_cast<unsigned char>(folded[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97)
            {
                folded[i + 1] = static_cast<char>(next + 0x20);
            }
            ++i;
        }
    }
    return folded;
}

} // namespace

bool PortNameContains(std::string_view name, std::string_view part)
{
    return FoldCase(name).find(FoldCase(part)) != std::string::npos;
}

std::optional<std::size_t> FindPortByNamePart(const std::vector<std::string>& names, std::string_view part)
{
    const std::string foldedPart = FoldCase(part);
    for (std::size_t i = 0; i < names.size(); ++i)
    {
        if (FoldCase(names[i]).find(foldedPart) != std::string::npos)
        {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace KR::Platform
