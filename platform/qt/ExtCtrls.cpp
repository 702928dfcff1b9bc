#include "platform/qt/ExtCtrls.h"

#include "platform/qt/SlotGuard.h"

#include <QGridLayout>
#include <QPainter>
#include <QRadioButton>

namespace vesk {

// The picture

TImage::TImage(QWidget* parent) : QWidget(parent) {
    resize(105, 105);
}

void TImage::SetPicture(std::unique_ptr<TQtBitmap> picture) {
    FPicture = std::move(picture);
    AdjustSize();
    update();
}

TCanvas& TImage::Canvas() {
    if (!FPicture)
        SetPicture(std::make_unique<TQtBitmap>(std::max(width(), 1), std::max(height(), 1)));
    return FPicture->Canvas();
}

void TImage::SetCenter(bool value) {
    FCenter = value;
    update();
}

void TImage::SetAutoSize(bool value) {
    FAutoSize = value;
    AdjustSize();
}

void TImage::SetTransparent(bool value) {
    FTransparent = value;
    update();
}

void TImage::AdjustSize() {
    if (FAutoSize && FPicture)
        resize(FPicture->Width(), FPicture->Height());
}

void TImage::paintEvent(QPaintEvent*) {
    if (!FPicture)
        return;
    QPainter painter(this);
    TQtCanvas canvas(painter);
    int x = 0;
    int y = 0;
    if (FCenter) {
        x = (width() - FPicture->Width()) / 2;
        y = (height() - FPicture->Height()) / 2;
    }
    FPicture->SetTransparent(FTransparent);
    canvas.Draw(x, y, *FPicture);
}

// The paint box

TPaintBox::TPaintBox(QWidget* parent) : QWidget(parent) {
    resize(105, 105);
}

TCanvas& TPaintBox::Canvas() {
    if (!FCanvas)
        throw EInvalidGraphic("A paint box is drawn only while it paints");
    return *FCanvas;
}

void TPaintBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    TQtCanvas canvas(painter);
    FCanvas = &canvas;
    emit OnPaint();
    FCanvas = nullptr;
}

// The notebook

void TNotebook::SetPageIndex(int value) {
    if (value < 0 || value >= count() || value == currentIndex())
        return;
    setCurrentIndex(value);
    emit OnPageChanged();
}

// The radio group

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, int columns,
                         QWidget* parent)
    : QGroupBox(caption, parent), FButtons(new QButtonGroup(this)) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 2, 8, 2);
    columns = std::max(columns, 1);
    const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        FButtons->addButton(button, i);
        grid->addWidget(button, i % rows, i / rows);
    }
    connect(FButtons, &QButtonGroup::idClicked, this, [this] { emit OnClick(); });
}

int TRadioGroup::ItemIndex() const {
    return FButtons->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
    if (QAbstractButton* button = FButtons->button(index)) {
        button->setChecked(true);
    } else if (QAbstractButton* checked = FButtons->checkedButton()) {
        FButtons->setExclusive(false); // an exclusive group keeps one button ticked
        checked->setChecked(false);
        FButtons->setExclusive(true);
    }
}

QAbstractButton* TRadioGroup::Button(int index) const {
    return FButtons->button(index);
}

// The animated image

TAnimatedImage::TAnimatedImage(QWidget* parent) : QWidget(parent) {
    resize(32, 32);
    FTimer.setInterval(100);
    connect(&FTimer, &QTimer::timeout, this, GuardedSlot([this] { NextFrame(); }));
}

void TAnimatedImage::SetGlyph(std::unique_ptr<TQtBitmap> strip, int numGlyphs) {
    FFrames.clear();
    FGlyphNum = 0;
    if (strip && numGlyphs > 0) {
        FKey = strip->ResolvedTransparentColor();
        const int width = strip->Width() / numGlyphs;
        for (int i = 0; i < numGlyphs; ++i)
            FFrames.push_back(std::make_unique<TQtBitmap>(
                strip->Image().copy(i * width, 0, std::max(width, 1), strip->Height())));
    }
    update();
}

void TAnimatedImage::SetGlyphNum(int value) {
    if (value < 0 || value >= NumGlyphs() || value == FGlyphNum)
        return;
    FGlyphNum = value;
    update();
}

void TAnimatedImage::SetActive(bool value) {
    if (value)
        FTimer.start();
    else
        FTimer.stop();
}

void TAnimatedImage::SetTransparent(bool value) {
    FTransparent = value;
    update();
}

void TAnimatedImage::NextFrame() {
    if (NumGlyphs() > 0)
        SetGlyphNum((FGlyphNum + 1) % NumGlyphs());
}

void TAnimatedImage::paintEvent(QPaintEvent*) {
    if (FFrames.empty())
        return;
    QPainter painter(this);
    TQtCanvas canvas(painter);
    TQtBitmap& frame = *FFrames[static_cast<std::size_t>(FGlyphNum)];
    frame.SetTransparent(FTransparent);
    frame.SetTransparentColor(FKey);
    canvas.Draw((width() - frame.Width()) / 2, (height() - frame.Height()) / 2, frame);
}

} // namespace vesk
