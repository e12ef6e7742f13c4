#include "kr/core/ArrayErrors.h"

#include "kr/core/Exception.h"

#include <stdexcept>

namespace KR::Detail
{
namespace
{

// Where the framework's texts place the two pointer-array removals.
constexpr std::string_view kConstRCPtrArraySource = "krframework\\utilities\\Storage/ConstRCPtrArray";
constexpr int kConstRCPtrArrayRemoveItemLine = 216;
constexpr std::string_view kRCPtrArraySource = "krframework\\utilities\\Storage/RCPtrArray";
constexpr int kRCPtrArrayRemoveItemLine = 175;

constexpr const char* kSortText =
    "Out of Range : KR::ArrayUtils::Sort : krframework\\utilities\\Storage/ArrayUtils : Line 254";
constexpr const char* kSortIndeciesText =
    "Out of Range : KR::ArrayUtils::SortIndecies : krframework\\utilities\\Storage/ArrayUtils : Line 266";

// "KR::<arrayClass><<element>,<n>,<m>>::RemoveItem"
std::string RemoveItemOperation(std::string_view arrayClass, const std::string& elementType, std::size_t n,
                                std::size_t m)
{
    std::string operation = "KR::";
    operation += arrayClass;
    operation += '<';
    operation += elementType;
    operation += ',';
    operation += std::to_string(n);
    operation += ',';
    operation += std::to_string(m);
    operation += ">::RemoveItem";
    return operation;
}

} // namespace

void ThrowConstRCPtrArrayRemoveItem(const std::string& elementType, std::size_t n, std::size_t m)
{
    Throw<std::out_of_range>(
        ErrorText<std::out_of_range>({}, RemoveItemOperation("ConstRCPtrArray", elementType, n, m),
                                     kConstRCPtrArraySource, kConstRCPtrArrayRemoveItemLine));
}

void ThrowRCPtrArrayRemoveItem(const std::string& elementType, std::size_t n, std::size_t m)
{
    Throw<std::out_of_range>(
        ErrorText<std::out_of_range>({}, RemoveItemOperation("RCPtrArray", elementType, n, m),
                                     kRCPtrArraySource, kRCPtrArrayRemoveItemLine));
}

void ThrowSortOutOfRange()
{
    Throw<std::out_of_range>(kSortText);
}

void ThrowSortIndeciesOutOfRange()
{
    Throw<std::out_of_range>(kSortIndeciesText);
}

} // namespace KR::Detail
