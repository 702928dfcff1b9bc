#include "expert/parsing/Parser.h"

#include "platform/rtl/CodePage.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <vector>

namespace vesk {

namespace {

std::size_t Len(std::string_view text) {
    return text.size();
}

// The character at 1-based position Pos.
char At(std::string_view text, std::size_t pos) {
    return text[pos - 1];
}

} // namespace

int GoWord(std::string_view text, int n, const CharSet& delims) {
    const std::size_t len = Len(text);
    std::size_t pos = 1;
    while (pos <= len && delims.Contains(At(text, pos)))
        ++pos;
    int count = 1;
    while (count < n && pos <= len) {
        if (!delims.Contains(At(text, pos))) {
            ++pos;
        } else {
            ++count;
            while (pos <= len && delims.Contains(At(text, pos)))
                ++pos;
        }
    }
    return pos <= len ? static_cast<int>(pos) : 0;
}

namespace {

// Starts of word N and of word N+1 (0 where there is none).
std::pair<int, int> WordBounds(std::string_view text, int n, const CharSet& delims) {
    const int a = GoWord(text, n, delims);
    if (a == 0)
        return {0, 0};
    const int b = n == INT32_MAX ? 0 : GoWord(text, n + 1, delims);
    return {a, b};
}

} // namespace

std::string GetWord(std::string_view text, int n, const CharSet& delims) {
    const auto [a, b] = WordBounds(text, n, delims);
    if (a == 0)
        return {};
    const std::size_t start = static_cast<std::size_t>(a) - 1;
    const std::size_t end = b == 0 ? text.size() : static_cast<std::size_t>(b) - 1;
    std::string piece(text.substr(start, end - start));
    DelAllSym(piece, delims);
    return piece;
}

int NumWords(std::string_view text, const CharSet& delims) {
    // The same count as asking GoWord for 1, 2, 3, ... until it answers 0, in one pass.
    int count = 0;
    bool inWord = false;
    for (char ch : text) {
        const bool delim = delims.Contains(ch);
        if (!delim && !inWord)
            ++count;
        inWord = !delim;
    }
    return count;
}

void DelAllSym(std::string& text, const CharSet& delims) {
    std::size_t first = 0;
    while (first < text.size() && delims.Contains(text[first]))
        ++first;
    std::size_t last = text.size();
    while (last > first && delims.Contains(text[last - 1]))
        --last;
    text = text.substr(first, last - first);
}

void DelWord(std::string& text, int n, const CharSet& delims) {
    const auto [a, b] = WordBounds(text, n, delims);
    if (a == 0)
        return;
    const std::size_t start = static_cast<std::size_t>(a) - 1;
    if (b == 0)
        text.erase(start);
    else
        text.erase(start, static_cast<std::size_t>(b) - 1 - start);
}

void InsWord(std::string& text, std::string_view word, int n, const CharSet& delims,
             std::string_view sep) {
    const int a = GoWord(text, n, delims);
    if (a != 0) {
        text.insert(static_cast<std::size_t>(a) - 1, std::string(word) + std::string(sep));
        return;
    }
    if (text.size() > sep.size() && !text.ends_with(sep))
        text += sep;
    text += word;
}

void Extend(std::string& text, char ch, int len, SortType mode) {
    if (len <= 0 || text.size() >= static_cast<std::size_t>(len))
        return;
    const std::size_t missing = static_cast<std::size_t>(len) - text.size();
    switch (mode) {
    case SortType::stLeft:
        text.append(missing, ch);
        break;
    case SortType::stRight:
        text.insert(0, missing, ch);
        break;
    case SortType::stCenter:
        text.append(missing / 2, ch);
        text.insert(0, missing - missing / 2, ch);
        break;
    }
}

namespace {

// The blank-separated words of a cell, in order, with where each starts.
struct CellWord {
    std::size_t Start;
    std::string_view Text;
};

std::vector<CellWord> SplitWords(std::string_view text, const CharSet& delims) {
    std::vector<CellWord> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && delims.Contains(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !delims.Contains(text[i]))
            ++i;
        if (i > start)
            words.push_back({start, text.substr(start, i - start)});
    }
    return words;
}

} // namespace

