// Any bytes as a unit's text: parse, filter with a piece of the input, and jump to
// every listed method in turn (the read cursor is shared between the jumps).
#include "expert/parsing/ParsPas.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // The first line (up to 16 bytes) is the filter, the rest the unit.
    const std::size_t cut = std::min<std::size_t>(input.find('\n'), 16);
    const std::string_view filter = input.substr(0, std::min(cut, input.size()));
    const std::string_view text = input.substr(std::min(cut, input.size()));

    vesk::TMethodList methods;
    methods.ParseText(std::string(text));
    const auto shown = methods.GetMethods(filter);
    for (int i = 0; i < shown->Count(); ++i) {
        vesk::TEditPos top, cursor;
        methods.GetMethodPos(i, top, cursor);
        if (top.Line < -1 || top.Line > methods.Reader.Count() + 1 || cursor.Col < 1)
            __builtin_trap();
    }
    return 0;
}
