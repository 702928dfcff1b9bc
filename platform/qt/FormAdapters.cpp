#include "platform/qt/FormAdapters.h"

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

} // namespace vesk
