#include "ide/app/SourceEditor.h"

#include "platform/rtl/SysUtils.h"

#include <Qsci/qscilexerpascal.h>

#include <QColor>
#include <QFontDatabase>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace vesk {

namespace {

bool IsPascalFile(const std::string& fileName) {
    const std::string ext = UpperCase(ExtractFileExt(fileName));
    return ext == ".PAS" || ext == ".DPR" || ext == ".DPK" || ext == ".INC" || ext == ".PP" ||
           ext == ".LPR";
}

} // namespace

TSourceEditor::TSourceEditor(QWidget* parent) : QsciScintilla(parent) {
    setUtf8(true);
    const QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    setFont(font);
    setMarginsFont(font);
    setMarginType(0, NumberMargin);
    setMarginWidth(0, QStringLiteral("000000"));
    setCaretLineVisible(true);
    setCaretLineBackgroundColor(QColor(0xE8, 0xF0, 0xFF));
    setMarginsBackgroundColor(QColor(0xF0, 0xF0, 0xF0));
    setBraceMatching(SloppyBraceMatch);
    setTabWidth(8);
    setIndentationsUseTabs(false);
    setAutoIndent(true);
    setWrapMode(WrapNone);
    // The horizontal scroll bar follows the longest line shown, not a fixed width.
    SendScintilla(SCI_SETSCROLLWIDTH, 1UL);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1UL);
}

void TSourceEditor::SetFileName(const std::string& fileName) {
    FFileName = fileName;
    if (IsPascalFile(fileName)) {
        if (!lexer()) {
            auto* pascal = new QsciLexerPascal(this);
            pascal->setFont(font(), -1);
            setLexer(pascal);
        }
    } else if (QsciLexer* old = lexer()) {
        setLexer(nullptr);
        delete old;
    }
}

void TSourceEditor::LoadBytes(std::string bytes) {
    TDecodedText decoded = DecodeFileText(std::move(bytes));
    FEncoding = decoded.Encoding;
    const std::string& text = decoded.Utf8;
    // The buffer keeps the line ends it is given; new lines take the file's kind.
    const std::size_t lf = text.find('\n');
    setEolMode(lf != std::string::npos && lf > 0 && text[lf - 1] == '\r' ? EolWindows : EolUnix);
    SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
    SendScintilla(SCI_CLEARALL);
    // Appended by length: a NUL byte in the file does not end the text.
    SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(text.size()), text.data());
    SendScintilla(SCI_SETUNDOCOLLECTION, 1UL);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_SETSAVEPOINT);
    SendScintilla(SCI_GOTOPOS, 0UL);
}

int TSourceEditor::Length() const {
    return static_cast<int>(SendScintilla(SCI_GETLENGTH));
}

std::string TSourceEditor::Utf8Text() const {
    const auto* data = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    return std::string(data, static_cast<std::size_t>(Length()));
}

std::string TSourceEditor::FileBytes() const {
    return EncodeFileText(Utf8Text(), FEncoding);
}

void TSourceEditor::ReplaceText(const std::string& utf8) {
    const TEditPos caret = CaretPos();
    const TEditPos top = TopPos();
    SendScintilla(SCI_BEGINUNDOACTION);
    SendScintilla(SCI_SETTARGETSTART, 0UL);
    SendScintilla(SCI_SETTARGETEND, static_cast<unsigned long>(Length()));
    SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(utf8.size()), utf8.data());
    SendScintilla(SCI_ENDUNDOACTION);
    SetCaretPos(caret);
    SetTopPos(top);
}

int TSourceEditor::ReadText(int position, char* buffer, int count) const {
    const int length = Length();
    if (position < 0 || count <= 0 || position >= length)
        return 0;
    const int n = std::min(count, length - position);
    // The range is read where it lies; the gap of the buffer is not moved for it.
    const auto* data = reinterpret_cast<const char*>(static_cast<std::intptr_t>(SendScintilla(
        SCI_GETRANGEPOINTER, static_cast<unsigned long>(position), static_cast<long>(n))));
    std::memcpy(buffer, data, static_cast<std::size_t>(n));
    return n;
}

int TSourceEditor::PositionOf(TEditPos pos) const {
    const int lines = static_cast<int>(SendScintilla(SCI_GETLINECOUNT));
    const int line = std::clamp(pos.Line - 1, 0, std::max(lines - 1, 0));
    const int start = static_cast<int>(SendScintilla(SCI_POSITIONFROMLINE, line));
    const int end = static_cast<int>(SendScintilla(SCI_GETLINEENDPOSITION, line));
    return start + std::clamp(pos.Col - 1, 0, end - start);
}

TEditPos TSourceEditor::CaretPos() const {
    const long pos = SendScintilla(SCI_GETCURRENTPOS);
    const long line = SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(pos));
    const long start = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    return {static_cast<std::int16_t>(std::min<long>(pos - start + 1, INT16_MAX)),
            static_cast<std::int32_t>(line + 1)};
}

void TSourceEditor::SetCaretPos(TEditPos pos) {
    SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(PositionOf(pos)));
    // The editor tells of a moved caret only when it next updates its view; whoever
    // shows the position hears of it now.
    int line = 0, index = 0;
    getCursorPosition(&line, &index);
    emit cursorPositionChanged(line, index);
}

namespace {

int SpaceWidth(const TSourceEditor& editor) {
    return std::max(1, static_cast<int>(editor.SendScintilla(
                           QsciScintillaBase::SCI_TEXTWIDTH,
                           static_cast<unsigned long>(QsciScintillaBase::STYLE_DEFAULT), " ")));
}

} // namespace

TEditPos TSourceEditor::TopPos() const {
    const long line = SendScintilla(SCI_GETFIRSTVISIBLELINE);
    const long x = SendScintilla(SCI_GETXOFFSET);
    return {static_cast<std::int16_t>(x / SpaceWidth(*this) + 1),
            static_cast<std::int32_t>(line + 1)};
}

void TSourceEditor::SetTopPos(TEditPos pos) {
    SendScintilla(SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(std::max(pos.Line - 1, 0)));
    SendScintilla(SCI_SETXOFFSET,
                  static_cast<unsigned long>(std::max(pos.Col - 1, 0) * SpaceWidth(*this)));
}

bool TSourceEditor::FindText(const QString& text) {
    if (text.isEmpty())
        return false;
    return findFirst(text, /*re=*/false, /*cs=*/false, /*wo=*/false, /*wrap=*/true);
}

} // namespace vesk
