#pragma once
// Pairs: KR::Pair, a plain pair copied by value (attribute lists, string tables), and
// KR::LPair, a reference-counted pair that travels as a notification payload or sits
// in a hash list's bucket.

#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"

#include <utility>

namespace KR
{

template <typename A, typename B>
struct Pair
{
    A first{};
    B second{};

    friend bool operator==(const Pair&, const Pair&) = default;
};

// KeyText is a function taking the first value (by value or const reference) and
// returning its text; the pair's ToString is that text (ParamDescriptorToString for a
// parameter change, the key's number for a hash-list entry).
template <typename K, typename V, auto KeyText>
class LPair : public virtual LRefCountedObject
{
public:
    LPair() = default;
    LPair(K first, V second) : first(std::move(first)), second(std::move(second)) {}

    String ToString() const override { return KeyText(first); }

    K first{};
    V second{};
};

} // namespace KR
