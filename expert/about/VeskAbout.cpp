#include "expert/about/VeskAbout.h"

#include "expert/about/AboutPictures.h"
#include "platform/qt/ControlInput.h"
#include "platform/qt/SlotGuard.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace vesk {

// The window's own canvas: what is drawn on it shows above the controls until it is
// drawn over again, as on the host's forms. It lets the pointer through.
class TAboutCanvasLayer : public QWidget {
public:
    TAboutCanvasLayer(QWidget* parent, QSize size)
        : QWidget(parent), FImage(size, QImage::Format_ARGB32_Premultiplied) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(QRect(QPoint(0, 0), size));
        FImage.fill(Qt::transparent);
        FPainter.begin(&FImage);
        FCanvas = std::make_unique<TQtCanvas>(FPainter);
    }
    ~TAboutCanvasLayer() override {
        FCanvas.reset();
        FPainter.end();
    }
    TCanvas& Canvas() { return *FCanvas; }
    const QImage& Image() const { return FImage; }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.drawImage(event->rect(), FImage, event->rect());
    }

private:
    QImage FImage;
    QPainter FPainter;
    std::unique_ptr<TQtCanvas> FCanvas;
};

namespace {

// The box of the animated version text.
constexpr TRect BoxBounds = Rect(4, 4, 4 + 207, 4 + 29);

QRect ToQRect(const TRect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

template <typename Paint>
std::unique_ptr<TQtBitmap> Picture(int width, int height, Paint paint) {
    auto bitmap = std::make_unique<TQtBitmap>(width, height);
    paint(bitmap->Canvas());
    return bitmap;
}

TCustomLabel* NewLabel(QWidget* parent, const char* name, const char* caption, TColor colour,
                       int left, int top) {
    auto* label = new TCustomLabel(parent);
    label->setObjectName(name);
    label->move(left, top);
    TFont font = label->Font();
    font.Color = colour;
    label->SetFont(font);
    label->SetTransparent(true);
    label->SetCaption(caption);
    return label;
}

} // namespace

TAboutDlg::TAboutDlg(QWidget* owner, TRandomSource random)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint),
      FAnimation(BoxBounds, std::move(random)) {
    setObjectName("AboutDlg");
    setFixedSize(ClientWidth, ClientHeight);
    setAutoFillBackground(true);
    SetColor(clBtnFace);
    BuildControls();
    FCanvas = new TAboutCanvasLayer(this, size());
    FCanvas->raise();
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    installEventFilter(this);
    FormCreate();
}

TAboutDlg::~TAboutDlg() {
    Timer1->stop(); // FormDestroy: the bitmaps go with the animation
}

void TAboutDlg::BuildControls() {
    Image1 = new TImage(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(0, 0, ClientWidth, ClientHeight);
    Image1->SetPicture(Picture(ClientWidth, ClientHeight, [](TCanvas& canvas) {
        DrawAboutBackground(canvas, ClientWidth, ClientHeight);
    }));
    Image1->hide(); // until the box is made

    Image = new TAnimatedImage(this);
    Image->setObjectName("Image");
    Image->setGeometry(92, 102, 32, 32);
    Image->SetGlyph(Picture(AboutFrameCount * AboutFrameSize, AboutFrameSize,
                            [](TCanvas& canvas) { DrawAboutAnimationStrip(canvas); }),
                    AboutFrameCount);
    Image->SetGlyphNum(4);
    Image->SetInterval(83);
    Image->SetTransparent(true);
    Image->SetActive(true);

    Btn = new TVeskSpeedButton(this);
    Btn->setObjectName("Btn");
    Btn->setGeometry(83, 94, 50, 50);
    Btn->SetRadius(25);
    Btn->SetLeftBorder(ctRaised);
    Btn->SetRightBorder(ctRaised);
    Btn->SetFlat(true);
    connect(Btn, &TSpeedButton::OnClick, this, &TAboutDlg::BtnClick);

    Box = new TPaintBox(this);
    Box->setObjectName("Box");
    Box->setGeometry(ToQRect(BoxBounds));
    connect(Box, &TPaintBox::OnPaint, this, &TAboutDlg::BoxPaint);

    lbVersion = new TLabelEffect(this);
    lbVersion->setObjectName("lbVersion");
    lbVersion->setGeometry(6, 5, 204, 25);
    lbVersion->SetAlignment(taCenter);
    lbVersion->SetAutoSize(false);
    lbVersion->SetTransparent(true);
    lbVersion->SetColourHighlight(clSilver);
    lbVersion->SetColourShadow(0x400040);
    lbVersion->SetColourScheme(csCustom);
    TFont font = lbVersion->Font();
    font.Name = "Times New Roman";
    font.Size = 18; // 24 pixels high
    font.Style = fsBold;
    font.Color = clWhite;
    lbVersion->SetFont(font);
    lbVersion->SetCaption("Veskor 1.00");

    Image2 = new TImage(this);
    Image2->setObjectName("Image2");
    Image2->setGeometry(74, 147, 68, 37);
    Image2->SetPicture(Picture(68, 37, [](TCanvas& canvas) { DrawAboutEmblem(canvas); }));
    Image2->SetAutoSize(true);
    Image2->SetCenter(true);
    Image2->SetTransparent(true);

    lbAuthor = NewLabel(this, "lbAuthor", "", clYellow, 22, 34);
    lbAuthor->SetAutoSize(false);
    lbAuthor->resize(171, 13);
    lbAuthor->SetAlignment(taCenter);
    Label2 = NewLabel(this, "Label2", "vesk.example.org", clLime, 47, 48);
    Label3 = NewLabel(this, "Label3", "vesk@example.org", clLime, 45, 61);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, &TAboutDlg::Timer1Timer);
    Timer1->start();
}

