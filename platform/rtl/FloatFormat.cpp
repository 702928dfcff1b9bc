#include "platform/rtl/FloatFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <langinfo.h>
#include <locale.h>

namespace vesk {

namespace {

// The digits of a value rounded to a number of significant digits: the value is
// D[0].D[1]D[2]... times ten to the Exponent.
struct TDecimal {
    std::string Digits;
    int Exponent = 0;
};

template <typename... Args>
std::string Print(const char* format, Args... args) {
    const int size = std::snprintf(nullptr, 0, format, args...);
    std::vector<char> text(static_cast<std::size_t>(size) + 1);
    std::snprintf(text.data(), text.size(), format, args...);
    return std::string(text.data(), static_cast<std::size_t>(size));
}

// Magnitude is finite and not negative.
TDecimal Significant(long double magnitude, int precision) {
    const std::string text = Print("%.*Le", precision - 1, magnitude);
    TDecimal result;
    std::size_t i = 0;
    for (; i < text.size() && text[i] != 'e'; ++i)
        if (text[i] >= '0' && text[i] <= '9')
            result.Digits += text[i];
    result.Exponent = std::atoi(text.c_str() + i + 1);
    return result;
}

std::string Grouped(const std::string& integer, const std::string& separator) {
    if (separator.empty())
        return integer;
    std::string result;
    for (std::size_t i = 0; i < integer.size(); ++i) {
        if (i > 0 && (integer.size() - i) % 3 == 0)
            result += separator;
        result += integer[i];
    }
    return result;
}

std::string ExponentText(int exponent, int minDigits, bool plusSign) {
    std::string digits = std::to_string(std::abs(exponent));
    if (static_cast<int>(digits.size()) < minDigits)
        digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
    return "E" + std::string(exponent < 0 ? "-" : (plusSign ? "+" : "")) + digits;
}

std::string General(long double magnitude, int precision, int digits,
                    const TFormatSettings& settings) {
    if (magnitude == 0)
        return "0";
    TDecimal d = Significant(magnitude, precision);
    while (d.Digits.size() > 1 && d.Digits.back() == '0')
        d.Digits.pop_back();
    const int e = d.Exponent;
    if (e < -5 || e >= precision) {
        std::string text = d.Digits.substr(0, 1);
        if (d.Digits.size() > 1)
            text += settings.DecimalSeparator + d.Digits.substr(1);
        return text + ExponentText(e, digits, false);
    }
    if (e < 0)
        return "0" + settings.DecimalSeparator + std::string(static_cast<std::size_t>(-e - 1), '0') +
               d.Digits;
    std::string integer = d.Digits.substr(0, std::min<std::size_t>(d.Digits.size(), e + 1));
    integer.append(static_cast<std::size_t>(e + 1) - integer.size(), '0');
    const std::string fraction =
        d.Digits.size() > static_cast<std::size_t>(e + 1) ? d.Digits.substr(e + 1) : "";
    return fraction.empty() ? integer : integer + settings.DecimalSeparator + fraction;
}

std::string Exponent(long double magnitude, int precision, int digits,
                     const TFormatSettings& settings) {
    const TDecimal d = magnitude == 0 ? TDecimal{std::string(precision, '0'), 0}
                                      : Significant(magnitude, precision);
    std::string text = d.Digits.substr(0, 1);
    if (d.Digits.size() > 1)
        text += settings.DecimalSeparator + d.Digits.substr(1);
    return text + ExponentText(d.Exponent, digits, true);
}

// Fixed or number format; empty when the integer part needs more than Precision digits.
std::string Fixed(long double magnitude, int precision, int digits, bool grouped,
                  const TFormatSettings& settings) {
    std::string integer, fraction;
    const TDecimal d = magnitude == 0 ? TDecimal{"0", 0} : Significant(magnitude, precision);
    if (d.Exponent >= precision)
        return {};
    if (d.Exponent + 1 + digits <= precision) {
        // Precision does not bind: round once, to Digits decimals.
        const std::string text = Print("%.*Lf", digits, magnitude);
        const std::size_t point = text.find_first_not_of("0123456789");
        integer = text.substr(0, point);
        if (point != std::string::npos)
            fraction = text.substr(point + 1);
    } else if (d.Exponent >= 0) {
        integer = d.Digits.substr(0, static_cast<std::size_t>(d.Exponent) + 1);
        fraction = d.Digits.substr(static_cast<std::size_t>(d.Exponent) + 1);
    } else {
        integer = "0";
        fraction = std::string(static_cast<std::size_t>(-d.Exponent - 1), '0') + d.Digits;
    }
    fraction.resize(static_cast<std::size_t>(digits), '0');
    std::string text = grouped ? Grouped(integer, settings.ThousandSeparator) : integer;
    if (digits > 0)
        text += settings.DecimalSeparator + fraction;
    return text;
}

} // namespace

TFormatSettings TFormatSettings::FromSystem() {
    TFormatSettings settings;
    settings.ThousandSeparator.clear();
    if (locale_t locale = ::newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr))) {
        const char* decimal = ::nl_langinfo_l(RADIXCHAR, locale);
        const char* thousands = ::nl_langinfo_l(THOUSEP, locale);
        if (decimal && *decimal)
            settings.DecimalSeparator = decimal;
        if (thousands)
            settings.ThousandSeparator = thousands;
        ::freelocale(locale);
    }
    return settings;
}

TFormatSettings& FormatSettings() {
    static TFormatSettings settings = TFormatSettings::FromSystem();
    return settings;
}

std::string FloatToStrF(long double value, TFloatFormat format, int precision, int digits) {
    return FloatToStrF(value, format, precision, digits, FormatSettings());
}

std::string FloatToStrF(long double value, TFloatFormat format, int precision, int digits,
                        const TFormatSettings& settings) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    precision = std::clamp(precision, 1, 18);
    const long double magnitude = std::fabs(value);
    std::string text;
    switch (format) {
    case TFloatFormat::ffFixed:
    case TFloatFormat::ffNumber:
        text = Fixed(magnitude, precision, std::clamp(digits, 0, 18),
                     format == TFloatFormat::ffNumber, settings);
        if (!text.empty())
            break;
        [[fallthrough]];
    case TFloatFormat::ffGeneral:
        text = General(magnitude, precision, std::clamp(digits, 0, 4), settings);
        break;
    case TFloatFormat::ffExponent:
        text = Exponent(magnitude, precision, std::clamp(digits, 0, 4), settings);
        break;
    }
    // A value that rounds to zero has no sign.
    const bool nonZero = text.find_first_of("123456789") < text.find('E');
    return std::signbit(value) && nonZero ? "-" + text : text;
}

} // namespace vesk
