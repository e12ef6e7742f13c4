#include "kr/core/StringT.h"

#include "kr/core/Array.h"
#include "kr/core/Exception.h"
#include "support/Utf8.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

namespace
{

using KR::String;
using KR::Utf8String;
using namespace KR::Literals;

using KR::TestSupport::Utf16;

TEST(StringT, EmptyStringsShareOneProcessWideBuffer)
{
    const String a;
    String b(u"x");
    b.Clear();
    const String c(u"");
    EXPECT_TRUE(a.SharesBufferWith(b));
    EXPECT_TRUE(a.SharesBufferWith(c));
    EXPECT_TRUE(a.SharesBufferWith(String::Empty()));
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.GetLength(), 0u);
    EXPECT_EQ(a.GetPtr()[0], 0);

    EXPECT_TRUE(Utf8String().SharesBufferWith(Utf8String::Empty()));
    EXPECT_EQ(Utf8String().GetPtr()[0], 0);
}

TEST(StringT, CopiesShareTheBufferAndCompareEqualWithoutLooking)
{
    const String original(u"Pitch Wheel");
    String copy = original;
    EXPECT_TRUE(copy.SharesBufferWith(original));
    EXPECT_TRUE(copy == original);
    EXPECT_FALSE(copy != original);
    EXPECT_FALSE(copy < original);
    EXPECT_FALSE(original < copy);

    String assigned;
    assigned = original;
    EXPECT_TRUE(assigned.SharesBufferWith(original));
}

TEST(StringT, AppendingToASharedStringLeavesTheOtherHolderUnchanged)
{
    const String original(u"Pad");
    String changed = original;
    changed += u" 1"_krs;
    EXPECT_EQ(Utf16(original), u"Pad");
    EXPECT_EQ(Utf16(changed), u"Pad 1");
    EXPECT_FALSE(changed.SharesBufferWith(original));

    String inserted = original;
    EXPECT_EQ(inserted.Insert(0, u"Big "_krs), KR::kOk);
    EXPECT_EQ(Utf16(original), u"Pad");
    EXPECT_EQ(Utf16(inserted), u"Big Pad");
}

TEST(StringT, LockGivesAPrivateBufferThatCopiesDoNotShare)
{
    String s(u"abc");
    const String before = s;

    char16_t* units = s.Lock();
    ASSERT_NE(units, nullptr);
    EXPECT_TRUE(s.IsLocked());
    EXPECT_FALSE(s.SharesBufferWith(before));
    EXPECT_EQ(units[3], 0); // room for the text and its NUL
    units[0] = u'X';
    EXPECT_EQ(Utf16(before), u"abc");

    // A copy taken while locked gets its own characters, exactly the text.
    const String copy = s;
    EXPECT_FALSE(copy.SharesBufferWith(s));
    EXPECT_FALSE(copy.IsLocked());
    EXPECT_EQ(Utf16(copy), u"Xbc");
    units[1] = u'Y';
    EXPECT_EQ(Utf16(copy), u"Xbc");

    EXPECT_EQ(s.Lock(), nullptr); // one lock at a time
    EXPECT_EQ(s.Unlock(), KR::kOk);
    EXPECT_EQ(s.Unlock(), KR::kNothingDone);
    EXPECT_FALSE(s.IsLocked());
    EXPECT_EQ(Utf16(s), u"XYc");
    EXPECT_EQ(s.GetLength(), 3u);
}

TEST(StringT, UnlockEndsTheTextAtItsFirstNul)
{
    String s;
    char16_t* units = s.Lock(10);
    ASSERT_NE(units, nullptr);
    EXPECT_EQ(units[9], 0);
    units[0] = u'h';
    units[1] = u'i';
    units[2] = 0;
    EXPECT_EQ(s.GetLength(), 2u); // found by scanning while locked
    s.Unlock();
    EXPECT_EQ(Utf16(s), u"hi");
    EXPECT_EQ(s.GetLength(), 2u);

    String cut(u"gone");
    cut.Lock()[0] = 0;
    cut.Unlock();
    EXPECT_TRUE(cut.SharesBufferWith(String::Empty()));
}

TEST(StringT, LockWithASmallerCountCutsTheText)
{
    String s(u"abcdef");
    char16_t* units = s.Lock(3);
    EXPECT_EQ(units[0], u'a');
    EXPECT_EQ(units[2], 0);
    s.Unlock();
    EXPECT_EQ(Utf16(s), u"ab");
}

