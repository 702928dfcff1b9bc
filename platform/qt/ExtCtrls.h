// More of the host's controls as Qt widgets: a picture (TImage), a paint box, a
// notebook of pages without tabs, a radio group, and the animated image that cycles
// through the frames of a strip. Pictures are bitmaps of the Qt canvas.
#pragma once

#include "platform/qt/QtCanvas.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QStackedWidget>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

namespace vesk {

// A picture. Without one, its canvas makes a bitmap the size of the control, as the
// host's does. Centre puts the picture in the middle, AutoSize fits the control to it,
// Transparent leaves the picture's transparent colour out.
class TImage : public QWidget {
    Q_OBJECT

public:
    explicit TImage(QWidget* parent = nullptr);

    TQtBitmap* Picture() const { return FPicture.get(); }
    void SetPicture(std::unique_ptr<TQtBitmap> picture);
    // The picture's canvas; what is drawn shows at the next repaint (Invalidate).
    TCanvas& Canvas();
    void Invalidate() { update(); }

    bool Center() const { return FCenter; }
    void SetCenter(bool value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void AdjustSize();

    std::unique_ptr<TQtBitmap> FPicture;
    bool FCenter = false;
    bool FAutoSize = false;
    bool FTransparent = false;
};

// A paint box: its owner draws it in OnPaint, on Canvas.
class TPaintBox : public QWidget {
    Q_OBJECT

public:
    explicit TPaintBox(QWidget* parent = nullptr);
    // The canvas of the paint under way; EInvalidGraphic outside OnPaint (Qt paints a
    // widget only when it asks to).
    TCanvas& Canvas();

signals:
    void OnPaint();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TCanvas* FCanvas = nullptr;
};

// Pages without tabs. PageIndex shows a page; a change raises OnPageChanged, a value
// that names no page or the page shown changes nothing.
class TNotebook : public QStackedWidget {
    Q_OBJECT

public:
    explicit TNotebook(QWidget* parent = nullptr) : QStackedWidget(parent) {}
    int PageIndex() const { return currentIndex(); }
    void SetPageIndex(int value);

signals:
    void OnPageChanged();
};

// A group box of radio buttons laid out in Columns, top to bottom, then left to right;
// ItemIndex is the ticked one (-1 for none).
class TRadioGroup : public QGroupBox {
    Q_OBJECT

public:
    TRadioGroup(const QString& caption, const QStringList& items, int columns,
                QWidget* parent = nullptr);
    int ItemIndex() const;
    void SetItemIndex(int index);
    QAbstractButton* Button(int index) const;

signals:
    void OnClick();

private:
    QButtonGroup* FButtons;
};

// A strip of NumGlyphs frames side by side, one shown at a time; while Active, the
// next one every Interval milliseconds, round and round. Transparent leaves out the
// colour of the strip's bottom-left pixel.
class TAnimatedImage : public QWidget {
    Q_OBJECT

public:
    explicit TAnimatedImage(QWidget* parent = nullptr);

    // The strip is cut into NumGlyphs frames of equal width.
    void SetGlyph(std::unique_ptr<TQtBitmap> strip, int numGlyphs);
    int NumGlyphs() const { return static_cast<int>(FFrames.size()); }
    int GlyphNum() const { return FGlyphNum; }
    // A number that names no frame changes nothing.
    void SetGlyphNum(int value);
    int Interval() const { return FTimer.interval(); }
    void SetInterval(int milliseconds) { FTimer.setInterval(milliseconds); }
    bool Active() const { return FTimer.isActive(); }
    void SetActive(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    // The next frame, as the timer shows it.
    void NextFrame();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<std::unique_ptr<TQtBitmap>> FFrames;
    TColor FKey = clDefault;
    int FGlyphNum = 0;
    bool FTransparent = false;
    QTimer FTimer;
};

} // namespace vesk
