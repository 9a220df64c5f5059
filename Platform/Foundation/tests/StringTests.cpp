#include <Foundation/Foundation.h>

#include "ChildProcess.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <climits>
#include <clocale>
#include <cstdlib>

TEST(StringNumbers, LeadingBlanksAreSkippedAndTheLeadingNumberIsRead)
{
    EXPECT_EQ(NSString("42").intValue(), 42);
    EXPECT_EQ(NSString("  \t-12abc").intValue(), -12);
    EXPECT_EQ(NSString("+7").intValue(), 7);
    EXPECT_EQ(NSString("3.9").intValue(), 3);
    EXPECT_EQ(NSString("x1").intValue(), 0);
    EXPECT_EQ(NSString("").intValue(), 0);
    EXPECT_EQ(NSString("-").intValue(), 0);
    EXPECT_EQ(NSString("99999999999").intValue(), INT_MAX);
    EXPECT_EQ(NSString("-99999999999999999999999").intValue(), INT_MIN);

    EXPECT_FLOAT_EQ(NSString("128").floatValue(), 128.0f);
    EXPECT_FLOAT_EQ(NSString(" 2.5e1)").floatValue(), 25.0f);
    EXPECT_FLOAT_EQ(NSString("-.5").floatValue(), -0.5f);
    EXPECT_FLOAT_EQ(NSString("red").floatValue(), 0.0f);
    EXPECT_FLOAT_EQ(NSString("nan").floatValue(), 0.0f);
    EXPECT_FLOAT_EQ(NSString("inf").floatValue(), 0.0f);
}

TEST(StringNumbers, ReadingIgnoresTheLocale)
{
    // "," is the decimal mark there; `make deps` builds the locale.
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "this machine has no de_DE.UTF-8 locale (localedef -i de_DE -f UTF-8 de_DE.UTF-8)";
    EXPECT_FLOAT_EQ(NSString("1.5").floatValue(), 1.5f);
    EXPECT_FLOAT_EQ(NSString("1,5").floatValue(), 1.0f);
    std::setlocale(LC_NUMERIC, "C");
}

TEST(StringParts, SubstringsCountCharactersAndClampAtTheEnds)
{
    const NSString text("RGB(1,2,3)");
    EXPECT_EQ(text.substringFromIndex(4).utf8(), "1,2,3)");
    EXPECT_EQ(text.substringToIndex(9).utf8(), "RGB(1,2,3");
    EXPECT_EQ(text.substringFromIndex(40).utf8(), "");
    EXPECT_EQ(text.substringToIndex(40).utf8(), "RGB(1,2,3)");
    const NSString accented("Ünïcode");
    EXPECT_EQ(accented.length(), 7u);
    EXPECT_EQ(accented.substringFromIndex(2).utf8(), "ïcode");
    EXPECT_EQ(accented.substringToIndex(1).utf8(), "Ü");
}

TEST(StringParts, SplittingKeepsEmptyParts)
{
    NSArray parts = NSString("1,,3,").componentsSeparatedByString(",");
    ASSERT_EQ(parts.count(), 4u);
    EXPECT_EQ(parts.objectAtIndex(0).utf8(), "1");
    EXPECT_EQ(parts.objectAtIndex(1).utf8(), "");
    EXPECT_EQ(parts.objectAtIndex(3).utf8(), "");
    EXPECT_EQ(parts.objectAtIndex(9).utf8(), "") << "past the end reads empty";
    EXPECT_EQ(NSString("abc").componentsSeparatedByString(",").count(), 1u);
}

TEST(StringParts, PathHelpers)
{
    EXPECT_EQ(NSString("/a/b/").lastPathComponent().utf8(), "b");
    EXPECT_EQ(NSString("/a/b").stringByDeletingLastPathComponent().utf8(), "/a");
    EXPECT_EQ(NSString("/a").stringByDeletingLastPathComponent().utf8(), "/");
    EXPECT_EQ(NSString("/a").stringByAppendingPathComponent("b c").utf8(), "/a/b c");
    EXPECT_TRUE(NSString("/Library/X").hasPrefix("/Library"));
}

TEST(StringFormat, ObjectsNumbersAndNil)
{
    const NSString home("/home/ada smith");
    EXPECT_EQ(NSString::stringWithFormat("%@/Library/QuickLook", home).utf8(), "/home/ada smith/Library/QuickLook");
    EXPECT_EQ(NSString::stringWithFormat("%@.png", &home).utf8(), "/home/ada smith.png");
    EXPECT_EQ(NSString::stringWithFormat("%@|%@", nullptr, static_cast<const NSString*>(nullptr)).utf8(), "(null)|(null)");
    EXPECT_EQ(NSString::stringWithFormat("%d", -2L).utf8(), "-2");
    EXPECT_EQ(NSString::stringWithFormat("RGB(%.0f,%.0f,%.0f)", 255.0, 128.0, 0.0).utf8(), "RGB(255,128,0)");
    EXPECT_EQ(NSString::stringWithFormat("%5.1f|%-4d|%x|%%|%s", 3.14159, 7, 255u, "c").utf8(), "  3.1|7   |ff|%|c");
    EXPECT_EQ(NSString::stringWithFormat("%ld %lu", 5L, 6UL).utf8(), "5 6");
    EXPECT_EQ(NSString::stringWithFormat("%d and %d", 1).utf8(), "1 and 0") << "a missing argument prints as 0";
    EXPECT_EQ(NSString::stringWithFormat("%@", NSNumber::numberWithLongLong(12)).utf8(), "12");
    EXPECT_EQ(NSString::stringWithFormat("100%").utf8(), "100%");
}

TEST(HomeFolder, FromTheEnvironmentElseThePasswordDatabase)
{
    const char* saved = std::getenv("HOME");
    const std::string savedHome = saved != nullptr ? saved : "";
    const passwd* entry = getpwuid(getuid());
    ASSERT_NE(entry, nullptr);
    ASSERT_NE(std::string(entry->pw_dir), "/somewhere/else");

    setenv("HOME", "/somewhere/else", 1);
    EXPECT_EQ(NSHomeDirectory().utf8(), "/somewhere/else");
    for (const char* unset : std::initializer_list<const char*>{"", nullptr}) {
        if (unset != nullptr)
            setenv("HOME", unset, 1);
        else
            unsetenv("HOME");
        EXPECT_EQ(NSHomeDirectory().utf8(), entry->pw_dir);
    }

    if (saved != nullptr)
        setenv("HOME", savedHome.c_str(), 1);
}

TEST(Log, OneLineToStandardErrorWithTheText)
{
    testing::internal::CaptureStderr();
    NSLog("Copy Rights Unsuccessful: %d", -60006);
    NSLog("%@ and %@", NSString("a"), NSString("b"));
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_NE(printed.find("] Copy Rights Unsuccessful: -60006\n"), std::string::npos) << printed;
    EXPECT_NE(printed.find("] a and b\n"), std::string::npos) << printed;
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 2);
}
