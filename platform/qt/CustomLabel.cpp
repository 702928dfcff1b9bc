#include "platform/qt/CustomLabel.h"

#include "platform/graphics/TextLayout.h"
#include "platform/qt/QtCanvas.h"

#include <QImage>
#include <QPainter>

namespace vesk {

TCustomLabel::TCustomLabel(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true); // the host reports every move over a control
    resize(65, 17);
}

void TCustomLabel::SetCaption(const std::string& caption) {
    if (caption == FCaption)
        return;
    FCaption = caption;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetFont(const TFont& font) {
    if (font == FFont)
        return;
    FFont = font;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetColor(TColor color) {
    if (color == FColor)
        return;
    FColor = color;
    Invalidate();
}

void TCustomLabel::SetAlignment(TAlignment alignment) {
    if (alignment == FAlignment)
        return;
    FAlignment = alignment;
    Invalidate();
}

void TCustomLabel::SetTransparent(bool transparent) {
    if (transparent == FTransparent)
        return;
    FTransparent = transparent;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool autoSize) {
    if (autoSize == FAutoSize)
        return;
    FAutoSize = autoSize;
    AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool wordWrap) {
    if (wordWrap == FWordWrap)
        return;
    FWordWrap = wordWrap;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool show) {
    if (show == FShowAccelChar)
        return;
    FShowAccelChar = show;
    AdjustBounds();
    Invalidate();
}

unsigned TCustomLabel::TextFlags() const {
    unsigned flags = DT_EXPANDTABS;
    if (FAlignment == taCenter)
        flags |= DT_CENTER;
    else if (FAlignment == taRightJustify)
        flags |= DT_RIGHT;
    if (FWordWrap)
        flags |= DT_WORDBREAK;
    if (!FShowAccelChar)
        flags |= DT_NOPREFIX;
    return flags;
}

void TCustomLabel::AdjustBounds() {
    if (!FAutoSize)
        return;
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    TQtCanvas canvas(painter);
    canvas.SetFont(FFont);
    TRect extent = ClientRect();
    const std::string text = FCaption.empty() ? " " : FCaption; // an empty label keeps a line
    canvas.DrawText(text, extent, TextFlags() | DT_CALCRECT);
    const int newWidth = FWordWrap ? width() : extent.Width();
    if (FAlignment == taRightJustify && !FWordWrap)
        move(x() + width() - newWidth, y());
    resize(newWidth, extent.Height());
}

void TCustomLabel::Paint(TCanvas& canvas) {
    TRect rect = ClientRect();
    if (!FTransparent) {
        canvas.SetBrushColor(FColor);
        canvas.SetBrushStyle(TBrushStyle::bsSolid);
        canvas.FillRect(rect);
    }
    canvas.SetBrushStyle(TBrushStyle::bsClear);
    canvas.SetFont(FFont);
    if (!isEnabled())
        canvas.SetFontColor(clGray);
    canvas.DrawText(FCaption, rect, TextFlags());
}

void TCustomLabel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    emit OnMouseDown(button, shift, x, y);
}

void TCustomLabel::MouseMove(TShiftState shift, int x, int y) {
    emit OnMouseMove(shift, x, y);
}

void TCustomLabel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    emit OnMouseUp(button, shift, x, y);
}

void TCustomLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    TQtCanvas canvas(painter);
    Paint(canvas);
}

void TCustomLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        FClicked = true;
    const QPoint at = event->position().toPoint();
    MouseDown(MouseButtonOf(*event), ShiftStateOf(*event), at.x(), at.y());
}

void TCustomLabel::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    MouseMove(ShiftStateOf(*event), at.x(), at.y());
}

void TCustomLabel::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && FClicked) {
        FClicked = false;
        if (rect().contains(at))
            Click();
    }
    MouseUp(MouseButtonOf(*event), ShiftStateOf(*event), at.x(), at.y());
}

void TCustomLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit OnDblClick();
    mousePressEvent(event);
}

} // namespace vesk
