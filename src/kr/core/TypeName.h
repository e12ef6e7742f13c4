#pragma once
// Type names as the framework's texts spell them: the class key before every class
// ("class KR::LControl"), no space after commas, a space between two closing angle
// brackets ("class KR::Outer<class KR::Inner<int> >"), wchar_t for our UTF-16 unit and
// plain decimal numbers as template arguments ("KR::RCPtrQueue<class KR::LNotification,256>").
// Exception texts and the default ToString of every object are built from them.
//
// Names come from the compiler's run-time type information. A class whose spelling must
// differ (a struct, an enum used inside a template, a name the texts write otherwise)
// registers it once with RegisterTypeName; registered names are used wherever the type
// appears, also as an argument of another template.

#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>

namespace KR
{

// The full spelling, class key included: "class KR::LControl". Run-time type information
// cannot tell a class from an enum, so `classKey` is the key used when the type itself is
// a class, union or enum that was not registered; built-in types never get one.
std::string TypeName(const std::type_info& type, std::string_view classKey = "class");

// The spelling without a leading class key, as the class part of a qualified operation:
// "KR::ConstRCPtr<class KR::LControl>".
std::string ClassName(const std::type_info& type);

// Overrides the spelling of `type` (give it with its key: "struct KR::ParamDescriptor").
// Safe to call from any thread; meant for start-up.
void RegisterTypeName(const std::type_info& type, std::string spelling);

template <typename T>
std::string TypeName()
{
    if constexpr (std::is_enum_v<T>)
    {
        return TypeName(typeid(T), "enum");
    }
    else if constexpr (std::is_union_v<T>)
    {
        return TypeName(typeid(T), "union");
    }
    else
    {
        return TypeName(typeid(T));
    }
}

template <typename T>
std::string ClassName()
{
    return ClassName(typeid(T));
}

template <typename T>
void RegisterTypeName(std::string spelling)
{
    RegisterTypeName(typeid(T), std::move(spelling));
}

} // namespace KR
