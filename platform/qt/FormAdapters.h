// The engines' view of real widgets: a window's outer bounds (its frame geometry, so a
// stored placement puts the window back where it was) and a line edit's text, caret
// and selection, counted in bytes of the UTF-8 text as the core counts them.
#pragma once

#include "platform/controls/ControlIntf.h"
#include "platform/controls/FormIntf.h"

#include <QLineEdit>
#include <QListWidget>
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

// A widget's enabled and shown state (its own flag) and its place in its parent; a
// widget already destroyed reads as disabled and hidden and ignores changes.
class TQtControl : public IControl {
public:
    explicit TQtControl(QWidget* widget) : FWidget(widget) {}
    bool Enabled() const override;
    void SetEnabled(bool value) override;
    bool Visible() const override;
    void SetVisible(bool value) override;
    int Left() const override;
    int Top() const override;
    void SetLeft(int value) override;
    void SetTop(int value) override;

private:
    QPointer<QWidget> FWidget;
};

// A list widget as a list box; Sorted puts new items in their place without regard to
// case. The objects ride on the items. The list's selection mode tells single from
// multiple selection.
class TQtListBox : public IListBox {
public:
    TQtListBox(QListWidget* list, bool sorted) : FList(list), FSorted(sorted) {}
    int Count() const override;
    std::string Strings(int index) const override;
    TObject* Objects(int index) const override;
    int AddObject(const std::string& text, TObject* object) override;
    void Delete(int index) override;
    void Clear() override;
    bool Selected(int index) const override;
    void SetSelected(int index, bool selected) override;
    int ItemIndex() const override;
    void SetItemIndex(int index) override;
    void SetFocus() override;

private:
    QListWidgetItem* Item(int index) const; // EListError outside the items
    bool MultiSelect() const;

    QPointer<QListWidget> FList;
    bool FSorted;
};

class TNotebook;

// The notebook widget's pages.
class TQtNotebook : public INotebook {
public:
    explicit TQtNotebook(TNotebook* notebook);
    int PageCount() const override;
    int PageIndex() const override;
    void SetPageIndex(int value) override;

private:
    QPointer<TNotebook> FNotebook;
};

} // namespace vesk
