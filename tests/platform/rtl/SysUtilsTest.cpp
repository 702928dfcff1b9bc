#include "platform/rtl/SysUtils.h"
#include "platform/rtl/CodePage.h"

#include <gtest/gtest.h>

namespace vesk {

TEST(StrToInt, AcceptsSignedDecimalIntegersOnly) {
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("-50"), -50);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", "-", "+", "+-1", "--1", " 5", "5 ", "12a", "0x10", "$10", "1.0",
                            "2147483648", "-2147483649", "99999999999999999999"})
        EXPECT_THROW(StrToInt(bad), EConvertError) << bad;
    try {
        StrToInt("abc");
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'abc' is not a valid integer value");
    }
}

TEST(TextCompare, IgnoresAsciiCaseOnly) {
    EXPECT_TRUE(SameText("TForm1", "tform1"));
    EXPECT_FALSE(SameText("TForm1", "TForm"));
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_LT(CompareText("ab", "abc"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    // bytes above 127 compare unsigned, after every ASCII letter
    EXPECT_GT(CompareText("\xC0", "z"), 0);
    EXPECT_EQ(UpperCase("abc\xE0z"), "ABC\xE0Z");
}

TEST(FileNameParts, SplitAtEitherSeparator) {
    EXPECT_EQ(ExtractFileName("/src/units/Main.pas"), "Main.pas");
    EXPECT_EQ(ExtractFileName("C:\\Delphi\\Lib\\Forms.pas"), "Forms.pas");
    EXPECT_EQ(ExtractFileName("Main.pas"), "Main.pas");
    EXPECT_EQ(ExtractFilePath("/src/units/Main.pas"), "/src/units/");
    EXPECT_EQ(ExtractFileExt("/src/units/Main.pas"), ".pas");
    EXPECT_EQ(ExtractFileExt("/src/my.units/Makefile"), "");
    EXPECT_EQ(ExtractFileExt("archive.tar.gz"), ".gz");
    EXPECT_EQ(ChangeFileExt("/src/units/Unit2.pas", ".dfm"), "/src/units/Unit2.dfm");
    EXPECT_EQ(ChangeFileExt("/src/my.units/Makefile", ".bak"), "/src/my.units/Makefile.bak");
    EXPECT_EQ(Trim(" \t Name\r\n"), "Name");
    EXPECT_EQ(Trim(" \n "), "");
}

TEST(CodePage, CyrillicRoundTripsAndUnknownsBecomeQuestionMarks) {
    const std::string utf8 = "Ёлка, ёж, АБВ абв №";
    const std::string cp = Utf8ToWin1251(utf8);
    EXPECT_EQ(cp, "\xA8\xEB\xEA\xE0, \xB8\xE6, \xC0\xC1\xC2 \xE0\xE1\xE2 \xB9");
    EXPECT_EQ(Win1251ToUtf8(cp), utf8);
    EXPECT_EQ(Utf8ToWin1251("日本"), "??");
    EXPECT_EQ(Utf8ToWin1251("a\xD0"), "a?"); // cut-off sequence
    EXPECT_EQ(Utf8ToWin1251("\x80z"), "?z"); // stray continuation byte
}

} // namespace vesk
