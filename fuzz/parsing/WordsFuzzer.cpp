// Any bytes through the word routines: the first byte picks the delimiters and the
// word number, the rest is the text.
#include "expert/parsing/Parser.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace vesk;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const int n = static_cast<int>(data[0] % 8) - 1;
    const std::size_t delimCount = std::min<std::size_t>(size - 1, 1 + data[0] % 3);
    const CharSet delims(std::string_view(reinterpret_cast<const char*>(data + 1), delimCount));
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    const int words = NumWords(text, delims);
    const std::string word = GetWord(text, n, delims);
    if ((n >= 1 && n <= words) == word.empty() ||
        (GoWord(text, n, delims) == 0) != (words == 0 || n > words))
        __builtin_trap();

    std::string copy = text;
    DelWord(copy, n, delims);
    copy = text;
    InsWord(copy, "w", n, delims, ", ");
    copy = text;
    DelAllSym(copy, delims);
    copy = text;
    Extend(copy, '*', static_cast<int>(size % 64), SortType::stCenter);

    std::string row = text;
    const std::vector<int> widths(static_cast<std::size_t>(NumWords(text, CharSet("|"))), n + 3);
    for (int call = 0; call < 8 && !row.empty(); ++call)
        if (GetLine(row, widths).empty())
            break;

    // Old and New from the text's two halves; New may never contain Old.
    const std::string oldText = text.substr(0, text.size() / 4),
                      newText = text.substr(text.size() / 4, 2);
    try {
        if (newText.size() < oldText.size() || oldText.empty())
            Change(text, oldText, newText);
    } catch (const EArgumentError&) {
    }
    UpString(text);
    copy = text;
    DosWin(copy);
    WinDos(copy);
    try {
        NumToStr(static_cast<std::int64_t>(std::hash<std::string>{}(text) % 4294967296ULL) - 1000);
    } catch (const ERangeError&) {
    }
    return 0;
}
