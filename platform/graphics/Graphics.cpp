#include "platform/graphics/Graphics.h"

#include "platform/rtl/SysUtils.h"

#include <array>
#include <cstdio>

namespace vesk {

namespace {

struct NamedColor {
    TColor Value;
    const char* Name;
};

constexpr std::array<NamedColor, 21> NamedColors{{
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clBtnFace, "clBtnFace"},
    {clWindow, "clWindow"},
    {clWindowText, "clWindowText"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnHighlight, "clBtnHighlight"},
}};

int HexDigit(char ch) {
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

// Hex digits only, at most eight of them; false for anything else.
bool ParseHex(std::string_view digits, std::uint32_t& value) {
    if (digits.empty() || digits.size() > 8)
        return false;
    value = 0;
    for (char ch : digits) {
        const int d = HexDigit(ch);
        if (d < 0)
            return false;
        value = value << 4 | std::uint32_t(d);
    }
    return true;
}

} // namespace

TColor ColorToRGB(TColor color) {
    if ((color & 0xFF000000) == 0)
        return color;
    switch (color) {
    case clBtnFace:
        return clSilver;
    case clWindow:
    case clBtnHighlight:
        return clWhite;
    case clBtnShadow:
        return clGray;
    default:
        return clBlack;
    }
}

std::vector<std::string> ColorNames() {
    std::vector<std::string> names;
    for (const NamedColor& c : NamedColors)
        names.emplace_back(c.Name);
    return names;
}

std::string ColorToString(TColor color) {
    for (const NamedColor& named : NamedColors)
        if (named.Value == color)
            return named.Name;
    char text[16];
    std::snprintf(text, sizeof text, "$%08X", unsigned(color));
    return text;
}

TColor StringToColor(std::string_view text) {
    for (const NamedColor& named : NamedColors)
        if (SameText(text, named.Name))
            return named.Value;
    std::uint32_t value = 0;
    if (!text.empty() && text[0] == '$' && ParseHex(text.substr(1), value))
        return value;
    if (text.size() == 7 && text[0] == '#' && ParseHex(text.substr(1), value))
        return RGB(value >> 16 & 0xFF, value >> 8 & 0xFF, value & 0xFF);
    try {
        const std::int32_t number = StrToInt(text);
        if (number >= 0)
            return TColor(number);
    } catch (const EConvertError&) {
    }
    throw EConvertError("'" + std::string(text) + "' is not a valid colour");
}

void InflateRect(TRect& rect, int dx, int dy) {
    rect.Left -= dx;
    rect.Top -= dy;
    rect.Right += dx;
    rect.Bottom += dy;
}

void OffsetRect(TRect& rect, int dx, int dy) {
    rect.Left += dx;
    rect.Right += dx;
    rect.Top += dy;
    rect.Bottom += dy;
}

void Frame3D(TCanvas& canvas, const TRect& rect, TColor topLeft, TColor bottomRight) {
    canvas.SetPenColor(topLeft);
    canvas.MoveTo(rect.Left, rect.Bottom - 1);
    canvas.LineTo(rect.Left, rect.Top);
    canvas.LineTo(rect.Right - 1, rect.Top);
    canvas.SetPenColor(bottomRight);
    canvas.LineTo(rect.Right - 1, rect.Bottom - 1);
    canvas.LineTo(rect.Left, rect.Bottom - 1);
}

} // namespace vesk
