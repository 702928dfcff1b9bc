// Word-oriented routines on byte strings: a text is a sequence of words separated
// by runs of delimiters; words are numbered from 1 and positions are 1-based.
// Around them: padding, table-row wrapping, replace-all, Windows-1251 upper-casing,
// code page 866/1251 conversion and a sum of roubles spelt out in words.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vesk {

// A set of 8-bit characters: the delimiters of every word routine.
class CharSet {
public:
    constexpr CharSet() = default;
    // The set of the given characters.
    constexpr explicit CharSet(std::string_view chars) {
        for (char ch : chars)
            Include(ch);
    }
    constexpr void Include(char ch) { FBits[static_cast<unsigned char>(ch)] = true; }
    constexpr bool Contains(char ch) const { return FBits[static_cast<unsigned char>(ch)]; }

private:
    std::array<bool, 256> FBits{};
};

// Only the blank.
inline constexpr CharSet Space{" "};

enum class SortType { stLeft, stRight, stCenter };

// Position of the first character of word N, or 0 when the text has fewer words.
// N of 1 or less gives the start of the first word.
int GoWord(std::string_view text, int n, const CharSet& delims);
// Word N, or the empty string.
std::string GetWord(std::string_view text, int n, const CharSet& delims);
int NumWords(std::string_view text, const CharSet& delims);
// Removes delimiters from both ends.
void DelAllSym(std::string& text, const CharSet& delims);
// Removes word N with the delimiters after it (the last word: only the word).
void DelWord(std::string& text, int n, const CharSet& delims);
// Makes Word word N, followed by Sep; appends it (after Sep) when there are fewer words.
void InsWord(std::string& text, std::string_view word, int n, const CharSet& delims,
             std::string_view sep);
// Pads with Ch up to Len characters; never cuts.
void Extend(std::string& text, char ch, int len, SortType mode);
// One printed line of a table row whose cells are separated by "|", wrapped to the
// widths; Row keeps what is left for the next call. The empty line means the row is
// done. Raises ERangeError when Widths has fewer entries than Row has cells.
std::string GetLine(std::string& row, std::span<const int> widths);
// Replaces Old by New until Old no longer occurs. Raises EArgumentError when New
// contains Old, which would never end.
std::string Change(std::string_view text, std::string_view oldText, std::string_view newText);
// Upper case of Latin and Windows-1251 Cyrillic letters (not й, ё).
char CaseUp(char ch);
std::string UpString(std::string_view text);
// Cyrillic letters from code page 866 to 1251 and back, in place.
void DosWin(std::string& text);
void WinDos(std::string& text);
// N (0..2147483647) as a sum of roubles in Russian words, in Windows-1251.
// Raises ERangeError outside that range.
std::string NumToStr(std::int64_t n);

// The tables the routines are built on, made once before first use.
namespace ParserTables {
// The 64 Cyrillic letters, upper then lower case, in code pages 866 and 1251.
const std::string& DosAlphabet();
const std::string& WinAlphabet();
const std::array<unsigned char, 256>& DosWinTable();
const std::array<unsigned char, 256>& WinDosTable();
// 57 letters each, paired by position.
const std::string& LowerAlphabet();
const std::string& UpperAlphabet();
} // namespace ParserTables

} // namespace vesk
