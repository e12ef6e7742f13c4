// Numbered string ids: only ASCII digits after the exact prefix, below the limit.

#include "kr/controls/NumberedTextId.h"

#include <gtest/gtest.h>

namespace KR
{
namespace
{

TEST(NumberedTextIdTest, OnlyDigitsBelowTheLimitAfterTheExactPrefixCount)
{
    const struct
    {
        const char16_t* id;
        std::int32_t number;
    } rows[] = {{u"ITEM.00", 0},    {u"ITEM.02", 2},           {u"ITEM.7", 7},   {u"ITEM.4095", 4095},
                {u"ITEM.4096", -1}, {u"ITEM.99999999999", -1}, {u"ITEM.-1", -1}, {u"ITEM.x", -1},
                {u"ITEM.", -1},     {u"item.01", -1},          {u"ITEM.1 ", -1}, {u"XITEM.1", -1},
                {u"ITEM.+1", -1},   {u"ITEM.\u0661", -1}};
    for (const auto& row : rows)
    {
        EXPECT_EQ(ReadNumberedTextId(String(row.id), u"ITEM."), row.number)
            << String(row.id).ToUtf8().GetPtr();
    }
}

} // namespace
} // namespace KR
