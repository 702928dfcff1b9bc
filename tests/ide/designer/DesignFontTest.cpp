#include "ide/designer/DesignFont.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(DesignFont, TheDialogStartsWithTheFontsNameSizeAndEveryStyle) {
    TFont font;
    font.Name = "Arial";
    font.Size = 12;
    font.Style = fsBold | fsItalic | fsUnderline | fsStrikeOut;
    const QFont shown = ToDialogFont(font);
    EXPECT_EQ(shown.family(), "Arial");
    EXPECT_EQ(shown.pointSize(), 12);
    EXPECT_TRUE(shown.bold());
    EXPECT_TRUE(shown.italic());
    EXPECT_TRUE(shown.underline());
    EXPECT_TRUE(shown.strikeOut());
    EXPECT_EQ(FontStylesOf(shown), font.Style);
    font.Style = fsItalic;
    const QFont italic = ToDialogFont(font);
    EXPECT_FALSE(italic.bold());
    EXPECT_TRUE(italic.italic());
    EXPECT_FALSE(italic.underline());
    EXPECT_FALSE(italic.strikeOut());
}

TEST(DesignFont, TheChoiceSetsExactlyTheChosenStylesAndKeepsWhatTheDialogHasNot) {
    TFont font;
    font.Name = "Arial";
    font.Size = 10;
    font.Color = clRed;
    font.Style = fsBold | fsItalic | fsUnderline;
    // Bold taken off in the dialog: gone; italic and underline stay.
    QFont chosen = ToDialogFont(font);
    chosen.setBold(false);
    TFont result = FromDialogFont(chosen, font);
    EXPECT_EQ(result.Style, fsItalic | fsUnderline);
    EXPECT_EQ(result.Name, "Arial");
    EXPECT_EQ(result.Size, 10);
    EXPECT_EQ(result.Color, clRed); // the dialog has no colour: it stays
    // Strike-out put on, the size and name changed.
    chosen.setStrikeOut(true);
    chosen.setPointSize(14);
    chosen.setFamily("Courier New");
    result = FromDialogFont(chosen, font);
    EXPECT_EQ(result.Style, fsItalic | fsUnderline | fsStrikeOut);
    EXPECT_EQ(result.Size, 14);
    EXPECT_EQ(result.Name, "Courier New");
    // Every style off: none stays.
    QFont plain = chosen;
    SetFontStyles(plain, 0);
    EXPECT_EQ(FromDialogFont(plain, font).Style, 0);
    // A font sized in pixels: its points at 96 per inch; none at all keeps the size.
    QFont pixels("Arial");
    pixels.setPixelSize(16);
    EXPECT_EQ(FromDialogFont(pixels, font).Size, 12);
    pixels.setPixelSize(11);
    EXPECT_EQ(FromDialogFont(pixels, font).Size, 8);
}

} // namespace
} // namespace vesk
