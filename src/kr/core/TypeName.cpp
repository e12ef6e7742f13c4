#include "kr/core/TypeName.h"

#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace KR
{
namespace
{

// Registered spellings, keyed by the compiler's own (demangled) spelling of the type.
class Registry
{
public:
    static Registry& Instance()
    {
        static Registry registry;
        return registry;
    }

    void Add(std::string key, std::string spelling)
    {
        std::unique_lock lock(mMutex);
        mNames[std::move(key)] = std::move(spelling);
    }

    std::shared_mutex& Mutex() { return mMutex; }

    // Callers hold Mutex() shared.
    const std::string* Find(std::string_view key) const
    {
        auto it = mNames.find(std::string(key));
        return it == mNames.end() ? nullptr : &it->second;
    }

private:
    std::shared_mutex mMutex;
    std::unordered_map<std::string, std::string> mNames;
};

std::string Demangle(const char* mangled)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> plain(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                 std::free);
    return status == 0 && plain ? std::string(plain.get()) : std::string(mangled);
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
    {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ')
    {
        text.remove_suffix(1);
    }
    return text;
}

bool IsIdentifierChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Index just past the bracket that closes the one at `open` ('<' or '('), or npos.
std::size_t PastClosing(std::string_view text, std::size_t open)
{
    int depth = 0;
    for (std::size_t i = open; i < text.size(); ++i)
    {
        const char c = text[i];
        if (c == '<' || c == '(')
        {
            ++depth;
        }
        else if ((c == '>' || c == ')') && --depth == 0)
        {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

std::vector<std::string_view> SplitArguments(std::string_view list)
{
    std::vector<std::string_view> arguments;
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < list.size(); ++i)
    {
        const char c = list[i];
        if (c == '<' || c == '(')
        {
            ++depth;
        }
        else if (c == '>' || c == ')')
        {
            --depth;
        }
        else if (c == ',' && depth == 0)
        {
            arguments.push_back(Trim(list.substr(start, i - start)));
            start = i + 1;
        }
    }
    arguments.push_back(Trim(list.substr(start)));
    return arguments;
}

constexpr std::string_view kBuiltinWords[] = {"unsigned", "signed",  "char",     "short",    "int",
                                              "long",     "bool",    "float",    "double",   "void",
                                              "wchar_t",  "char8_t", "char16_t", "char32_t", "__int128"};

struct BuiltinSpelling
{
    std::string_view compiler;
    std::string_view framework;
};

// The framework's wide character is our char16_t; 64-bit integers have their own keyword there.
constexpr BuiltinSpelling kBuiltinSpellings[] = {
    {"char16_t", "wchar_t"},
    {"long", "__int64"},
    {"unsigned long", "unsigned __int64"},
    {"long long", "__int64"},
    {"unsigned long long", "unsigned __int64"},
    {"decltype(nullptr)", "std::nullptr_t"},
};

// The identifier that starts at `pos` (empty when none does).
std::string_view WordAt(std::string_view text, std::size_t pos)
{
    std::size_t end = pos;
    while (end < text.size() && IsIdentifierChar(text[end]))
    {
        ++end;
    }
    return text.substr(pos, end - pos);
}

bool IsBuiltinWord(std::string_view word)
{
    for (std::string_view builtin : kBuiltinWords)
    {
        if (word == builtin)
        {
            return true;
        }
    }
    return false;
}

class Speller
{
public:
    explicit Speller(const Registry& registry) : mRegistry(registry) {}

    // One type or template argument. `classKey` is put before a class name ("" for none).
    std::string Element(std::string_view element, std::string_view classKey) const
    {
        element = Trim(element);
        if (const std::string* registered = mRegistry.Find(element))
        {
            return classKey.empty() ? std::string(WithoutKey(*registered)) : *registered;
        }
        if (element.empty())
        {
            return {};
        }
        if (IsDigit(element.front()) || element.front() == '-')
        {
            return Number(element);
        }
        if (element.starts_with("(anonymous namespace)"))
        {
            return ClassType(element, classKey);
        }
        if (element.front() == '(')
        {
            // A value given with its type, as "(unsigned char)3": keep the value only.
            const std::size_t close = PastClosing(element, 0);
            if (close != std::string_view::npos)
            {
                const std::string_view value = Trim(element.substr(close));
                if (!value.empty() && (IsDigit(value.front()) || value.front() == '-'))
                {
                    return Number(value);
                }
            }
            return std::string(element);
        }
        if (element.front() == '&' || element == "true" || element == "false" || element == "nullptr")
        {
            return std::string(element);
        }
        if (element.starts_with("decltype(nullptr)") || IsBuiltinWord(WordAt(element, 0)))
        {
            return BuiltinType(element);
        }
        return ClassType(element, classKey);
    }

private:
    static std::string_view WithoutKey(std::string_view spelling)
    {
        for (std::string_view key : {"class ", "struct ", "union ", "enum "})
        {
            if (spelling.starts_with(key))
            {
                return spelling.substr(key.size());
            }
        }
        return spelling;
    }

    static std::string Number(std::string_view literal)
    {
        // The compiler marks the type of a value argument with a suffix ("256u"); the texts do not.
        while (!literal.empty() && (literal.back() == 'u' || literal.back() == 'l'))
        {
            literal.remove_suffix(1);
        }
        return std::string(literal);
    }

    std::string BuiltinType(std::string_view element) const
    {
        std::size_t pos = 0;
        std::string words;
        if (element.starts_with("decltype(nullptr)"))
        {
            words = "decltype(nullptr)";
            pos = words.size();
        }
        else
        {
            for (;;)
            {
                const std::string_view word = WordAt(element, pos);
                if (word.empty() || !IsBuiltinWord(word))
                {
                    break;
                }
                if (!words.empty())
                {
                    words += ' ';
                }
                words += word;
                pos += word.size();
                while (pos < element.size() && element[pos] == ' ')
                {
                    ++pos;
                }
            }
        }
        std::string spelled = words;
        for (const BuiltinSpelling& builtin : kBuiltinSpellings)
        {
            if (words == builtin.compiler)
            {
                spelled = builtin.framework;
            }
        }
        return spelled + Declarator(element.substr(pos));
    }

    std::string ClassType(std::string_view element, std::string_view classKey) const
    {
        std::string spelled;
        if (!classKey.empty())
        {
            spelled += classKey;
            spelled += ' ';
        }
        std::size_t pos = 0;
        while (pos < element.size())
        {
            if (element.substr(pos).starts_with("(anonymous namespace)"))
            {
                spelled += "`anonymous namespace'";
                pos += std::string_view("(anonymous namespace)").size();
            }
            else
            {
                const std::string_view word = WordAt(element, pos);
                pos += word.size();
                // The standard library's inline namespaces are not part of the name.
                if ((word == "__cxx11" || word == "__1") && element.substr(pos).starts_with("::"))
                {
                    pos += 2;
                    continue;
                }
                spelled += word;
            }
            if (pos < element.size() && element[pos] == '<')
            {
                const std::size_t close = PastClosing(element, pos);
                if (close == std::string_view::npos)
                {
                    break;
                }
                spelled += Arguments(element.substr(pos + 1, close - pos - 2));
                pos = close;
            }
            if (element.substr(pos).starts_with("::"))
            {
                spelled += "::";
                pos += 2;
                continue;
            }
            break;
        }
        return spelled + Declarator(element.substr(pos));
    }

    std::string Arguments(std::string_view list) const
    {
        std::string spelled = "<";
        bool first = true;
        for (std::string_view argument : SplitArguments(list))
        {
            if (!first)
            {
                spelled += ',';
            }
            first = false;
            spelled += Element(argument, "class");
        }
        // Two closing brackets in a row are kept apart.
        spelled += spelled.back() == '>' ? " >" : ">";
        return spelled;
    }

    // What follows a type's name: qualifiers, pointers and references ("const *").
    static std::string Declarator(std::string_view rest)
    {
        std::string spelled;
        std::size_t pos = 0;
        while (pos < rest.size())
        {
            const char c = rest[pos];
            if (c == ' ')
            {
                ++pos;
            }
            else if (c == '*' || c == '&')
            {
                spelled += ' ';
                spelled += c;
                ++pos;
                while (pos < rest.size() && (rest[pos] == '*' || rest[pos] == '&'))
                {
                    spelled += rest[pos++];
                }
            }
            else if (const std::string_view word = WordAt(rest, pos); word == "const" || word == "volatile")
            {
                spelled += ' ';
                spelled += word;
                pos += word.size();
            }
            else
            {
                spelled += ' ';
                spelled += rest.substr(pos);
                break;
            }
        }
        return spelled;
    }

    const Registry& mRegistry;
};

std::string Spell(const std::type_info& type, std::string_view classKey)
{
    const std::string compilerName = Demangle(type.name());
    Registry& registry = Registry::Instance();
    std::shared_lock lock(registry.Mutex());
    return Speller(registry).Element(compilerName, classKey);
}

} // namespace

std::string TypeName(const std::type_info& type, std::string_view classKey)
{
    return Spell(type, classKey);
}

std::string ClassName(const std::type_info& type)
{
    return Spell(type, {});
}

void RegisterTypeName(const std::type_info& type, std::string spelling)
{
    Registry::Instance().Add(Demangle(type.name()), std::move(spelling));
}

} // namespace KR