std::string GetLine(std::string& row, std::span<const int> widths) {
    static constexpr CharSet Bar{"|"};
    static constexpr CharSet BarOrBlank{"| "};
    const std::vector<CellWord> cells = SplitWords(row, Bar);
    if (widths.size() < cells.size())
        throw ERangeError("GetLine: the row has " +
                          IntToStr(static_cast<std::int64_t>(cells.size())) + " cells but only " +
                          IntToStr(static_cast<std::int64_t>(widths.size())) + " widths");
    std::string line = "|";
    std::string rest;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const int width = widths[k];
        std::string cell(cells[k].Text);
        const std::vector<CellWord> words = SplitWords(cell, Space);
        // Take words while the piece (each word after a blank) is no longer than the width;
        // the word that made it too long is given back.
        std::size_t taken = 0;
        std::size_t pieceLen = 0; // length of " w1 w2 ..." before trimming
        while (static_cast<std::int64_t>(pieceLen) <= width && taken < words.size())
            pieceLen += 1 + words[taken++].Text.size();
        if (taken > 0 && static_cast<std::int64_t>(pieceLen - 1) > width)
            --taken;
        std::string piece;
        for (std::size_t w = 0; w < taken; ++w) {
            if (w > 0)
                piece += ' ';
            piece += words[w].Text;
        }
        std::string left = taken < words.size() ? cell.substr(words[taken].Start) : std::string();
        DelAllSym(left, Space);
        Extend(piece, ' ', width, SortType::stLeft);
        line += piece;
        line += '|';
        rest += left.empty() ? std::string(" ") : left;
        rest += '|';
    }
    if (NumWords(line, BarOrBlank) == 0)
        line.clear();
    while (static_cast<std::size_t>(NumWords(rest, Bar)) < cells.size())
        rest += " |";
    row = std::move(rest);
    return line;
}

std::string Change(std::string_view text, std::string_view oldText, std::string_view newText) {
    std::string result(text);
    if (oldText.empty())
        return result;
    if (newText.find(oldText) != std::string_view::npos)
        throw EArgumentError("Change: the replacement '" + std::string(newText) +
                             "' contains the text it replaces, '" + std::string(oldText) +
                             "'; replacing would never end");
    // Searching again from the start finds nothing before the last replacement's
    // reach, so the search resumes where a new occurrence could first begin.
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = result.find(oldText, from);
        if (at == std::string::npos)
            return result;
        result.replace(at, oldText.size(), newText);
        from = at >= oldText.size() - 1 ? at - (oldText.size() - 1) : 0;
    }
}

namespace ParserTables {

const std::string& DosAlphabet() {
    static const std::string alphabet = [] {
        std::string s;
        for (int b = 0x80; b <= 0xAF; ++b)
            s += static_cast<char>(b);
        for (int b = 0xE0; b <= 0xEF; ++b)
            s += static_cast<char>(b);
        return s;
    }();
    return alphabet;
}

const std::string& WinAlphabet() {
    static const std::string alphabet = [] {
        std::string s;
        for (int b = 0xC0; b <= 0xFF; ++b)
            s += static_cast<char>(b);
        return s;
    }();
    return alphabet;
}

namespace {

std::array<unsigned char, 256> TranslationTable(const std::string& from, const std::string& to) {
    std::array<unsigned char, 256> table{};
    for (int i = 1; i < 256; ++i)
        table[static_cast<std::size_t>(i)] = static_cast<unsigned char>(i);
    for (std::size_t k = 0; k < from.size(); ++k)
        table[static_cast<unsigned char>(from[k])] = static_cast<unsigned char>(to[k]);
    return table;
}

// Latin letters, then the Windows-1251 Cyrillic letters without й.
std::string CaseAlphabet(char latinFirst, int cyrFirst) {
    std::string s;
    for (int i = 0; i < 26; ++i)
        s += static_cast<char>(latinFirst + i);
    for (int b = cyrFirst; b < cyrFirst + 32; ++b)
        if (b != cyrFirst + 9) // й / Й
            s += static_cast<char>(b);
    return s;
}

} // namespace

const std::array<unsigned char, 256>& DosWinTable() {
    static const auto table = TranslationTable(DosAlphabet(), WinAlphabet());
    return table;
}

const std::array<unsigned char, 256>& WinDosTable() {
    static const auto table = TranslationTable(WinAlphabet(), DosAlphabet());
    return table;
}

const std::string& LowerAlphabet() {
    static const std::string alphabet = CaseAlphabet('a', 0xE0);
    return alphabet;
}

const std::string& UpperAlphabet() {
    static const std::string alphabet = CaseAlphabet('A', 0xC0);
    return alphabet;
}

} // namespace ParserTables

char CaseUp(char ch) {
    static const std::array<char, 256> upper = [] {
        std::array<char, 256> table{};
        for (int i = 0; i < 256; ++i)
            table[static_cast<std::size_t>(i)] = static_cast<char>(i);
        const std::string& lower = ParserTables::LowerAlphabet();
        const std::string& upperAlphabet = ParserTables::UpperAlphabet();
        for (std::size_t k = 0; k < lower.size(); ++k)
            table[static_cast<unsigned char>(lower[k])] = upperAlphabet[k];
        return table;
    }();
    return upper[static_cast<unsigned char>(ch)];
}

