// A source editor: a QScintilla buffer holding one file's text. The buffer is the file's
// bytes when they are UTF-8, else their Latin-1 reading, so that a file in an old code
// page opens whole and is saved byte for byte. Positions the add-in passes are 1-based
// columns and lines, a column counting the buffer's bytes within its line.
#pragma once

#include "ide/project/TextEncoding.h"
#include "platform/ota/EditPos.h"

#include <Qsci/qsciscintilla.h>

#include <string>

namespace vesk {

class TSourceEditor : public QsciScintilla {
    Q_OBJECT
public:
    explicit TSourceEditor(QWidget* parent = nullptr);

    // The file the editor shows (its full name) and the highlighting its ending calls for.
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& fileName);

    // Replaces the buffer with a file's bytes: no undo step, not modified, caret at 1:1.
    void LoadBytes(std::string bytes);
    // The buffer's bytes (UTF-8) and the file's bytes they stand for; FileBytes raises
    // EEncodingError when the buffer holds what the file's encoding cannot.
    std::string Utf8Text() const;
    std::string FileBytes() const;
    // Replaces the whole buffer as one undoable step, keeping the caret's line and column
    // where they still exist.
    void ReplaceText(const std::string& utf8);
    TTextEncoding Encoding() const { return FEncoding; }

    // Copies up to Count bytes of the buffer from the 0-based Position; how many it did.
    int ReadText(int position, char* buffer, int count) const;
    int Length() const;

    TEditPos CaretPos() const;
    void SetCaretPos(TEditPos pos); // clamped to the buffer and the line's end
    TEditPos TopPos() const;        // the first line shown and the first column
    void SetTopPos(TEditPos pos);

    // Searches for Text from the caret on (wrapping at the end), selecting what it finds;
    // false when the buffer holds no such text. Case is not regarded.
    bool FindText(const QString& text);

private:
    int PositionOf(TEditPos pos) const;

    std::string FFileName;
    TTextEncoding FEncoding = TTextEncoding::Utf8;
};

} // namespace vesk
