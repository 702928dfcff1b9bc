#include "platform/qt/SpeedButton.h"

#include "platform/graphics/TextLayout.h"
#include "platform/qt/QtCanvas.h"

#include <QPainter>

namespace vesk {

TSpeedButton::TSpeedButton(QWidget* parent) : QWidget(parent) {
    resize(23, 22);
}

template <typename Action>
void TSpeedButton::ForEachInGroup(Action action) {
    if (FGroupIndex == 0 || !parentWidget())
        return;
    const auto siblings = parentWidget()->findChildren<TSpeedButton*>(Qt::FindDirectChildrenOnly);
    for (TSpeedButton* other : siblings)
        if (other != this && other->FGroupIndex == FGroupIndex)
            action(*other);
}

void TSpeedButton::UpdateExclusive() {
    ForEachInGroup([this](TSpeedButton& other) {
        if (FDown && other.FDown) {
            other.FDown = false;
            other.FState = bsUp;
            other.Invalidate();
        }
        other.FAllowAllUp = FAllowAllUp;
    });
}

void TSpeedButton::SetAllowAllUp(bool allow) {
    if (allow == FAllowAllUp)
        return;
    FAllowAllUp = allow;
    UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(int index) {
    if (index == FGroupIndex)
        return;
    FGroupIndex = index;
    if (FGroupIndex == 0 && FDown) {
        FDown = false;
        FState = bsUp;
        Invalidate();
    }
    UpdateExclusive();
}

void TSpeedButton::SetDown(bool down) {
    if (FGroupIndex == 0)
        down = false; // only grouped buttons latch
    if (down == FDown)
        return;
    if (FDown && !FAllowAllUp)
        return; // one button of the group stays down
    FDown = down;
    if (down) {
        if (FState == bsUp)
            Invalidate();
        FState = bsExclusive;
        UpdateExclusive();
    } else {
        FState = bsUp;
        Refresh();
    }
}

void TSpeedButton::SetFlat(bool flat) {
    if (flat == FFlat)
        return;
    FFlat = flat;
    Invalidate();
}

void TSpeedButton::SetCaption(const std::string& caption) {
    if (caption == FCaption)
        return;
    FCaption = caption;
    Invalidate();
}

void TSpeedButton::Click() {
    emit OnClick();
}

void TSpeedButton::Paint(TCanvas& canvas) {
    const TRect rect = ClientRect();
    const bool pressed = FState == bsDown || FState == bsExclusive;
    if (!FFlat || FMouseInControl || pressed)
        Frame3D(canvas, rect, pressed ? clGray : clWhite, pressed ? clWhite : clGray);
    TRect text = rect;
    if (pressed)
        OffsetRect(text, 1, 1);
    canvas.SetBrushStyle(TBrushStyle::bsClear);
    TFont font = canvas.Font();
    font.Color = FState == bsDisabled ? clGray : clBlack;
    canvas.SetFont(font);
    canvas.DrawText(FCaption, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TSpeedButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    TQtCanvas canvas(painter);
    Paint(canvas);
}

void TSpeedButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    if (!FDown) {
        FState = bsDown;
        Invalidate();
    }
    FDragging = true;
}

void TSpeedButton::mouseMoveEvent(QMouseEvent* event) {
    if (!FDragging)
        return;
    const bool inside = rect().contains(event->position().toPoint());
    TButtonState state = FDown ? bsExclusive : bsUp;
    if (inside && !FDown)
        state = bsDown;
    if (state != FState) {
        FState = state;
        Invalidate();
    }
}

void TSpeedButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !FDragging)
        return;
    FDragging = false;
    const bool doClick = rect().contains(event->position().toPoint());
    if (FGroupIndex == 0) {
        FState = bsUp;
        Invalidate();
    } else if (doClick) {
        SetDown(!FDown); // may be refused: a group without AllowAllUp keeps one down
        FState = FDown ? bsExclusive : bsUp;
        Invalidate();
    } else {
        FState = FDown ? bsExclusive : bsUp;
        Invalidate();
    }
    if (doClick)
        Click();
}

void TSpeedButton::enterEvent(QEnterEvent*) {
    if (!isEnabled() || FMouseInControl)
        return;
    FMouseInControl = true;
    if (FFlat)
        Invalidate();
}

void TSpeedButton::leaveEvent(QEvent*) {
    if (!FMouseInControl)
        return;
    FMouseInControl = false;
    if (FFlat)
        Invalidate();
}

void TSpeedButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            FState = bsDisabled;
            FDragging = false;
        } else if (FState == bsDisabled) {
            FState = FDown ? bsExclusive : bsUp;
        }
        Invalidate();
    }
    QWidget::changeEvent(event);
}

} // namespace vesk
