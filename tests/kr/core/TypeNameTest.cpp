#include "kr/core/TypeName.h"
#include "kr/core/RCPtr.h"

#include <gtest/gtest.h>

namespace KR
{
class LControl : public virtual LRefCountedObject
{
};

template <typename T>
class LNotificationHandler : public virtual LRefCountedObject
{
};

template <typename T, unsigned N>
class RCPtrQueue
{
};

template <typename T, int N, int M>
class ConstRCPtrArray
{
};

template <typename A, typename B>
class StringT
{
};

struct ParamDescriptor
{
};

template <typename A, typename B>
class LPair
{
};

enum class Colour
{
    Red
};
} // namespace KR

class LEncoder
{
};

namespace KR
{
namespace
{

TEST(TypeName, SpellsClassesWithTheirKeyAndNamespace)
{
    EXPECT_EQ(TypeName<LControl>(), "class KR::LControl");
    EXPECT_EQ(ClassName<LControl>(), "KR::LControl");
    EXPECT_EQ(TypeName<LRefCountedObject>(), "class KR::LRefCountedObject");
    EXPECT_EQ(TypeName<::LEncoder>(), "class LEncoder");
    EXPECT_EQ(TypeName<Colour>(), "enum KR::Colour");
}

TEST(TypeName, SpellsTemplateArgumentsAsTheFrameworkTextsDo)
{
    EXPECT_EQ(ClassName<ConstRCPtr<LControl>>(), "KR::ConstRCPtr<class KR::LControl>");
    EXPECT_EQ(ClassName<ConstRCPtr<LNotificationHandler<LControl>>>(),
              "KR::ConstRCPtr<class KR::LNotificationHandler<class KR::LControl> >");
    EXPECT_EQ((ClassName<RCPtrQueue<LNotificationHandler<LControl>, 256>>()),
              "KR::RCPtrQueue<class KR::LNotificationHandler<class KR::LControl>,256>");
    EXPECT_EQ((ClassName<ConstRCPtrArray<::LEncoder, 1, 0>>()), "KR::ConstRCPtrArray<class LEncoder,1,0>");
    EXPECT_EQ((ClassName<StringT<char16_t, char>>()), "KR::StringT<wchar_t,char>");
    EXPECT_EQ((TypeName<StringT<char, char16_t>>()), "class KR::StringT<char,wchar_t>");
}

TEST(TypeName, SpellsBuiltinTypesWithoutKey)
{
    EXPECT_EQ(TypeName<unsigned int>(), "unsigned int");
    EXPECT_EQ(TypeName<char16_t>(), "wchar_t");
    EXPECT_EQ(TypeName<std::int64_t>(), "__int64");
    EXPECT_EQ((ClassName<StringT<unsigned long long, const LControl*>>()),
              "KR::StringT<unsigned __int64,class KR::LControl const *>");
}

TEST(TypeName, RegisteredSpellingIsUsedAloneAndInsideTemplates)
{
    RegisterTypeName<ParamDescriptor>("struct KR::ParamDescriptor");
    EXPECT_EQ(TypeName<ParamDescriptor>(), "struct KR::ParamDescriptor");
    EXPECT_EQ(ClassName<ParamDescriptor>(), "KR::ParamDescriptor");
    EXPECT_EQ((ClassName<LPair<ParamDescriptor, LControl>>()),
              "KR::LPair<struct KR::ParamDescriptor,class KR::LControl>");
}

TEST(TypeName, NamesTheDynamicTypeOfAnObject)
{
    RCPtr<LRefCountedObject> control(new LControl);
    EXPECT_EQ(TypeName(typeid(*control)), "class KR::LControl");
}

} // namespace
} // namespace KR
