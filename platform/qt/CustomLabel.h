// The host's label as a Qt widget: caption, font, colour, alignment, transparency,
// auto-sizing, the mouse handlers that raise the On... events, and the click raised
// when the left button is released over the label after a press on it. Descendants
// replace Paint, which draws on a canvas so it can be checked without a screen.
#pragma once

#include "platform/graphics/Graphics.h"
#include "platform/qt/ControlInput.h"

#include <QWidget>

#include <string>

namespace vesk {

class TCustomLabel : public QWidget {
    Q_OBJECT

public:
    explicit TCustomLabel(QWidget* parent = nullptr);

    // The caption as UTF-8 bytes.
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& caption);
    QString CaptionText() const { return QString::fromStdString(FCaption); }
    void SetCaptionText(const QString& caption) { SetCaption(caption.toStdString()); }

    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& font);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment alignment);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool transparent);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool autoSize);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool wordWrap);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool show);

    TRect ClientRect() const { return vesk::ClientRect(*this); }
    int ClientWidth() const { return width(); }
    int ClientHeight() const { return height(); }
    // Redraw at once, or when the event loop next paints.
    void Refresh() { repaint(); }
    void Invalidate() { update(); }

    // Draws the whole label on Canvas.
    virtual void Paint(TCanvas& canvas);

signals:
    void OnClick();
    void OnDblClick();
    void OnMouseDown(vesk::TMouseButton button, vesk::TShiftState shift, int x, int y);
    void OnMouseMove(vesk::TShiftState shift, int x, int y);
    void OnMouseUp(vesk::TMouseButton button, vesk::TShiftState shift, int x, int y);

protected:
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void Click() { emit OnClick(); }
    // Fits the label to its caption when AutoSize is on.
    void AdjustBounds();

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    unsigned TextFlags() const;

    std::string FCaption;
    TFont FFont;
    TColor FColor = clBtnFace;
    TAlignment FAlignment = taLeftJustify;
    bool FTransparent = false;
    bool FAutoSize = true;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    bool FClicked = false; // the left button went down on the label
};

} // namespace vesk
