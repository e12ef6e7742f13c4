#pragma once
// The "Out of Range" exceptions of the containers, thrown out of line so that the
// templates carry only a call.

#include <cstddef>
#include <string>
#include <string_view>

namespace KR::Detail
{

// "Out of Range : KR::ConstRCPtrArray<class X,N,M>::RemoveItem : ..." and the
// RCPtrArray form; `elementType` is the element class as TypeName spells it.
[[noreturn]] void ThrowConstRCPtrArrayRemoveItem(const std::string& elementType, std::size_t n,
                                                 std::size_t m);
[[noreturn]] void ThrowRCPtrArrayRemoveItem(const std::string& elementType, std::size_t n, std::size_t m);

[[noreturn]] void ThrowSortOutOfRange();
[[noreturn]] void ThrowSortIndeciesOutOfRange();

} // namespace KR::Detail
