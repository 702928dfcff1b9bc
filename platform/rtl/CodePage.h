// Conversions between UTF-8 (what the screen and the terminal speak) and the
// Windows-1251 byte strings of the Cyrillic routines.
#pragma once

#include <string>
#include <string_view>

namespace vesk {

std::string Win1251ToUtf8(std::string_view text);
// Characters Windows-1251 cannot hold, and malformed UTF-8, become "?".
std::string Utf8ToWin1251(std::string_view text);

} // namespace vesk