// Shaped first, then the version text captured (the background still hidden), then
// the background with its edge.
void TAboutDlg::FormCreate() {
    FRegion = AboutRegion(ClientWidth, ClientHeight);
    setMask(ToQRegion(FRegion));
    CreateBox();
    Image1->show();
    FormPaint();
}

void TAboutDlg::CreateBox() {
    const bool shown = !Image1->isHidden();
    Image1->hide(); // the version text is captured on black alone
    FAnimation.CreateBox(*this);
    Image1->setVisible(shown);
}

void TAboutDlg::FormPaint() {
    Frame(Rect(1, 1, ClientWidth - 1, ClientHeight - 1), clWhite, clGray);
}

void TAboutDlg::Frame(TRect rect, TColor light, TColor dark) {
    vesk::Frame(Image1->Canvas(), rect, light, dark);
    Image1->Invalidate();
}

const QImage& TAboutDlg::CanvasImage() const {
    return FCanvas->Image();
}

void TAboutDlg::SetColor(TColor color) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ToQColor(color));
    setPalette(colours);
}

// Rendered pixel for pixel into an image of the client area's own size, whatever the
// screen's scale, so that the box's rectangle copies from the right place.
std::unique_ptr<TBitmap> TAboutDlg::GetFormImage() {
    QImage pixels(size(), QImage::Format_RGB32);
    pixels.fill(palette().color(QPalette::Window));
    render(&pixels);
    return std::make_unique<TQtBitmap>(pixels);
}

void TAboutDlg::Timer1Timer() {
    Guarded([this] {
        FAnimation.Timer1Timer(Image1->Canvas(), FCanvas->Canvas());
        FCanvas->update(ToQRect(BoxBounds));
    });
}

void TAboutDlg::BoxPaint() {
    Guarded([this] { FAnimation.BoxPaint(Box->Canvas()); });
}

void TAboutDlg::BtnClick() {
    Guarded([this] { close(); });
}

void TAboutDlg::FormKeyDown(int key) {
    Guarded([this, key] {
        if (key == 13 || key == 27)
            close();
    });
}

void TAboutDlg::keyPressEvent(QKeyEvent* event) {
    FormKeyDown(KeyPressCharOf(*event));
}

bool TAboutDlg::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || (widget != this && !isAncestorOf(widget)))
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = widget->mapTo(this, mouse->position().toPoint());
        const QRect b = Btn->geometry();
        if (mouse->button() != Qt::LeftButton ||
            !IsCaptionPoint(Rect(b.left(), b.top(), b.left() + b.width(), b.top() + b.height()),
                            {at.x(), at.y()}))
            return false;
        FDragging = true;
        FDragStart = mouse->globalPosition().toPoint();
        FWindowStart = pos();
        return true;
    }
    case QEvent::MouseMove:
        if (!FDragging)
            return false;
        move(FWindowStart + static_cast<QMouseEvent*>(event)->globalPosition().toPoint() -
             FDragStart);
        return true;
    case QEvent::MouseButtonRelease:
        if (!FDragging || static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        FDragging = false;
        return true;
    default:
        return false;
    }
}

void ExecAboutDlg(TAboutRec rec) {
    TAboutDlg dialog;
    dialog.lbVersion->SetCaption(rec.Version);
    dialog.lbAuthor->SetCaption(rec.Author);
    // The bands shimmer over the version text as captured: captured again with the
    // version handed in, not the one the box was made with.
    dialog.CreateBox();
    dialog.exec();
}

} // namespace vesk
