#pragma once
// Reads the attributes of a document's elements straight from its bytes, for checks that
// look at what a document names (image files, string ids) rather than at what the factory
// made of it.

#include <cstddef>
#include <map>
#include <string>

namespace ResourceTests
{

using Attributes = std::map<std::string, std::string>;

// Calls `visit` with the attributes of every element whose start tag begins with `start`
// ("<Part "), in document order.
template <typename Visit>
void ForEachElement(const std::string& text, const std::string& start, Visit visit)
{
    for (std::size_t at = text.find(start); at != std::string::npos; at = text.find(start, at + 1))
    {
        const std::size_t end = text.find('>', at);
        Attributes attributes;
        std::size_t name = at + start.size();
        while (true)
        {
            const std::size_t equals = text.find("=\"", name);
            if (equals == std::string::npos || equals > end)
            {
                break;
            }
            const std::size_t valueEnd = text.find('"', equals + 2);
            std::string key = text.substr(name, equals - name);
            key.erase(0, key.find_first_not_of(" \t\r\n"));
            attributes.emplace(key, text.substr(equals + 2, valueEnd - equals - 2));
            name = valueEnd + 1;
        }
        visit(attributes);
    }
}

} // namespace ResourceTests
