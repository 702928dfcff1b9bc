// Menu shortcuts as the host library numbers them: the virtual-key code in the low
// byte, $2000 for Shift, $4000 for Ctrl, $8000 for Alt.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vesk {

using TShortCut = std::uint16_t;

inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
inline constexpr TShortCut scNone = 0;

// "Alt+Enter" = $800D, "Alt+M" = $804D, "Ctrl+Shift+F5" = $6074: modifiers "Shift+",
// "Ctrl+", "Alt+" in any order, then one key name ("A".."Z", "0".."9", "F1".."F12",
// "Enter", "Esc", "Space", "Tab", "BkSp", "Ins", "Del", "Home", "End", "PgUp",
// "PgDn", "Left", "Up", "Right", "Down"), all without regard to case. A text that
// names no key gives 0.
TShortCut TextToShortCut(std::string_view text);

// The text of a shortcut with the modifiers in the order Shift, Ctrl, Alt: the inverse
// of TextToShortCut. A key without a name gives the empty string.
std::string ShortCutToText(TShortCut shortCut);

} // namespace vesk
