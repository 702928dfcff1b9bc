#include "expert/parsing/Parser.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace std::string_literals;
#include <vector>

namespace vesk {

namespace {

const CharSet Comma{","};

std::string Deleted(std::string text, int n, const CharSet& delims = Space) {
    DelWord(text, n, delims);
    return text;
}

std::string Inserted(std::string text, const std::string& word, int n, const std::string& sep) {
    InsWord(text, word, n, Space, sep);
    return text;
}

std::string Extended(std::string text, int len, SortType mode) {
    Extend(text, '*', len, mode);
    return text;
}

std::string Rubles(std::int64_t n) {
    return Win1251ToUtf8(NumToStr(n));
}

// The row wrapper written word by word with the word routines, as the routine is
// described; the fast one must print the same lines.
std::string ReferenceGetLine(std::string& row, const std::vector<int>& widths) {
    const CharSet bar{"|"};
    const int cells = NumWords(row, bar);
    std::string line = "|", rest;
    for (int k = 1; k <= cells; ++k) {
        const int width = widths[static_cast<std::size_t>(k - 1)];
        std::string cell = GetWord(row, k, bar);
        std::string piece;
        for (int w = 1; static_cast<int>(piece.size()) <= width && w <= NumWords(cell, Space); ++w)
            piece += " " + GetWord(cell, w, Space);
        DelAllSym(piece, Space);
        if (static_cast<int>(piece.size()) > width) {
            DelWord(piece, NumWords(piece, Space), Space);
            DelAllSym(piece, Space);
        }
        for (int w = NumWords(piece, Space); w > 0; --w)
            DelWord(cell, 1, Space);
        DelAllSym(cell, Space);
        Extend(piece, ' ', width, SortType::stLeft);
        line += piece + "|";
        rest += (cell.empty() ? " " : cell) + "|";
    }
    if (NumWords(line, CharSet("| ")) == 0)
        line.clear();
    while (NumWords(rest, bar) < cells)
        rest += " |";
    row = rest;
    return line;
}

// Replace-all restarting from the start after every replacement, as described.
std::string ReferenceChange(std::string text, const std::string& oldText,
                            const std::string& newText) {
    if (oldText.empty())
        return text;
    for (std::size_t at; (at = text.find(oldText)) != std::string::npos;)
        text.replace(at, oldText.size(), newText);
    return text;
}

} // namespace

TEST(WordRoutines, FindCountAndCutWords) {
    EXPECT_EQ(GoWord(" ab  cd ", 2, Space), 6);
    EXPECT_EQ(GoWord(" ab  cd ", 3, Space), 0);
    EXPECT_EQ(GoWord(" ab  cd ", 0, Space), 2);
    EXPECT_EQ(GoWord("", 1, Space), 0);
    EXPECT_EQ(GoWord("   ", 1, Space), 0);
    EXPECT_EQ(GetWord("ab,,cd", 2, Comma), "cd");
    EXPECT_EQ(GetWord("ab,,cd", 0, Comma), "");
    EXPECT_EQ(GetWord("ab,,cd", 3, Comma), "");
    EXPECT_EQ(GetWord(",,ab,", 1, Comma), "ab");
    EXPECT_EQ(GetWord("a b", 2147483647, Space), "");
    EXPECT_EQ(NumWords("", Space), 0);
    EXPECT_EQ(NumWords("   ", Space), 0);
    EXPECT_EQ(NumWords(" a  b c ", Space), 3);

    std::string text = ",,a,b,,";
    DelAllSym(text, Comma);
    EXPECT_EQ(text, "a,b");
    text = ",,,";
    DelAllSym(text, Comma);
    EXPECT_EQ(text, "");
}

TEST(WordRoutines, DeleteAndInsertWords) {
    EXPECT_EQ(Deleted("ab cd ef", 2), "ab ef");
    EXPECT_EQ(Deleted("ab cd ef", 3), "ab cd ");
    EXPECT_EQ(Deleted("ab cd ef", 4), "ab cd ef");
    EXPECT_EQ(Deleted("ab cd ef", 0), "ab cd ef");
    EXPECT_EQ(Deleted("  ab cd", 1), "  cd");

    EXPECT_EQ(Inserted("ab cd", "xx", 2, " "), "ab xx cd");
    EXPECT_EQ(Inserted("abc", "xx", 5, ", "), "abc, xx");
    EXPECT_EQ(Inserted("abc, ", "xx", 5, ", "), "abc, xx");
    EXPECT_EQ(Inserted("ab", "xx", 5, ", "), "abxx");
    EXPECT_EQ(Inserted("", "xx", 1, ", "), "xx");
}

TEST(WordRoutines, ExtendPadsButNeverCuts) {
    EXPECT_EQ(Extended("ab", 5, SortType::stCenter), "**ab*");
    EXPECT_EQ(Extended("ab", 5, SortType::stRight), "***ab");
    EXPECT_EQ(Extended("ab", 5, SortType::stLeft), "ab***");
    EXPECT_EQ(Extended("ab", 1, SortType::stCenter), "ab");
    EXPECT_EQ(Extended("ab", -3, SortType::stLeft), "ab");
    EXPECT_EQ(Extended("ab", 6, SortType::stCenter), "**ab**");
}

TEST(GetLine, WrapsATableRowCallByCall) {
    std::string row = "Name of the item|12";
    const std::vector<int> widths{8, 3};
    EXPECT_EQ(GetLine(row, widths), "|Name of |12 |");
    EXPECT_EQ(row, "the item| |");
    EXPECT_EQ(GetLine(row, widths), "|the item|   |");
    EXPECT_EQ(GetLine(row, widths), ""); // all used up: the row is finished

    std::string empties = "a||b"; // consecutive bars are one separator: two cells
    const std::vector<int> two{1, 1};
    EXPECT_EQ(GetLine(empties, two), "|a|b|");

    std::string tooLong = "Extraordinary words|x";
    EXPECT_EQ(GetLine(tooLong, std::vector<int>{5, 1}), "|     |x|");
    EXPECT_EQ(tooLong, "Extraordinary words| |");
}

TEST(GetLine, RefusesFewerWidthsThanCells) {
    std::string row = "a|b|c";
    EXPECT_THROW(GetLine(row, std::vector<int>{3, 3}), ERangeError);
    EXPECT_EQ(row, "a|b|c");
}

TEST(GetLine, MatchesTheWordByWordWrapperOnRandomRows) {
    std::mt19937 random(7);
    const std::string alphabet = "ab |  c|";
    for (int round = 0; round < 3000; ++round) {
        std::string row;
        const int len = static_cast<int>(random() % 30);
        for (int i = 0; i < len; ++i)
            row += alphabet[random() % alphabet.size()];
        std::vector<int> widths(40);
        for (int& w : widths)
            w = static_cast<int>(random() % 6) - 1;
        std::string fast = row, slow = row;
        for (int call = 0; call < 4; ++call) {
            ASSERT_EQ(GetLine(fast, widths), ReferenceGetLine(slow, widths))
                << "row '" << row << "'";
            ASSERT_EQ(fast, slow) << "row '" << row << "'";
        }
    }
}

TEST(Change, ReplacesUntilNoneIsLeft) {
    EXPECT_EQ(Change("a.b.c", ".", "::"), "a::b::c");
    EXPECT_EQ(Change("aab", "ab", "b"), "b"); // formed across the replacement's edge
    EXPECT_EQ(Change("abc", "", "x"), "abc");
    EXPECT_EQ(Change("", "a", "b"), "");

    std::mt19937 random(11);
    for (int round = 0; round < 3000; ++round) {
        auto make = [&](int maxLen) {
            std::string s;
            for (int n = static_cast<int>(random() % maxLen); n > 0; --n)
                s += "ab"[random() % 2];
            return s;
        };
        const std::string text = make(16), oldText = make(4), newText = make(3);
        if (newText.size() >= oldText.size() || newText.find(oldText) != std::string::npos)
            continue; // only shrinking rules are certain to end in the reference
        ASSERT_EQ(Change(text, oldText, newText), ReferenceChange(text, oldText, newText))
            << text << " / " << oldText << " -> " << newText;
    }
}

TEST(Change, RefusesAReplacementThatContainsTheText) {
    EXPECT_THROW(Change("a.b", ".", ".."), EArgumentError);
    EXPECT_THROW(Change("xyz", "a", "bab"), EArgumentError); // refused even with nothing to replace
}

TEST(CaseAndCodePages, MapCyrillicLettersOfBothCodePages) {
    EXPECT_EQ(CaseUp('q'), 'Q');
    EXPECT_EQ(CaseUp('\xFF'), '\xDF'); // я -> Я
    EXPECT_EQ(CaseUp('\xE9'), '\xE9'); // й stays
    EXPECT_EQ(CaseUp('\xB8'), '\xB8'); // ё stays
    EXPECT_EQ(CaseUp('1'), '1');
    EXPECT_EQ(UpString("abc \xE0\xE9"), "ABC \xC0\xE9");
    EXPECT_EQ(ParserTables::LowerAlphabet().size(), 57u);
    EXPECT_EQ(ParserTables::UpperAlphabet().size(), 57u);

    std::string text = "\xA0\x80\xAF\xE0\xEF\xF1 A\0"s;
    DosWin(text); // $F1 (ё in code page 866) is no letter of the table: it passes
    EXPECT_EQ(text, "\xE0\xC0\xEF\xF0\xFF\xF1 A\0"s);
    WinDos(text);
    EXPECT_EQ(text, "\xA0\x80\xAF\xE0\xEF\xE1 A\0"s);
    std::string yo = "\xB8\xA8";
    WinDos(yo);
    EXPECT_EQ(yo, "\xB8\xA8");
    // each of the 64 letters of code page 866 comes back from 1251
    for (char letter : ParserTables::DosAlphabet()) {
        std::string one(1, letter);
        DosWin(one);
        EXPECT_NE(one[0], letter);
        WinDos(one);
        EXPECT_EQ(one[0], letter);
    }
}

TEST(NumToStr, SpellsRoublesWithTheRightForms) {
    EXPECT_EQ(Rubles(0), "рублей");
    EXPECT_EQ(Rubles(1), "один рубль");
    EXPECT_EQ(Rubles(10), "десять рублей");
    EXPECT_EQ(Rubles(11), "одиннадцать рублей");
    EXPECT_EQ(Rubles(21), "двадцать один рубль");
    EXPECT_EQ(Rubles(1000), "одна тысяча рублей");
    EXPECT_EQ(Rubles(2002), "две тысячи два рубля");
    EXPECT_EQ(Rubles(112000), "сто двенадцать тысяч рублей");
    EXPECT_EQ(Rubles(1000000), "один миллион рублей");
    EXPECT_EQ(Rubles(2000000), "два миллиона рублей"); // masculine outside the thousands
    EXPECT_EQ(Rubles(2147483647), "два миллиарда сто сорок семь миллионов четыреста восьмьдесят "
                                  "три тысячи шестьсот сорок семь рублей");
}

TEST(NumToStr, RefusesNumbersOutsideItsTables) {
    EXPECT_THROW(NumToStr(-1), ERangeError);
    EXPECT_THROW(NumToStr(2147483648LL), ERangeError);
}

} // namespace vesk
