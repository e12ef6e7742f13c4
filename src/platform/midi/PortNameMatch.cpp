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

struct NumberedName
{
    PortDirection direction;
    std::size_t number;
    std::string_view device;
};

// Reads "MIDIIN<n> (<device>)" or "MIDIOUT<n> (<device>)": n from 1 up to a bound no
// device comes near, the device not empty.
std::optional<NumberedName> ParseNumberedName(std::string_view name)
{
    const std::string folded = FoldCase(name);
    NumberedName parsed{PortDirection::kInput, 0, {}};
    std::size_t at = 0;
    if (folded.starts_with("midiin"))
    {
        at = 6;
    }
    else if (folded.starts_with("midiout"))
    {
        parsed.direction = PortDirection::kOutput;
        at = 7;
    }
    else
    {
        return std::nullopt;
    }
    constexpr std::size_t kMaxNumber = 9999;
    const std::size_t digitsStart = at;
    for (; at < name.size() && name[at] >= '0' && name[at] <= '9'; ++at)
    {
        parsed.number = parsed.number * 10 + static_cast<std::size_t>(name[at] - '0');
        if (parsed.number > kMaxNumber)
        {
            return std::nullopt;
        }
    }
    if (at == digitsStart || parsed.number == 0 || name.substr(at, 2) != " (" || !name.ends_with(")") ||
        name.size() <= at + 3)
    {
        return std::nullopt;
    }
    parsed.device = name.substr(at + 2, name.size() - at - 3);
    return parsed;
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

std::optional<std::size_t> FindPortByName(const std::vector<std::string>& names, std::string_view asked,
                                          PortDirection direction)
{
    if (const auto found = FindPortByNamePart(names, asked))
    {
        return found;
    }
    const std::optional<NumberedName> numbered = ParseNumberedName(asked);
    if (!numbered || numbered->direction != direction)
    {
        return std::nullopt;
    }
    const std::string device = FoldCase(numbered->device);
    std::size_t seen = 0;
    for (std::size_t i = 0; i < names.size(); ++i)
    {
        if (FoldCase(names[i]).find(device) != std::string::npos && ++seen == numbered->number)
        {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace KR::Platform
