#include "ide/designer/DesignFont.h"

namespace vesk {

TFontStyles FontStylesOf(const QFont& font) {
    TFontStyles styles = 0;
    if (font.bold())
        styles |= fsBold;
    if (font.italic())
        styles |= fsItalic;
    if (font.underline())
        styles |= fsUnderline;
    if (font.strikeOut())
        styles |= fsStrikeOut;
    return styles;
}

void SetFontStyles(QFont& font, TFontStyles styles) {
    font.setBold(styles & fsBold);
    font.setItalic(styles & fsItalic);
    font.setUnderline(styles & fsUnderline);
    font.setStrikeOut(styles & fsStrikeOut);
}

QFont ToDialogFont(const TFont& font) {
    QFont result(QString::fromStdString(font.Name));
    if (font.Size > 0)
        result.setPointSize(font.Size);
    SetFontStyles(result, font.Style);
    return result;
}

TFont FromDialogFont(const QFont& chosen, TFont font) {
    if (!chosen.family().isEmpty())
        font.Name = chosen.family().toStdString();
    if (chosen.pointSize() > 0)
        font.Size = chosen.pointSize();
    else if (chosen.pixelSize() > 0)
        font.Size = static_cast<int>(FontPointSize(chosen.pixelSize()));
    font.Style = FontStylesOf(chosen);
    return font;
}

} // namespace vesk
