#include "platform/rtl/FloatFormat.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

const TFormatSettings English{".", ","};
const TFormatSettings German{",", "."};

std::string F(long double v, TFloatFormat f, int precision, int digits,
              const TFormatSettings& s = English) {
    return FloatToStrF(v, f, precision, digits, s);
}

TEST(FloatToStrF, NumberFormatGroupsThousandsAndRoundsHalfAwayFromZero) {
    using enum TFloatFormat;
    EXPECT_EQ(F(1234.5678L, ffNumber, 16, 2), "1,234.57");
    EXPECT_EQ(F(1234.5678L, ffNumber, 16, 0), "1,235");
    EXPECT_EQ(F(1234.5678L, ffNumber, 16, 2, German), "1.234,57");
    EXPECT_EQ(F(1234567.5L, ffNumber, 16, 1, {".", "\xE2\x80\xAF"}), "1\xE2\x80\xAF"
                                                                     "234\xE2\x80\xAF"
                                                                     "567.5");
    EXPECT_EQ(F(123456.0L, ffNumber, 16, 2, {".", ""}), "123456.00");
    EXPECT_EQ(F(999.999L, ffNumber, 16, 2), "1,000.00");
    EXPECT_EQ(F(-0.5L, ffNumber, 16, 0), "-1");
    EXPECT_EQ(F(2.5L, ffFixed, 16, 0), "3");
    EXPECT_EQ(F(0.125L, ffFixed, 16, 2), "0.13");
    EXPECT_EQ(F(0.004L, ffFixed, 16, 2), "0.00");
    EXPECT_EQ(F(-0.004L, ffFixed, 16, 2), "0.00");
    EXPECT_EQ(F(0.0L, ffNumber, 16, 3), "0.000");
    EXPECT_EQ(F(100.0L, ffNumber, 16, 0), "100");
}

TEST(FloatToStrF, PrecisionLimitsTheSignificantDigits) {
    using enum TFloatFormat;
    EXPECT_EQ(F(1234.5678L, ffFixed, 4, 2), "1235.00");
    EXPECT_EQ(F(0.000123456L, ffFixed, 3, 8), "0.00012300");
    // An integer part longer than the precision turns to the general format, Digits
    // then being the least number of exponent digits.
    EXPECT_EQ(F(123456.0L, ffNumber, 4, 2), "1.235E05");
}

TEST(FloatToStrF, GeneralAndExponentFormats) {
    using enum TFloatFormat;
    EXPECT_EQ(F(1.5e20L, ffGeneral, 15, 0), "1.5E20");
    EXPECT_EQ(F(1e-7L, ffGeneral, 15, 0), "1E-7");
    EXPECT_EQ(F(0.000125L, ffGeneral, 15, 0), "0.000125");
    EXPECT_EQ(F(123.25L, ffGeneral, 15, 0), "123.25");
    EXPECT_EQ(F(-1000.0L, ffGeneral, 15, 0, German), "-1000");
    EXPECT_EQ(F(0.0L, ffGeneral, 15, 0), "0");
    EXPECT_EQ(F(1234.5L, ffExponent, 4, 2), "1.235E+03");
    EXPECT_EQ(F(-0.00125L, ffExponent, 3, 0, German), "-1,25E-3");
    EXPECT_EQ(F(0.0L, ffExponent, 3, 2), "0.00E+00");
    EXPECT_EQ(F(1.0L / 0.0L, ffNumber, 16, 2), "INF");
    EXPECT_EQ(F(-1.0L / 0.0L, ffNumber, 16, 2), "-INF");
    EXPECT_EQ(F(0.0L / 0.0L, ffNumber, 16, 2), "NAN");
}

TEST(FloatToStrF, DefaultSettingsCanBeSetAndStartFromTheLocale) {
    const TFormatSettings saved = FormatSettings();
    EXPECT_FALSE(saved.DecimalSeparator.empty());
    FormatSettings() = German;
    EXPECT_EQ(FloatToStrF(1234.5L, TFloatFormat::ffNumber, 16, 1), "1.234,5");
    FormatSettings() = saved;
}

} // namespace
} // namespace vesk
