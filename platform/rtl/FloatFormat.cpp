#include "platform/rtl/FloatFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <langinfo.h>
#include <locale.h>

namespace vesk {

namespace {

// A value as decimal digits: D[0].D[1]D[2]... times ten to the Exponent; no digits
// is zero.
struct TDecimal {
    std::string Digits;
    int Exponent = 0;
};

// Magnitude is finite and not negative; 18 significant digits, all a long double holds.
TDecimal ToDecimal(long double magnitude) {
    TDecimal result;
    if (magnitude == 0)
        return result;
    char text[64];
    std::snprintf(text, sizeof text, "%.17Le", magnitude);
    const char* p = text;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            result.Digits += *p;
    result.Exponent = std::atoi(p + 1);
    return result;
}

// Keeps Count significant digits, rounding half away from zero as on paper.
void RoundTo(TDecimal& d, int count) {
    if (d.Digits.empty() || count >= static_cast<int>(d.Digits.size()))
        return;
    if (count < 0) {
        d.Digits.clear();
        return;
    }
    const bool up = d.Digits[static_cast<std::size_t>(count)] >= '5';
    d.Digits.resize(static_cast<std::size_t>(count));
    if (!up) {
        while (!d.Digits.empty() && d.Digits.back() == '0')
            d.Digits.pop_back();
        return;
    }
    int i = count - 1;
    for (; i >= 0 && d.Digits[static_cast<std::size_t>(i)] == '9'; --i)
        d.Digits.pop_back();
    if (i < 0) {
        d.Digits = "1";
        ++d.Exponent;
    } else {
        ++d.Digits[static_cast<std::size_t>(i)];
    }
}

// The digit standing for ten to the Power.
char DigitAt(const TDecimal& d, int power) {
    const int index = d.Exponent - power;
    return index >= 0 && index < static_cast<int>(d.Digits.size())
               ? d.Digits[static_cast<std::size_t>(index)]
               : '0';
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

std::string Mantissa(const std::string& digits, const TFormatSettings& settings) {
    return digits.size() > 1 ? digits.substr(0, 1) + settings.DecimalSeparator + digits.substr(1)
                             : digits;
}

std::string General(TDecimal d, int precision, int digits, const TFormatSettings& settings) {
    RoundTo(d, precision);
    while (!d.Digits.empty() && d.Digits.back() == '0')
        d.Digits.pop_back();
    if (d.Digits.empty())
        return "0";
    const int e = d.Exponent;
    if (e < -5 || e >= precision)
        return Mantissa(d.Digits, settings) + ExponentText(e, digits, false);
    std::string integer = "0", fraction;
    if (e >= 0) {
        integer.clear();
        for (int power = e; power >= 0; --power)
            integer += DigitAt(d, power);
    }
    const int last = e - static_cast<int>(d.Digits.size()) + 1;
    for (int power = -1; power >= last; --power)
        fraction += DigitAt(d, power);
    return fraction.empty() ? integer : integer + settings.DecimalSeparator + fraction;
}

std::string Exponent(TDecimal d, int precision, int digits, const TFormatSettings& settings) {
    RoundTo(d, precision);
    d.Digits.resize(static_cast<std::size_t>(precision), '0');
    return Mantissa(d.Digits, settings) + ExponentText(d.Exponent, digits, true);
}

// Fixed or number format; empty when the integer part needs more than Precision digits.
std::string Fixed(TDecimal d, int precision, int digits, bool grouped,
                  const TFormatSettings& settings) {
    RoundTo(d, precision);
    if (!d.Digits.empty() && d.Exponent >= precision)
        return {};
    RoundTo(d, d.Exponent + 1 + digits);
    std::string integer;
    for (int power = std::max(d.Digits.empty() ? 0 : d.Exponent, 0); power >= 0; --power)
        integer += DigitAt(d, power);
    std::string text = grouped ? Grouped(integer, settings.ThousandSeparator) : integer;
    if (digits > 0) {
        text += settings.DecimalSeparator;
        for (int power = -1; power >= -digits; --power)
            text += DigitAt(d, power);
    }
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
    const TDecimal d = ToDecimal(std::fabs(value));
    std::string text;
    switch (format) {
    case TFloatFormat::ffFixed:
    case TFloatFormat::ffNumber:
        text = Fixed(d, precision, std::clamp(digits, 0, 18), format == TFloatFormat::ffNumber,
                     settings);
        if (!text.empty())
            break;
        [[fallthrough]];
    case TFloatFormat::ffGeneral:
        text = General(d, precision, std::clamp(digits, 0, 4), settings);
        break;
    case TFloatFormat::ffExponent:
        text = Exponent(d, precision, std::clamp(digits, 0, 4), settings);
        break;
    }
    // A value that rounds to zero has no sign.
    const bool nonZero = text.find_first_of("123456789") < text.find('E');
    return std::signbit(value) && nonZero ? "-" + text : text;
}

} // namespace vesk
