// The engines' view of real widgets: a window's outer bounds (its frame geometry, so a
// stored placement puts the window back where it was) and a line edit's text, caret
// and selection, counted in bytes of the UTF-8 text as the core counts them.
#pragma once

#include "platform/controls/FormIntf.h"

#include <QLineEdit>
#include <QPointer>
#include <QWidget>

namespace vesk {

// Bounds of Window, which the adapter does not own; a window already destroyed reads
// as empty bounds and ignores changes.
class TQtFormBounds : public IFormWindow {
public:
    explicit TQtFormBounds(QWidget* window) : FWindow(window) {}
    std::string Name() const override;
    int Top() const override;
    int Left() const override;
    int Height() const override;
    int Width() const override;
    void SetTop(int value) override;
    void SetLeft(int value) override;
    void SetHeight(int value) override;
    void SetWidth(int value) override;
    void Close() override;

private:
    QPointer<QWidget> FWindow;
};

class TQtEditBox : public IEditBox {
public:
    explicit TQtEditBox(QLineEdit* edit) : FEdit(edit) {}
    std::string Text() const override;
    void SetText(const std::string& text) override;
    int SelStart() const override;
    void SetSelStart(int value) override;
    int SelLength() const override;
    void SetSelLength(int value) override;

private:
    int Utf16Pos(int bytes) const; // the position in Qt's text of a byte offset
    int BytePos(int utf16) const;  // and back
    QPointer<QLineEdit> FEdit;
};

} // namespace vesk
