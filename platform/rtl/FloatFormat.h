// Floating-point numbers as text, in the run-time's formats, with the separators of
// the format settings.
#pragma once

#include <string>

namespace vesk {

enum class TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber };

// The separators numbers are written with. Both are byte strings (UTF-8 when the
// system locale says so); an empty ThousandSeparator groups nothing.
struct TFormatSettings {
    std::string DecimalSeparator = ".";
    std::string ThousandSeparator = ",";

    // The settings of the user's numeric locale (LC_ALL, LC_NUMERIC, LANG); the C
    // locale's when it is not installed.
    static TFormatSettings FromSystem();
};

// The settings the routines below use unless given others. Start from the system
// locale; assign to change them for the whole program.
TFormatSettings& FormatSettings();

// Value as text, rounded to at most Precision significant digits (1 to 18):
// - ffGeneral: the shortest form, scientific ("1.5E20", "1E-7") when the exponent is
//   below -5 or not below Precision; Digits is the least number of exponent digits.
// - ffExponent: "-d.dddE+dd" with Precision digits in all and at least Digits (0 to 4)
//   exponent digits.
// - ffFixed: "-ddd.dd" with Digits (0 to 18) digits after the decimal separator.
// - ffNumber: as ffFixed, with thousand separators.
// Fixed and number fall back to ffGeneral when the integer part has more than
// Precision digits. NaN and infinities read "NAN", "INF" and "-INF".
std::string FloatToStrF(long double value, TFloatFormat format, int precision, int digits);
std::string FloatToStrF(long double value, TFloatFormat format, int precision, int digits,
                        const TFormatSettings& settings);

} // namespace vesk