TEST(StringT, AssigningIntoALockedStringGrowsItsBufferInsteadOfOverrunningIt)
{
    String s;
    s.Lock(2);
    s = String(u"a text far longer than the two units locked");
    EXPECT_TRUE(s.IsLocked());
    EXPECT_EQ(Utf16(s), u"a text far longer than the two units locked");
    s.Assign(u"short");
    EXPECT_EQ(Utf16(s), u"short");
    s.Unlock();
    EXPECT_EQ(Utf16(s), u"short");
    EXPECT_EQ(s.GetLength(), 5u);
}

TEST(StringT, AssigningAPartOfALockedStringToItself)
{
    String s(u"0123456789");
    const char16_t* units = s.Lock();
    s.Assign(units + 4, 3);
    s.Unlock();
    EXPECT_EQ(Utf16(s), u"456");
}

TEST(StringT, ClearOfALockedStringKeepsTheLock)
{
    String s(u"abc");
    s.Lock();
    s.Clear();
    EXPECT_TRUE(s.IsLocked());
    EXPECT_TRUE(s.IsEmpty());
    s.Unlock();
    EXPECT_TRUE(s.SharesBufferWith(String::Empty()));
}

TEST(StringT, AppendWorksOnLockedStringsAndOnItself)
{
    String s(u"ab");
    s += s;
    EXPECT_EQ(Utf16(s), u"abab");

    String shared = s;
    s += shared;
    EXPECT_EQ(Utf16(s), u"abababab");
    EXPECT_EQ(Utf16(shared), u"abab");

    String locked(u"x");
    locked.Lock();
    locked += u"yz"_krs;
    EXPECT_TRUE(locked.IsLocked());
    locked.Unlock();
    EXPECT_EQ(Utf16(locked), u"xyz");

    String own(u"hello");
    own.Append(own.GetPtr() + 1, 3);
    EXPECT_EQ(Utf16(own), u"helloell");

    String chars;
    chars.AppendChar(u'A').AppendChar(0).AppendChar(u'\u00E9');
    chars += 'z';
    chars += static_cast<char>(0xC3); // half a UTF-8 character is no character
    EXPECT_EQ(Utf16(chars), u"A\u00E9z\uFFFD");
}

TEST(StringT, ConcatenationMakesANewString)
{
    const String a(u"Fader");
    EXPECT_EQ(Utf16(a + u" 3"), u"Fader 3");
    EXPECT_EQ(Utf16(u"Big " + a), u"Big Fader");
    EXPECT_EQ(Utf16(a + a), u"FaderFader");
    EXPECT_EQ(Utf16(a), u"Fader");
}

TEST(StringT, InsertAtTheEndsAndInside)
{
    String s(u"ace");
    EXPECT_EQ(s.Insert(3, u"!"_krs), KR::kOk);
    EXPECT_EQ(s.Insert(0, u">"_krs), KR::kOk);
    EXPECT_EQ(s.Insert(2, u"b"_krs), KR::kOk);
    EXPECT_EQ(s.Insert(4, u"dXYZ", 1), KR::kOk);
    EXPECT_EQ(Utf16(s), u">abcde!");
    EXPECT_EQ(s.Insert(8, u"?"_krs), KR::kInvalidArg);
    EXPECT_EQ(Utf16(s), u">abcde!");

    String self(u"ab");
    EXPECT_EQ(self.Insert(1, self), KR::kOk);
    EXPECT_EQ(Utf16(self), u"aabb");
}

TEST(StringT, SubStringClipsToTheText)
{
    const String s(u"0123456789");
    EXPECT_EQ(Utf16(s.SubString(2, 3)), u"234");
    EXPECT_EQ(Utf16(s.SubString(7, 100)), u"789");
    EXPECT_EQ(Utf16(s.SubString(4)), u"456789");
    EXPECT_EQ(Utf16(s.Left(2)), u"01");
    EXPECT_TRUE(s.SubString(10, 5).IsEmpty());
    EXPECT_TRUE(s.SubString(3, 0).IsEmpty());
}

TEST(StringT, SubStringWithANegativeStartCountsFromTheEnd)
{
    const String s(u"0123456789");
    EXPECT_EQ(Utf16(s.SubString(-3, 3)), u"789");
    EXPECT_EQ(Utf16(s.SubString(-3)), u"789");
    // Two units before the beginning shorten the count by two.
    EXPECT_EQ(Utf16(s.SubString(-12, 5)), u"012");
    // Nothing left: empty, not the whole text.
    EXPECT_TRUE(s.SubString(-20, 5).IsEmpty());
    EXPECT_EQ(Utf16(s.SubString(INT32_MIN, 0xFFFFFFFFu)), u"0123456789");
    EXPECT_TRUE(s.SubString(INT32_MIN, 100).IsEmpty());
}