std::string UpString(std::string_view text) {
    std::string result(text);
    for (char& ch : result)
        ch = CaseUp(ch);
    return result;
}

namespace {

void Translate(std::string& text, const std::array<unsigned char, 256>& table) {
    for (char& ch : text)
        ch = static_cast<char>(table[static_cast<unsigned char>(ch)]);
}

} // namespace

void DosWin(std::string& text) {
    Translate(text, ParserTables::DosWinTable());
}

void WinDos(std::string& text) {
    Translate(text, ParserTables::WinDosTable());
}

namespace {

// The number words, written here in UTF-8 and kept in Windows-1251.
template <std::size_t N>
std::array<std::string, N> Cp1251(const std::array<const char*, N>& words) {
    std::array<std::string, N> result;
    for (std::size_t i = 0; i < N; ++i)
        result[i] = Utf8ToWin1251(words[i]);
    return result;
}

struct NumberWords {
    std::array<std::string, 20> UnitWords = Cp1251<20>({"",
                                                        "один ",
                                                        "два ",
                                                        "три ",
                                                        "четыре ",
                                                        "пять ",
                                                        "шесть ",
                                                        "семь ",
                                                        "восемь ",
                                                        "девять ",
                                                        "десять ",
                                                        "одиннадцать ",
                                                        "двенадцать ",
                                                        "тринадцать ",
                                                        "четырнадцать ",
                                                        "пятнадцать ",
                                                        "шестнадцать ",
                                                        "семнадцать ",
                                                        "восемнадцать ",
                                                        "девятнадцать "});
    std::array<std::string, 10> TenWords =
        Cp1251<10>({"", "десять ", "двадцать ", "тридцать ", "сорок ", "пятьдесят ", "шестьдесят ",
                    "семьдесят ", "восьмьдесят ", "девяносто "});
    std::array<std::string, 10> HundredWords =
        Cp1251<10>({"", "сто ", "двести ", "триста ", "четыреста ", "пятьсот ", "шестьсот ",
                    "семьсот ", "восьмьсот ", "девятьсот "});
    std::array<std::string, 5> ScaleOne =
        Cp1251<5>({"рубль", "тысяча ", "миллион ", "миллиард ", "триллион "});
    std::array<std::string, 5> ScaleFew =
        Cp1251<5>({"рубля", "тысячи ", "миллиона ", "миллиарда ", "триллиона "});
    std::array<std::string, 5> ScaleMany =
        Cp1251<5>({"рублей", "тысяч ", "миллионов ", "миллиардов ", "триллионов "});
    std::string OneFeminine = Utf8ToWin1251("одна ");
    std::string TwoFeminine = Utf8ToWin1251("две ");
};

const NumberWords& Words() {
    static const NumberWords words;
    return words;
}

} // namespace

std::string NumToStr(std::int64_t n) {
    if (n < 0 || n > 2147483647)
        throw ERangeError("NumToStr: " + IntToStr(n) + " is outside 0..2147483647");
    const NumberWords& w = Words();
    auto unitWord = [&](std::int64_t k, int group) -> const std::string& {
        if (group == 1 && k == 1)
            return w.OneFeminine;
        if (group == 1 && k == 2)
            return w.TwoFeminine;
        return w.UnitWords[static_cast<std::size_t>(k)];
    };
    static constexpr std::array<std::int64_t, 4> Powers = {1, 1000, 1000000, 1000000000};
    std::string result;
    for (int group = 3; group >= 0; --group) {
        const std::int64_t power = Powers[static_cast<std::size_t>(group)];
        const std::int64_t q = n / power;
        n %= power;
        const std::int64_t tens = q % 100;
        result += w.HundredWords[static_cast<std::size_t>(q / 100)];
        if (tens >= 11 && tens <= 19) {
            result += unitWord(tens, group);
        } else {
            result += w.TenWords[static_cast<std::size_t>(tens / 10)];
            result += unitWord(q % 10, group);
        }
        if (q != 0 || group == 0) {
            const auto g = static_cast<std::size_t>(group);
            if (tens >= 10 && tens <= 20)
                result += w.ScaleMany[g];
            else if (q % 10 == 1)
                result += w.ScaleOne[g];
            else if (q % 10 >= 2 && q % 10 <= 4)
                result += w.ScaleFew[g];
            else
                result += w.ScaleMany[g];
        }
    }
    return result;
}

} // namespace vesk
