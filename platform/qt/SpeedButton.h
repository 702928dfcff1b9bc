// The host's speed button as a Qt widget: pressed while the left button holds it,
// clicked when released over it, latched down in a group (GroupIndex) where one
// button at a time is down unless AllowAllUp, and the Flat look that repaints when
// the pointer enters or leaves. Descendants replace Paint, which draws on a canvas.
#pragma once

#include "platform/graphics/Graphics.h"
#include "platform/qt/ControlInput.h"

#include <QWidget>

#include <string>

namespace vesk {

// The host's internal state: up, disabled, held down by the mouse, latched down.
enum TButtonState : std::uint8_t { bsUp, bsDisabled, bsDown, bsExclusive };

class TSpeedButton : public QWidget {
    Q_OBJECT

public:
    explicit TSpeedButton(QWidget* parent = nullptr);

    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool allow);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int index);
    bool Down() const { return FDown; }
    void SetDown(bool down);
    bool Flat() const { return FFlat; }
    void SetFlat(bool flat);
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& caption);
    QString CaptionText() const { return QString::fromStdString(FCaption); }
    void SetCaptionText(const QString& caption) { SetCaption(caption.toStdString()); }

    TButtonState State() const { return FState; }
    TRect ClientRect() const { return vesk::ClientRect(*this); }
    void Refresh() { repaint(); }
    void Invalidate() { update(); }
    void Click();

    // Draws the whole button on Canvas.
    virtual void Paint(TCanvas& canvas);

signals:
    void OnClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Lets the other buttons of the group know that this one is down, or that the
    // group's AllowAllUp changed.
    void UpdateExclusive();
    template <typename Action>
    void ForEachInGroup(Action action);

    std::string FCaption;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FDown = false;
    bool FFlat = false;
    bool FDragging = false;
    bool FMouseInControl = false;
    TButtonState FState = bsUp;
};

} // namespace vesk