TEST(StringT, FindLooksForTextAndUnits)
{
    const String s(u"CONTEXT_MENU.1.2");
    EXPECT_EQ(s.Find(String(u"MENU")), 8);
    EXPECT_EQ(s.Find(String(u"menu")), -1);
    EXPECT_EQ(s.Find(String()), 0);
    EXPECT_EQ(s.Find(u'.'), 12);
    EXPECT_EQ(s.Find(u'.', 13), 14);
    EXPECT_EQ(s.Find(u'#'), -1);
}

TEST(StringT, EqualityWithCTextsTreatsNullAsEmpty)
{
    const String empty;
    const String s(u"abc");
    EXPECT_TRUE(empty == static_cast<const char16_t*>(nullptr));
    EXPECT_TRUE(empty == u"");
    EXPECT_FALSE(s == static_cast<const char16_t*>(nullptr));
    EXPECT_FALSE(s == u"");
    EXPECT_TRUE(s == u"abc");
    EXPECT_FALSE(s == u"ab");
    EXPECT_FALSE(s == u"abcd");
    EXPECT_TRUE(u"abc" == s);
}

TEST(StringT, OrderIsByUnsignedCodeUnit)
{
    EXPECT_TRUE(String(u"ab") < String(u"abc"));
    EXPECT_FALSE(String(u"abc") < String(u"ab"));
    EXPECT_TRUE(String(u"B") < String(u"a"));
    EXPECT_TRUE(String(u"z") < String(u"\u00E9"));
    EXPECT_TRUE(String(u"\uD7FF") < String(u"\uE000"));
    EXPECT_TRUE(Utf8String("z") < Utf8String("\xC3\xA9"));
    EXPECT_FALSE(String(u"same") < String(u"same"));

    const std::map<String, int> ordered{{String(u"b"), 2}, {String(u"a"), 1}, {String(u"c"), 3}};
    EXPECT_EQ(Utf16(ordered.begin()->first), u"a");
}

TEST(StringT, CaseMappingCoversAsciiAndLatin1Only)
{
    const String s(u"Fader \u00E9\u00C0\u00F7\u00FF\u00DF \u0101");
    EXPECT_EQ(Utf16(s.ToUpper()), u"FADER \u00C9\u00C0\u00F7\u00FF\u00DF \u0101");
    EXPECT_EQ(Utf16(s.ToLower()), u"fader \u00E9\u00E0\u00F7\u00FF\u00DF \u0101");
    EXPECT_EQ(Utf16(s), u"Fader \u00E9\u00C0\u00F7\u00FF\u00DF \u0101");
    EXPECT_EQ(std::string(Utf8String("Caf\xC3\xA9").ToUpper().GetView()), "CAF\xC3\xA9");
}

TEST(StringT, ReplaceCharsReplacesEveryMemberOfTheSet)
{
    String path(u"a\\b/c\\d");
    const String before = path;
    path.ReplaceChars(u"\\/", u'|');
    EXPECT_EQ(Utf16(path), u"a|b|c|d");
    EXPECT_EQ(Utf16(before), u"a\\b/c\\d");
    EXPECT_EQ(Utf16(path.ReplaceChars(u"|", 0)), u"a|b|c|d");

    String untouched(u"abc");
    const String shared = untouched;
    untouched.ReplaceChars(u"xyz", u'-');
    EXPECT_TRUE(untouched.SharesBufferWith(shared));
}

TEST(StringT, MoveLeavesTheSourceEmptyAndUsable)
{
    String source(u"moved");
    String target(std::move(source));
    EXPECT_EQ(Utf16(target), u"moved");
    EXPECT_TRUE(source.IsEmpty()); // NOLINT(bugprone-use-after-move): moved-from state is defined
    source += u"again";
    EXPECT_EQ(Utf16(source), u"again");

    String other;
    other = std::move(target);
    EXPECT_EQ(Utf16(other), u"moved");
    EXPECT_TRUE(target.IsEmpty()); // NOLINT(bugprone-use-after-move)
}

TEST(StringT, ConstructionFromTheOtherEncodingConverts)
{
    const String wide("Gr\xC3\xBC\xC3\x9F"
                      "e \xF0\x9F\x98\x80");
    EXPECT_EQ(Utf16(wide), u"Gr\u00FC\u00DFe \U0001F600");
    const Utf8String narrow(wide);
    EXPECT_EQ(std::string(narrow.GetView()), "Gr\xC3\xBC\xC3\x9F"
                                             "e \xF0\x9F\x98\x80");
    EXPECT_EQ(Utf16(narrow.ToUtf16()), Utf16(wide));
    EXPECT_EQ(std::string(wide.ToUtf8().GetView()), std::string(narrow.GetView()));
    EXPECT_EQ(std::string(Utf8String(u"MIDIIN4").GetView()), "MIDIIN4");
}

