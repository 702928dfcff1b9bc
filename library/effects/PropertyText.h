// Property values written as text, the way form files and the command line spell
// them: "True"/"False" and decimal integers within the property's range.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// A published property and its stored default as text, the way a form file spells
// values; an empty default means the value is always written.
struct TStoredDefault {
    std::string Name;
    std::string Default;
};

// "True" or "False", case ignored; EConvertError otherwise.
bool BooleanFromText(std::string_view text);
std::string BooleanText(bool value);
// A decimal integer from Min to Max; EConvertError for text that is not one,
// ERangeError naming Property for one outside the range.
int IntegerFromText(std::string_view text, int min, int max, std::string_view property);

} // namespace vesk
