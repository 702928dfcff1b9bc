// Formatted text as the host's DrawText lays it out: lines broken at CR/LF and, with
// word breaking, at blanks to the rectangle's width; tabs to stops of eight average
// characters; "&" marks the next character as the underlined accelerator, "&&" is
// one ampersand; lines aligned left, centred or right. Pure: the width of a piece of
// text comes from the caller, so the recording canvas and the QPainter canvas share
// one layout.
#pragma once

#include "platform/graphics/Graphics.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_BOTTOM = 0x0008;
constexpr unsigned DT_WORDBREAK = 0x0010;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_EXPANDTABS = 0x0040;
constexpr unsigned DT_NOCLIP = 0x0100;
constexpr unsigned DT_CALCRECT = 0x0400;
constexpr unsigned DT_NOPREFIX = 0x0800;

// A piece of a line without tabs, X relative to the line's start.
struct TTextSegment {
    int X = 0;
    std::string Text;
};

struct TTextLine {
    int X = 0; // where the line starts, after alignment
    int Y = 0; // top of the line
    int Width = 0;
    std::vector<TTextSegment> Segments;
    // The accelerator's underline, relative to X; UnderlineWidth 0 when none.
    int UnderlineX = 0;
    int UnderlineWidth = 0;
};

struct TTextLayout {
    std::vector<TTextLine> Lines;
    int Width = 0;  // of the widest line
    int Height = 0; // lines times the line height
};

using TTextWidthFunc = std::function<int(std::string_view)>;

// Lays Text out in Rect; Width measures a piece of text without tabs or line breaks,
// LineHeight is the distance between two lines (and a line's height).
TTextLayout LayoutText(std::string_view text, const TRect& rect, unsigned flags,
                       const TTextWidthFunc& width, int lineHeight);

// The first Limit characters of UTF-8 text; never cuts a character in two.
std::string_view FirstChars(std::string_view text, std::size_t limit);

} // namespace vesk
