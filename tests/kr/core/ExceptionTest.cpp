#include "kr/core/Exception.h"

#include <gtest/gtest.h>

namespace KR
{
namespace
{

TEST(ResultToString, PrintsUpperCaseHexadecimalWithoutPrefixOrLeadingZeros)
{
    EXPECT_EQ(ResultToString(0), "KRRESULT = 0");
    EXPECT_EQ(ResultToString(static_cast<Result>(0x80070057u)), "KRRESULT = 80070057");
    EXPECT_EQ(ResultToString(kFail), "KRRESULT = 80004005");
    EXPECT_EQ(ResultToString(0xABC), "KRRESULT = ABC");
    EXPECT_EQ(ResultToString(-1), "KRRESULT = FFFFFFFF");
}

TEST(Exception, BaseTextIsTheStandardTextOfTheSameObject)
{
    const std::string text = "Out of Range : KR::Thing::Get : kr\\core\\Thing : Line 7";
    try
    {
        Throw<std::out_of_range>(text);
    }
    catch (const ExceptionBase& error)
    {
        EXPECT_EQ(error.What(), text);
        EXPECT_STREQ(error.What(), dynamic_cast<const std::exception&>(error).what());
    }
}

TEST(Exception, FailedResultCarriesCodeAndStoredSite)
{
    try
    {
        ThrowIfFailed(kOk, " : never");
        ThrowIfFailed(kNothingDone, " : never");
        ThrowIfFailed(kFail, " : KR::LMidiManager::GetPresetFromMidiDevice : engine\\MidiManager : Line 301");
        FAIL() << "a failure went through";
    }
    catch (const Exception<FailedResultException>& error)
    {
        EXPECT_STREQ(error.what(),
                     "Failed Result : KRRESULT = 80004005 : "
                     "KR::LMidiManager::GetPresetFromMidiDevice : engine\\MidiManager : Line 301");
        EXPECT_STREQ(static_cast<const ExceptionBase&>(error).What(), error.what());
    }
}

TEST(Exception, WrapsAStandardExceptionKeepingItsText)
{
    const Exception<std::bad_alloc> wrapped{std::bad_alloc()};
    EXPECT_STREQ(static_cast<const ExceptionBase&>(wrapped).What(), std::bad_alloc().what());
}

TEST(ErrorText, JoinsKindDetailsOperationPathAndLine)
{
    EXPECT_EQ(
        ErrorText<std::runtime_error>({"Null Pointer", "Invalid Control Name"}, "KR::LApp::CreateMainWindow",
                                      "kr\\app\\App", 1234),
        "Runtime Error : Null Pointer : Invalid Control Name : KR::LApp::CreateMainWindow : kr\\app\\App : "
        "Line 1234");
    EXPECT_EQ(ErrorText<std::domain_error>({}, "KR::LRenderer::Create", "Renderer\\Renderer", 114),
              "Domain Error : KR::LRenderer::Create : Renderer\\Renderer : Line 114");
    EXPECT_EQ(ErrorText<std::invalid_argument>({}, "F", "P", 1), "Invalid Argument : F : P : Line 1");
    EXPECT_EQ(ErrorText<std::logic_error>({"d"}, "F", "P", 2), "Logic Error : d : F : P : Line 2");
    EXPECT_EQ(ErrorText<std::out_of_range>({}, "F", "P", 3), "Out of Range : F : P : Line 3");
    EXPECT_EQ(ErrorText<FailedResultException>({"KRRESULT = 1"}, "F", "P", 4),
              "Failed Result : KRRESULT = 1 : F : P : Line 4");
}

} // namespace
} // namespace KR
