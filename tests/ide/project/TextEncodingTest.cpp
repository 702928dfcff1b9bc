#include "ide/project/TextEncoding.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(TextEncodingTest, Utf8IsTakenAsItIsAndEveryOtherFileAsLatin1) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"));
    EXPECT_TRUE(IsValidUtf8(std::string("a\0b", 3))); // NUL is a character
    EXPECT_FALSE(IsValidUtf8("caf\xE9"));             // Latin-1 e acute
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));            // overlong "/"
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));        // a surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));    // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));            // cut off at the end
    EXPECT_FALSE(IsValidUtf8("\x80"));                // a stray continuation byte

    const TDecodedText utf8 = DecodeFileText("caf\xC3\xA9\r\n");
    EXPECT_EQ(utf8.Encoding, TTextEncoding::Utf8);
    EXPECT_EQ(utf8.Utf8, "caf\xC3\xA9\r\n");
    const TDecodedText latin1 = DecodeFileText("caf\xE9 \xFF\x80");
    EXPECT_EQ(latin1.Encoding, TTextEncoding::Latin1);
    EXPECT_EQ(latin1.Utf8, "caf\xC3\xA9 \xC3\xBF\xC2\x80");
}

TEST(TextEncodingTest, EveryByteComesBackAsItWas) {
    // All 256 byte values, invalid as UTF-8, through the editor's text and back.
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    bytes += "\r\n\n\r";
    const TDecodedText decoded = DecodeFileText(bytes);
    ASSERT_EQ(decoded.Encoding, TTextEncoding::Latin1);
    EXPECT_TRUE(IsValidUtf8(decoded.Utf8));
    EXPECT_EQ(EncodeFileText(decoded.Utf8, decoded.Encoding), bytes);
    const std::string utf8 = "\xEF\xBB\xBFunit \xE2\x82\xAC;\r\n";
    EXPECT_EQ(EncodeFileText(DecodeFileText(utf8).Utf8, TTextEncoding::Utf8), utf8);
}

TEST(TextEncodingTest, ACharacterLatin1CannotHoldIsAnErrorNamingItsLine) {
    // Typed into a Latin-1 file: the euro sign has no Latin-1 byte.
    try {
        EncodeFileText("caf\xC3\xA9\nline 2\nprice \xE2\x82\xAC\n", TTextEncoding::Latin1);
        FAIL() << "no error";
    } catch (const EEncodingError& e) {
        EXPECT_NE(e.Message().find("Line 3"), std::string::npos) << e.Message();
    }
}

} // namespace
} // namespace vesk
