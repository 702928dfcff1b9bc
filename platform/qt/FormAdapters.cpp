#include "platform/qt/FormAdapters.h"

#include "platform/qt/ExtCtrls.h"
#include "platform/rtl/SysUtils.h"

#include <QWindow>

#include <algorithm>

namespace vesk {

// The window

namespace {

// What the frame adds around a window's client area. A window not shown yet has no
// frame geometry; its platform window (made here if need be) knows the frame it will get.
QMargins FrameMargins(QWidget* window) {
    if (!window->isWindow())
        return {};
    if (window->isVisible()) {
        const QRect frame = window->frameGeometry();
        const QRect client = window->geometry();
        return {client.left() - frame.left(), client.top() - frame.top(),
                frame.right() - client.right(), frame.bottom() - client.bottom()};
    }
    window->winId();
    return window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
}

} // namespace

std::string TQtFormBounds::Name() const {
    return FWindow ? FWindow->objectName().toStdString() : std::string();
}

// A window's position (pos(), move()) is that of its frame.
int TQtFormBounds::Top() const {
    return FWindow ? FWindow->pos().y() : 0;
}

int TQtFormBounds::Left() const {
    return FWindow ? FWindow->pos().x() : 0;
}

int TQtFormBounds::Height() const {
    if (!FWindow)
        return 0;
    const QMargins frame = FrameMargins(FWindow);
    return FWindow->height() + frame.top() + frame.bottom();
}

int TQtFormBounds::Width() const {
    if (!FWindow)
        return 0;
    const QMargins frame = FrameMargins(FWindow);
    return FWindow->width() + frame.left() + frame.right();
}

void TQtFormBounds::SetTop(int value) {
    if (FWindow)
        FWindow->move(FWindow->pos().x(), value);
}

void TQtFormBounds::SetLeft(int value) {
    if (FWindow)
        FWindow->move(value, FWindow->pos().y());
}

// Its size is that of the client area: the frame's share is taken off.
void TQtFormBounds::SetHeight(int value) {
    if (!FWindow)
        return;
    const QMargins frame = FrameMargins(FWindow);
    FWindow->resize(FWindow->width(), std::max(value - frame.top() - frame.bottom(), 0));
}

void TQtFormBounds::SetWidth(int value) {
    if (!FWindow)
        return;
    const QMargins frame = FrameMargins(FWindow);
    FWindow->resize(std::max(value - frame.left() - frame.right(), 0), FWindow->height());
}

void TQtFormBounds::Close() {
    if (FWindow)
        FWindow->close();
}

// The edit box

int TQtEditBox::Utf16Pos(int bytes) const {
    const QByteArray utf8 = FEdit->text().toUtf8();
    const auto count = std::clamp<qsizetype>(bytes, 0, utf8.size());
    return static_cast<int>(QString::fromUtf8(utf8.left(count)).size());
}

int TQtEditBox::BytePos(int utf16) const {
    return static_cast<int>(FEdit->text().left(std::max(utf16, 0)).toUtf8().size());
}

std::string TQtEditBox::Text() const {
    return FEdit ? FEdit->text().toUtf8().toStdString() : std::string();
}

void TQtEditBox::SetText(const std::string& text) {
    if (FEdit)
        FEdit->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

int TQtEditBox::SelStart() const {
    if (!FEdit)
        return 0;
    return BytePos(FEdit->hasSelectedText() ? FEdit->selectionStart() : FEdit->cursorPosition());
}

void TQtEditBox::SetSelStart(int value) {
    if (FEdit)
        FEdit->setCursorPosition(Utf16Pos(value));
}

int TQtEditBox::SelLength() const {
    if (!FEdit || !FEdit->hasSelectedText())
        return 0;
    return static_cast<int>(FEdit->selectedText().toUtf8().size());
}

void TQtEditBox::SetSelLength(int value) {
    if (!FEdit)
        return;
    const int start = SelStart();
    const int from = Utf16Pos(start);
    if (value <= 0)
        FEdit->setCursorPosition(from);
    else
        FEdit->setSelection(from, Utf16Pos(start + value) - from);
}

// A control

bool TQtControl::Enabled() const {
    return FWidget && FWidget->isEnabled();
}

void TQtControl::SetEnabled(bool value) {
    if (FWidget)
        FWidget->setEnabled(value);
}

bool TQtControl::Visible() const {
    return FWidget && !FWidget->isHidden();
}

void TQtControl::SetVisible(bool value) {
    if (FWidget)
        FWidget->setVisible(value);
}

int TQtControl::Left() const {
    return FWidget ? FWidget->x() : 0;
}

int TQtControl::Top() const {
    return FWidget ? FWidget->y() : 0;
}

void TQtControl::SetLeft(int value) {
    if (FWidget)
        FWidget->move(value, FWidget->y());
}

void TQtControl::SetTop(int value) {
    if (FWidget)
        FWidget->move(FWidget->x(), value);
}

// A list box

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr int ObjectRole = Qt::UserRole;

} // namespace

QListWidgetItem* TQtListBox::Item(int index) const {
    if (!FList || index < 0 || index >= FList->count())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return FList->item(index);
}

bool TQtListBox::MultiSelect() const {
    return FList && FList->selectionMode() != QAbstractItemView::SingleSelection;
}

int TQtListBox::Count() const {
    return FList ? FList->count() : 0;
}

std::string TQtListBox::Strings(int index) const {
    return Item(index)->text().toStdString();
}

TObject* TQtListBox::Objects(int index) const {
    return reinterpret_cast<TObject*>(Item(index)->data(ObjectRole).value<quintptr>());
}

int TQtListBox::AddObject(const std::string& text, TObject* object) {
    if (!FList)
        return -1;
    int index = FList->count();
    if (FSorted) {
        // After the items that sort with it or before it: a binary search for the end.
        int low = 0;
        while (low < index) {
            const int middle = (low + index) / 2;
            if (CompareText(text, FList->item(middle)->text().toStdString()) < 0)
                index = middle;
            else
                low = middle + 1;
        }
    }
    auto* item = new QListWidgetItem(FromUtf8(text));
    item->setData(ObjectRole, QVariant::fromValue(reinterpret_cast<quintptr>(object)));
    FList->insertItem(index, item);
    return index;
}

void TQtListBox::Delete(int index) {
    delete FList->takeItem(FList->row(Item(index)));
}

void TQtListBox::Clear() {
    if (FList)
        FList->clear();
}

bool TQtListBox::Selected(int index) const {
    return Item(index)->isSelected();
}

void TQtListBox::SetSelected(int index, bool selected) {
    QListWidgetItem* item = Item(index);
    if (!MultiSelect() && selected)
        FList->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
    else
        item->setSelected(selected);
}

int TQtListBox::ItemIndex() const {
    return FList ? FList->currentRow() : -1;
}

void TQtListBox::SetItemIndex(int index) {
    if (!FList)
        return;
    if (index < 0 || index >= FList->count()) {
        FList->setCurrentRow(-1, MultiSelect() ? QItemSelectionModel::NoUpdate
                                               : QItemSelectionModel::Clear);
        return;
    }
    FList->setCurrentRow(index, MultiSelect() ? QItemSelectionModel::NoUpdate
                                              : QItemSelectionModel::ClearAndSelect);
}

void TQtListBox::SetFocus() {
    if (FList)
        FList->setFocus();
}

// A notebook

TQtNotebook::TQtNotebook(TNotebook* notebook) : FNotebook(notebook) {}

int TQtNotebook::PageCount() const {
    return FNotebook ? FNotebook->count() : 0;
}

int TQtNotebook::PageIndex() const {
    return FNotebook ? FNotebook->PageIndex() : -1;
}

void TQtNotebook::SetPageIndex(int value) {
    if (FNotebook)
        FNotebook->SetPageIndex(value);
}

} // namespace vesk
