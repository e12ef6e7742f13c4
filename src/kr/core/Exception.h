#pragma once
// The framework's exceptions. Every fault the framework throws is a KR::Exception<E>: a
// standard exception E joined with KR::ExceptionBase, so a handler can catch either the
// standard type or any framework exception and read the same text. Texts have one form:
//
//     <Kind> : [<detail> : [<detail> : ]]<Class>::<Method> : <source path> : Line <n>
//
// Texts that the program's behaviour fixes are stored whole as constants at their throw
// sites; ErrorText() assembles the same form for throw sites of our own.

#include "kr/core/Types.h"

#include <exception>
#include <initializer_list>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

namespace KR
{

class ExceptionBase
{
public:
    virtual ~ExceptionBase() = default;

    // The text of the standard exception that the same object also is.
    virtual const char* What() const noexcept;
};

// Thrown for a result code that had to be success; its text starts with "Failed Result".
class FailedResultException : public std::exception
{
public:
    FailedResultException() = default;
    explicit FailedResultException(std::string text) : mText(std::move(text)) {}

    const char* what() const noexcept override { return mText.c_str(); }

private:
    std::string mText;
};

template <typename E>
class Exception : public E, public ExceptionBase
{
public:
    explicit Exception(const E& inner) : E(inner) {}

    explicit Exception(const std::string& text) requires std::is_constructible_v<E, const std::string&>
        : E(text)
    {
    }

    explicit Exception(const char* text) requires std::is_constructible_v<E, const char*> : E(text) {}
};

// The kind word that opens the text of each exception type.
template <typename E>
inline constexpr std::string_view kExceptionKind = std::string_view();
template <>
inline constexpr std::string_view kExceptionKind<std::logic_error> = "Logic Error";
template <>
inline constexpr std::string_view kExceptionKind<std::runtime_error> = "Runtime Error";
template <>
inline constexpr std::string_view kExceptionKind<std::out_of_range> = "Out of Range";
template <>
inline constexpr std::string_view kExceptionKind<std::domain_error> = "Domain Error";
template <>
inline constexpr std::string_view kExceptionKind<std::invalid_argument> = "Invalid Argument";
template <>
inline constexpr std::string_view kExceptionKind<FailedResultException> = "Failed Result";

// "<kind> : <details...> : <operation> : <path> : Line <line>"
std::string ErrorText(std::string_view kind, std::initializer_list<std::string_view> details,
                      std::string_view operation, std::string_view path, int line);

template <typename E>
std::string ErrorText(std::initializer_list<std::string_view> details, std::string_view operation,
                      std::string_view path, int line)
{
    static_assert(!kExceptionKind<E>.empty(), "no kind word for this exception type");
    return ErrorText(kExceptionKind<E>, details, operation, path, line);
}

template <typename E>
[[noreturn]] void Throw(const std::string& text)
{
    throw Exception<E>(text);
}

// "KRRESULT = " and the code in upper-case hexadecimal without leading zeros.
std::string ResultToString(Result code);

// Throws Exception<FailedResultException> with "Failed Result : " + ResultToString(code) + site.
// `site` is the stored rest of the text and starts with " : " (operation, path and line).
[[noreturn]] void ThrowFailedResult(Result code, std::string_view site);

inline void ThrowIfFailed(Result code, std::string_view site)
{
    if (Failed(code))
    {
        ThrowFailedResult(code, site);
    }
}

} // namespace KR
