#include "platform/graphics/TextLayout.h"

#include <algorithm>

namespace vesk {

namespace {

bool IsContinuationByte(char ch) {
    return (static_cast<unsigned char>(ch) & 0xC0) == 0x80;
}

// Length in bytes of the UTF-8 character starting at Pos.
std::size_t CharLength(std::string_view text, std::size_t pos) {
    std::size_t end = pos + 1;
    while (end < text.size() && IsContinuationByte(text[end]))
        ++end;
    return end - pos;
}

// One paragraph with the accelerator marks taken out.
struct TDisplayText {
    std::string Text;
    std::size_t Underline = std::string::npos; // byte index of the underlined character
};

TDisplayText StripPrefixes(std::string_view text, bool prefixes) {
    TDisplayText result;
    if (!prefixes) {
        result.Text = text;
        return result;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            result.Text.push_back(text[i]);
            continue;
        }
        if (i + 1 >= text.size())
            break; // a lone mark at the end shows nothing
        if (text[i + 1] == '&') {
            result.Text.push_back('&');
            ++i;
            continue;
        }
        if (result.Underline == std::string::npos)
            result.Underline = result.Text.size();
    }
    return result;
}

std::vector<std::string_view> SplitParagraphs(std::string_view text) {
    std::vector<std::string_view> paragraphs;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        paragraphs.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    paragraphs.push_back(text.substr(start));
    return paragraphs;
}

class TLineMeasure {
public:
    TLineMeasure(const TTextWidthFunc& width, bool expandTabs)
        : FWidth(width), FExpandTabs(expandTabs),
          FTabStop(expandTabs ? std::max(1, width("x") * 8) : 0) {}

    // Splits a line at its tabs into segments; returns the line's width.
    int Segments(std::string_view line, std::vector<TTextSegment>* segments) const {
        if (!FExpandTabs) {
            if (segments && !line.empty())
                segments->push_back({0, std::string(line)});
            return FWidth(line);
        }
        int x = 0;
        std::size_t start = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', start);
            const std::string_view piece = line.substr(start, tab - start);
            if (segments && !piece.empty())
                segments->push_back({x, std::string(piece)});
            x += FWidth(piece);
            if (tab == std::string_view::npos)
                return x;
            x = (x / FTabStop + 1) * FTabStop;
            start = tab + 1;
        }
    }

    int Width(std::string_view line) const { return Segments(line, nullptr); }

private:
    const TTextWidthFunc& FWidth;
    bool FExpandTabs;
    int FTabStop;
};

// A line of a paragraph: [Begin, End) of its display text.
struct TSpan {
    std::size_t Begin;
    std::size_t End;
};

// Greedy breaking at blanks; a word wider than the rectangle is broken between
// characters so that none of it is lost. Blanks at a break are dropped.
std::vector<TSpan> BreakWords(const std::string& text, int maxWidth, const TLineMeasure& measure) {
    std::vector<TSpan> spans;
    std::size_t begin = 0;
    const std::size_t size = text.size();
    while (begin < size || spans.empty()) {
        if (begin >= size) {
            spans.push_back({begin, size}); // an empty paragraph is one empty line
            break;
        }
        if (measure.Width(std::string_view(text).substr(begin)) <= maxWidth) {
            spans.push_back({begin, size});
            break;
        }
        // The longest run of whole words that fits.
        std::size_t end = begin;
        std::size_t pos = begin;
        while (pos < size) {
            std::size_t wordEnd = text.find(' ', pos);
            if (wordEnd == std::string::npos)
                wordEnd = size;
            if (measure.Width(std::string_view(text).substr(begin, wordEnd - begin)) > maxWidth)
                break;
            end = wordEnd;
            pos = text.find_first_not_of(' ', wordEnd);
            if (pos == std::string::npos)
                pos = size;
        }
        if (end == begin) {
            // Not even one word fits: as many characters as fit, at least one.
            end = begin + CharLength(text, begin);
            while (end < size) {
                const std::size_t next = end + CharLength(text, end);
                if (measure.Width(std::string_view(text).substr(begin, next - begin)) > maxWidth)
                    break;
                end = next;
            }
            spans.push_back({begin, end});
            begin = end;
        } else {
            spans.push_back({begin, end});
            begin = text.find_first_not_of(' ', end);
            if (begin == std::string::npos)
                begin = size;
        }
    }
    return spans;
}

} // namespace

TTextLayout LayoutText(std::string_view text, const TRect& rect, unsigned flags,
                       const TTextWidthFunc& width, int lineHeight) {
    TTextLayout layout;
    if (text.empty())
        return layout;
    const TLineMeasure measure(width, (flags & DT_EXPANDTABS) != 0);
    const bool singleLine = (flags & DT_SINGLELINE) != 0;
    const bool wordBreak = (flags & DT_WORDBREAK) != 0 && !singleLine;

    std::vector<std::string_view> paragraphs;
    if (singleLine)
        paragraphs.push_back(text);
    else
        paragraphs = SplitParagraphs(text);

    int y = rect.Top;
    for (std::string_view paragraph : paragraphs) {
        const TDisplayText display = StripPrefixes(paragraph, (flags & DT_NOPREFIX) == 0);
        std::vector<TSpan> spans;
        if (wordBreak)
            spans = BreakWords(display.Text, rect.Width(), measure);
        else
            spans.push_back({0, display.Text.size()});
        for (const TSpan& span : spans) {
            TTextLine line;
            const std::string_view content =
                std::string_view(display.Text).substr(span.Begin, span.End - span.Begin);
            line.Width = measure.Segments(content, &line.Segments);
            line.Y = y;
            if (flags & DT_CENTER)
                line.X = rect.Left + (rect.Width() - line.Width) / 2;
            else if (flags & DT_RIGHT)
                line.X = rect.Right - line.Width;
            else
                line.X = rect.Left;
            if (display.Underline >= span.Begin && display.Underline < span.End) {
                const std::size_t at = display.Underline - span.Begin;
                line.UnderlineX = measure.Width(content.substr(0, at));
                line.UnderlineWidth = width(content.substr(at, CharLength(content, at)));
            }
            layout.Width = std::max(layout.Width, line.Width);
            layout.Lines.push_back(std::move(line));
            y += lineHeight;
        }
    }
    layout.Height = int(layout.Lines.size()) * lineHeight;

    if (singleLine && (flags & (DT_VCENTER | DT_BOTTOM))) {
        const int shift =
            (flags & DT_BOTTOM) ? rect.Height() - lineHeight : (rect.Height() - lineHeight) / 2;
        for (TTextLine& line : layout.Lines)
            line.Y += shift;
    }
    return layout;
}

std::string_view FirstChars(std::string_view text, std::size_t limit) {
    std::size_t pos = 0;
    for (std::size_t count = 0; count < limit && pos < text.size(); ++count)
        pos += CharLength(text, pos);
    return text.substr(0, pos);
}

} // namespace vesk
