#include "kr/core/TypeName.h"
#include "kr/core/Exception.h"
#include "kr/core/RCPtr.h"
#include "kr/core/StringT.h"

#include <gtest/gtest.h>

// Stand-ins for classes of other libraries, in a namespace of their own so they never
// collide with the real ones.
namespace KR::Spelling
{
class LControl : public virtual LRefCountedObject
{
};

template <typename T>
class LHandler : public virtual LRefCountedObject
{
};

template <typename T, unsigned N>
class Queue
{
};

template <typename T, int N, int M>
class Array
{
};

struct Descriptor
{
};

template <typename A, typename B>
class Pair
{
};

enum class Colour
{
    Red
};

// Stands for the real control class in the copy-on-write text below; its copy is not a
// control, so a copy on write cannot give one back.
class Control : public virtual LRefCountedObject
{
public:
    ConstRCPtr<LRefCountedObject> CreateCopy() const override { return new LRefCountedObject; }
};
} // namespace KR::Spelling

class LEncoder
{
};

namespace KR
{
namespace
{

using namespace Spelling;

TEST(TypeName, SpellsClassesWithTheirKeyAndNamespace)
{
    EXPECT_EQ(TypeName<Spelling::LControl>(), "class KR::Spelling::LControl");
    EXPECT_EQ(ClassName<Spelling::LControl>(), "KR::Spelling::LControl");
    EXPECT_EQ(TypeName<LRefCountedObject>(), "class KR::LRefCountedObject");
    EXPECT_EQ(TypeName<::LEncoder>(), "class LEncoder");
    EXPECT_EQ(TypeName<Colour>(), "enum KR::Spelling::Colour");
}

TEST(TypeName, SpellsTemplateArgumentsAsTheFrameworkTextsDo)
{
    EXPECT_EQ(ClassName<ConstRCPtr<Spelling::LControl>>(), "KR::ConstRCPtr<class KR::Spelling::LControl>");
    EXPECT_EQ(ClassName<ConstRCPtr<LHandler<Spelling::LControl>>>(),
              "KR::ConstRCPtr<class KR::Spelling::LHandler<class KR::Spelling::LControl> >");
    EXPECT_EQ((ClassName<Queue<LHandler<Spelling::LControl>, 256>>()),
              "KR::Spelling::Queue<class KR::Spelling::LHandler<class KR::Spelling::LControl>,256>");
    EXPECT_EQ((ClassName<Spelling::Array<::LEncoder, 1, 0>>()), "KR::Spelling::Array<class LEncoder,1,0>");
    EXPECT_EQ(ClassName<String>(), "KR::StringT<wchar_t,char>");
    EXPECT_EQ(TypeName<Utf8String>(), "class KR::StringT<char,wchar_t>");
}

TEST(TypeName, SpellsBuiltinTypesWithoutKey)
{
    EXPECT_EQ(TypeName<unsigned int>(), "unsigned int");
    EXPECT_EQ(TypeName<char16_t>(), "wchar_t");
    EXPECT_EQ(TypeName<std::int64_t>(), "__int64");
    EXPECT_EQ((ClassName<Spelling::Pair<unsigned long long, const Spelling::LControl*>>()),
              "KR::Spelling::Pair<unsigned __int64,class KR::Spelling::LControl const *>");
}

TEST(TypeName, RegisteredSpellingIsUsedAloneAndInsideTemplates)
{
    RegisterTypeName<Descriptor>("struct KR::Spelling::Descriptor");
    EXPECT_EQ(TypeName<Descriptor>(), "struct KR::Spelling::Descriptor");
    EXPECT_EQ(ClassName<Descriptor>(), "KR::Spelling::Descriptor");
    EXPECT_EQ((ClassName<Spelling::Pair<Descriptor, Spelling::LControl>>()),
              "KR::Spelling::Pair<struct KR::Spelling::Descriptor,class KR::Spelling::LControl>");
}

TEST(TypeName, NamesTheDynamicTypeOfAnObject)
{
    RCPtr<LRefCountedObject> control(new Spelling::LControl);
    const LRefCountedObject& object = *control;
    EXPECT_EQ(TypeName(typeid(object)), "class KR::Spelling::LControl");
}

TEST(TypeName, CopyOnWriteFailureNamesThePointersTypeTwice)
{
    RegisterTypeName<Control>("class KR::LControl");
    RCPtr<Control> control(new Control);
    control->SetUnshareable(true);
    try
    {
        ConstRCPtr<Control> second(control);
        FAIL() << "a copy of the wrong type was accepted";
    }
    catch (const Exception<std::logic_error>& error)
    {
        EXPECT_STREQ(error.what(),
                     "Logic Error : class KR::LControl : KR::ConstRCPtr<class KR::LControl>::Unshare : "
                     "krframework\\objectbase\\RefCountedObject : Line 369");
    }
    EXPECT_EQ(control->GetRefCount(), 1);
}

} // namespace
} // namespace KR
