#include "library/effects/PropertyText.h"

#include "platform/rtl/SysUtils.h"

namespace vesk {

bool BooleanFromText(std::string_view text) {
    if (SameText(text, "True"))
        return true;
    if (SameText(text, "False"))
        return false;
    throw EConvertError("'" + std::string(text) + "' is not a valid boolean value");
}

std::string BooleanText(bool value) {
    return value ? "True" : "False";
}

int IntegerFromText(std::string_view text, int min, int max, std::string_view property) {
    const int value = StrToInt(text);
    if (value < min || value > max)
        throw ERangeError(std::string(property) + " must be from " + IntToStr(min) + " to " +
                          IntToStr(max) + ", not " + IntToStr(value));
    return value;
}

} // namespace vesk
