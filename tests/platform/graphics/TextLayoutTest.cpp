#include "platform/graphics/TextLayout.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

// Every character 10 pixels wide, lines 20 apart.
TTextLayout Layout(std::string_view text, TRect rect, unsigned flags) {
    return LayoutText(
        text, rect, flags, [](std::string_view piece) { return int(piece.size()) * 10; }, 20);
}

std::vector<std::string> LineTexts(const TTextLayout& layout) {
    std::vector<std::string> lines;
    for (const TTextLine& line : layout.Lines) {
        std::string text;
        for (const TTextSegment& segment : line.Segments)
            text += segment.Text;
        lines.push_back(text);
    }
    return lines;
}

TEST(TextLayout, WordBreakKeepsWordsWholeAndBreaksOnlyWhatCannotFit) {
    const TTextLayout layout = Layout("one two three abcdefghijkl", {0, 0, 80, 100}, DT_WORDBREAK);
    EXPECT_EQ(LineTexts(layout),
              (std::vector<std::string>{"one two", "three", "abcdefgh", "ijkl"}));
    EXPECT_EQ(layout.Height, 80);
    EXPECT_EQ(layout.Lines[1].Y, 20);
    // Without word breaking the text stays on one line, clipped later.
    EXPECT_EQ(Layout("one two three", {0, 0, 20, 20}, 0).Lines.size(), 1u);
}

TEST(TextLayout, LineBreaksAndAlignment) {
    const TTextLayout layout = Layout("ab\r\ncdef\rg\nhi", {10, 5, 110, 100}, DT_CENTER);
    EXPECT_EQ(LineTexts(layout), (std::vector<std::string>{"ab", "cdef", "g", "hi"}));
    EXPECT_EQ(layout.Lines[0].X, 10 + (100 - 20) / 2);
    EXPECT_EQ(layout.Lines[0].Y, 5);
    EXPECT_EQ(Layout("abc", {10, 0, 110, 20}, DT_RIGHT).Lines[0].X, 80);
    EXPECT_EQ(Layout("abc", {10, 0, 110, 20}, DT_LEFT).Lines[0].X, 10);
    EXPECT_TRUE(Layout("", {0, 0, 100, 100}, DT_WORDBREAK).Lines.empty());
}

TEST(TextLayout, AmpersandMarksTheAcceleratorAndDoubledShowsOne) {
    TTextLayout layout = Layout("Sa&ve && Exit", {0, 0, 500, 20}, 0);
    EXPECT_EQ(LineTexts(layout), (std::vector<std::string>{"Save & Exit"}));
    EXPECT_EQ(layout.Lines[0].UnderlineX, 20);
    EXPECT_EQ(layout.Lines[0].UnderlineWidth, 10);
    layout = Layout("A&&B", {0, 0, 500, 20}, 0);
    EXPECT_EQ(LineTexts(layout), (std::vector<std::string>{"A&B"}));
    EXPECT_EQ(layout.Lines[0].UnderlineWidth, 0);
    layout = Layout("Sa&ve", {0, 0, 500, 20}, DT_NOPREFIX);
    EXPECT_EQ(LineTexts(layout), (std::vector<std::string>{"Sa&ve"}));
    // The underline follows its character onto a later line.
    layout = Layout("one &two", {0, 0, 40, 100}, DT_WORDBREAK);
    ASSERT_EQ(layout.Lines.size(), 2u);
    EXPECT_EQ(layout.Lines[1].UnderlineWidth, 10);
    EXPECT_EQ(layout.Lines[1].UnderlineX, 0);
}

TEST(TextLayout, TabsExpandToStopsOfEightCharacters) {
    const TTextLayout layout = Layout("ab\tc\td", {0, 0, 1000, 20}, DT_EXPANDTABS);
    ASSERT_EQ(layout.Lines[0].Segments.size(), 3u);
    EXPECT_EQ(layout.Lines[0].Segments[1].X, 80);
    EXPECT_EQ(layout.Lines[0].Segments[2].X, 160);
    EXPECT_EQ(layout.Width, 170);
}

TEST(TextLayout, FirstCharsNeverSplitsACharacter) {
    EXPECT_EQ(FirstChars("abc", 2), "ab");
    EXPECT_EQ(FirstChars("\xD0\x96\xD0\x96x", 2), "\xD0\x96\xD0\x96");
    EXPECT_EQ(FirstChars("ab", 255), "ab");
}

} // namespace
} // namespace vesk