TEST(StringT, AssignUtf8StopsAtTheCountOrTheNul)
{
    String s;
    EXPECT_EQ(s.AssignUtf8("value\0ignored", 100), KR::kOk);
    EXPECT_EQ(Utf16(s), u"value");
    EXPECT_EQ(s.AssignUtf8("\xC3\xA9t\xC3\xA9", 3), KR::kOk);
    EXPECT_EQ(Utf16(s), u"\u00E9t");
    // The count ends inside a character: the text before it stays.
    EXPECT_EQ(s.AssignUtf8("ab\xC3\xA9", 3), KR::kFail);
    EXPECT_EQ(Utf16(s), u"ab");
    EXPECT_EQ(s.AssignUtf8(nullptr, 3), KR::kOk);
    EXPECT_TRUE(s.IsEmpty());
}

TEST(StringT, StringsWorkAsHashKeys)
{
    std::unordered_set<String> names{String(u"NID_IDLE"), String(u"NID_APP_EXIT_REQ")};
    EXPECT_EQ(names.count(String(u"NID_IDLE")), 1u);
    EXPECT_EQ(names.count(String(u"NID_idle")), 0u);
}

TEST(StringT, ConstructionForms)
{
    EXPECT_EQ(Utf16(String(u"abcdef", 3)), u"abc");
    EXPECT_EQ(Utf16(String(u"ab\0cd", 5)), u"ab");
    EXPECT_EQ(Utf16(String(std::u16string_view(u"view!", 4))), u"view");
    EXPECT_EQ(Utf16(String(u'Q')), u"Q");
    EXPECT_TRUE(String(char16_t(0)).IsEmpty());
    EXPECT_TRUE(String(static_cast<const char16_t*>(nullptr)).IsEmpty());
    EXPECT_EQ(Utf16(u"lit"_krs), u"lit");
    EXPECT_EQ(std::string("lit"_kru8.GetView()), "lit");
}

} // namespace

namespace
{

TEST(StringT, CopiesOfOneStringChangeIndependentlyOnSeveralThreads)
{
    const KR::String shared(u"Preset");
    constexpr int kThreads = 4;
    std::vector<std::u16string> results(kThreads);
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < kThreads; ++t)
        {
            threads.emplace_back(
                [&shared, &results, t]
                {
                    KR::String own = shared;
                    for (int i = 0; i < 200; ++i)
                    {
                        KR::String step = shared; // shared reads of the one buffer meanwhile
                        own += step.SubString(0, 1);
                    }
                    own.Insert(0, KR::String::Format(u"%d:", t));
                    results[static_cast<std::size_t>(t)] = std::u16string(own.GetView());
                });
        }
    }
    for (int t = 0; t < kThreads; ++t)
    {
        const std::u16string expected =
            std::u16string(1, static_cast<char16_t>(u'0' + t)) + u":Preset" + std::u16string(200, u'P');
        EXPECT_EQ(results[static_cast<std::size_t>(t)], expected);
    }
    EXPECT_EQ(std::u16string(shared.GetView()), u"Preset");
}

} // namespace

namespace
{

std::vector<std::u16string> Pieces(const KR::String& text, const char16_t* separators)
{
    KR::Array<KR::String> out;
    out.AddItem(KR::String(u"stale"));
    const std::uint32_t count = text.Split(out, separators);
    EXPECT_EQ(count, out.GetCount());
    std::vector<std::u16string> pieces;
    for (const KR::String& piece : out)
    {
        pieces.emplace_back(piece.GetView());
    }
    return pieces;
}

TEST(StringT, SplitCutsAtEverySeparator)
{
    using Lines = std::vector<std::u16string>;
    EXPECT_EQ(Pieces(KR::String(u"one\ntwo\r\nthree"), u"\n"), (Lines{u"one", u"two\r", u"three"}));
    EXPECT_EQ(Pieces(KR::String(u"a\n\nb\n"), u"\n"), (Lines{u"a", u"", u"b"}));
    EXPECT_EQ(Pieces(KR::String(u"\nx"), u"\n"), (Lines{u"", u"x"}));
    EXPECT_EQ(Pieces(KR::String(u"a,b;c"), u",;"), (Lines{u"a", u"b", u"c"}));
    EXPECT_EQ(Pieces(KR::String(u"whole"), u"\n"), (Lines{u"whole"}));
    EXPECT_EQ(Pieces(KR::String(), u"\n"), (Lines{u""}));
}

} // namespace
