#include "platform/ota/ShortCut.h"

#include "platform/rtl/SysUtils.h"

#include <array>

namespace vesk {

namespace {

struct TKeyName {
    std::uint8_t Key;
    const char* Name;
};

// The named keys that are not a letter, a digit or a function key.
constexpr std::array<TKeyName, 15> KeyNames{{{0x08, "BkSp"},
                                             {0x09, "Tab"},
                                             {0x0D, "Enter"},
                                             {0x1B, "Esc"},
                                             {0x20, "Space"},
                                             {0x21, "PgUp"},
                                             {0x22, "PgDn"},
                                             {0x23, "End"},
                                             {0x24, "Home"},
                                             {0x25, "Left"},
                                             {0x26, "Up"},
                                             {0x27, "Right"},
                                             {0x28, "Down"},
                                             {0x2D, "Ins"},
                                             {0x2E, "Del"}}};

constexpr std::uint8_t VkF1 = 0x70;
constexpr int FunctionKeys = 12;

struct TModifier {
    TShortCut Bit;
    const char* Prefix;
};
constexpr std::array<TModifier, 3> Modifiers{
    {{scShift, "Shift+"}, {scCtrl, "Ctrl+"}, {scAlt, "Alt+"}}};

std::string KeyName(std::uint8_t key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return std::string(1, static_cast<char>(key));
    if (key >= VkF1 && key < VkF1 + FunctionKeys)
        return "F" + IntToStr(key - VkF1 + 1);
    for (const TKeyName& named : KeyNames)
        if (named.Key == key)
            return named.Name;
    return {};
}

// The key a name stands for, or 0.
std::uint8_t KeyOfName(std::string_view name) {
    if (name.size() == 1) {
        const char c = UpCase(name[0]);
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            return static_cast<std::uint8_t>(c);
        return 0;
    }
    for (int n = 1; n <= FunctionKeys; ++n)
        if (SameText(name, "F" + IntToStr(n)))
            return static_cast<std::uint8_t>(VkF1 + n - 1);
    for (const TKeyName& named : KeyNames)
        if (SameText(name, named.Name))
            return named.Key;
    return 0;
}

} // namespace

TShortCut TextToShortCut(std::string_view text) {
    TShortCut modifiers = 0;
    for (bool more = true; more;) {
        more = false;
        for (const TModifier& m : Modifiers) {
            const std::string_view prefix = m.Prefix;
            if (text.size() > prefix.size() && SameText(text.substr(0, prefix.size()), prefix)) {
                modifiers |= m.Bit;
                text.remove_prefix(prefix.size());
                more = true;
            }
        }
    }
    const std::uint8_t key = KeyOfName(text);
    return key == 0 ? scNone : static_cast<TShortCut>(modifiers | key);
}

std::string ShortCutToText(TShortCut shortCut) {
    std::string name = KeyName(static_cast<std::uint8_t>(shortCut & 0xFF));
    if (name.empty())
        return {};
    std::string text;
    for (const TModifier& m : Modifiers)
        if (shortCut & m.Bit)
            text += m.Prefix;
    return text + name;
}

} // namespace vesk
