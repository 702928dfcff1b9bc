#include "platform/qt/QtCanvas.h"

#include "platform/graphics/Raster.h"
#include "platform/graphics/TextLayout.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

namespace vesk {

namespace {

QString FromBytes(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// Saves the painter's state and restores it when the drawing call ends.
class TPainterState {
public:
    explicit TPainterState(QPainter& painter) : FPainter(painter) { FPainter.save(); }
    ~TPainterState() { FPainter.restore(); }
    TPainterState(const TPainterState&) = delete;
    TPainterState& operator=(const TPainterState&) = delete;

private:
    QPainter& FPainter;
};

} // namespace

QColor ToQColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

QFont ToQFont(const TFont& font) {
    QFont result(QString::fromStdString(font.Name));
    result.setPixelSize(std::max(1, FontPixelHeight(font)));
    result.setBold(font.Style & fsBold);
    result.setItalic(font.Style & fsItalic);
    result.setUnderline(font.Style & fsUnderline);
    result.setStrikeOut(font.Style & fsStrikeOut);
    result.setStyleStrategy(QFont::NoAntialias);
    return result;
}

QRegion ToQRegion(const TRegion& region) {
    QRegion result;
    for (const TRect& r : region.Rects())
        result += QRect(r.Left, r.Top, r.Width(), r.Height());
    return result;
}

TQtCanvas::TQtCanvas(QPainter& painter) : FPainter(painter) {}

// Pixels set straight into the image the painter paints on, when nothing the painter
// would add (a transformation other than a shift, clipping, opacity) is in force and
// the image's buffer is its own (a shared one would part from the painter's).
bool TQtCanvas::DrawPixelsDirectly(const std::vector<TPoint>& pixels) {
    QImage* image = TargetImage();
    if (!image || !image->isDetached() || FPainter.hasClipping() || FPainter.opacity() != 1.0)
        return false;
    if (image->format() != QImage::Format_RGB32 &&
        image->format() != QImage::Format_ARGB32_Premultiplied)
        return false;
    const QTransform& transform = FPainter.worldTransform();
    if (transform.type() > QTransform::TxTranslate)
        return false;
    const int dx = int(transform.dx());
    const int dy = int(transform.dy());
    if (dx != transform.dx() || dy != transform.dy())
        return false;
    const QRgb colour = ToQColor(Pen().Color).rgb(); // opaque
    const bool mask = Pen().Mode == TPenMode::pmMask;
    const int width = image->width();
    const int height = image->height();
    uchar* bits = image->bits();
    const qsizetype stride = image->bytesPerLine();
    for (const TPoint& p : pixels) {
        const int x = p.X + dx;
        const int y = p.Y + dy;
        if (x < 0 || y < 0 || x >= width || y >= height)
            continue;
        QRgb& pixel = reinterpret_cast<QRgb*>(bits + y * stride)[x];
        pixel = mask ? (pixel & colour) : colour;
    }
    return true;
}

void TQtCanvas::DrawPixels(const std::vector<TPoint>& pixels) {
    if (pixels.empty() || DrawPixelsDirectly(pixels))
        return;
    TPainterState state(FPainter);
    FPainter.setRenderHint(QPainter::Antialiasing, false);
    if (Pen().Mode == TPenMode::pmMask)
        FPainter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    QPen pen(ToQColor(Pen().Color));
    pen.setWidth(1);
    pen.setCosmetic(true);
    FPainter.setPen(pen);
    QPolygon points;
    points.reserve(qsizetype(pixels.size()));
    for (const TPoint& p : pixels)
        points << QPoint(p.X, p.Y);
    FPainter.drawPoints(points);
}

void TQtCanvas::LineTo(int x, int y) {
    DrawPixels(LinePixels(PenPos(), {x, y}));
    SetPenPos({x, y});
}

void TQtCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    DrawPixels(ArcPixels(x1, y1, x2, y2, x3, y3, x4, y4));
}

void TQtCanvas::Polygon(const std::vector<TPoint>& points) {
    if (points.empty())
        return;
    if (Brush().Style == TBrushStyle::bsSolid) {
        TPainterState state(FPainter);
        FPainter.setRenderHint(QPainter::Antialiasing, false);
        FPainter.setPen(Qt::NoPen);
        FPainter.setBrush(ToQColor(Brush().Color));
        QPolygon polygon;
        for (const TPoint& p : points)
            polygon << QPoint(p.X, p.Y);
        FPainter.drawPolygon(polygon, Qt::OddEvenFill);
    }
    // The outline: each edge leaves out its end point, which the next edge begins with.
    std::vector<TPoint> outline;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const std::vector<TPoint> edge = LinePixels(points[i], points[(i + 1) % points.size()]);
        outline.insert(outline.end(), edge.begin(), edge.end());
    }
    if (points.size() == 1)
        outline.push_back(points.front());
    DrawPixels(outline);
}

void TQtCanvas::FillRect(const TRect& rect) {
    if (Brush().Style == TBrushStyle::bsClear || rect.Width() <= 0 || rect.Height() <= 0)
        return;
    FPainter.fillRect(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()),
                      ToQColor(Brush().Color));
}

void TQtCanvas::TextOut(int x, int y, std::string_view text) {
    const QFont font = ToQFont(Font());
    const QFontMetrics metrics(font);
    const QString string = FromBytes(text);
    TPainterState state(FPainter);
    FPainter.translate(x, y);
    if (Font().Escapement != 0)
        FPainter.rotate(-Font().Escapement / 10.0);
    if (Brush().Style == TBrushStyle::bsSolid)
        FPainter.fillRect(QRect(0, 0, metrics.horizontalAdvance(string), metrics.height()),
                          ToQColor(Brush().Color));
    FPainter.setFont(font);
    FPainter.setPen(ToQColor(Font().Color));
    FPainter.drawText(QPoint(0, metrics.ascent()), string);
}

int TQtCanvas::TextWidth(std::string_view text) {
    return QFontMetrics(ToQFont(Font())).horizontalAdvance(FromBytes(text));
}

int TQtCanvas::TextHeight(std::string_view) {
    return QFontMetrics(ToQFont(Font())).height();
}

int TQtCanvas::DrawText(std::string_view text, TRect& rect, unsigned flags) {
    const QFont font = ToQFont(Font());
    const QFontMetrics metrics(font);
    const TTextLayout layout = LayoutText(
        text, rect, flags,
        [&](std::string_view piece) { return metrics.horizontalAdvance(FromBytes(piece)); },
        metrics.height());
    if (flags & DT_CALCRECT) {
        rect.Right = rect.Left + layout.Width;
        rect.Bottom = rect.Top + layout.Height;
        return layout.Height;
    }
    TPainterState state(FPainter);
    if (!(flags & DT_NOCLIP))
        FPainter.setClipRect(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()),
                             FPainter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    FPainter.setFont(font);
    const QColor colour = ToQColor(Font().Color);
    FPainter.setPen(colour);
    for (const TTextLine& line : layout.Lines) {
        if (Brush().Style == TBrushStyle::bsSolid)
            FPainter.fillRect(QRect(line.X, line.Y, line.Width, metrics.height()),
                              ToQColor(Brush().Color));
        for (const TTextSegment& segment : line.Segments)
            FPainter.drawText(QPoint(line.X + segment.X, line.Y + metrics.ascent()),
                              FromBytes(segment.Text));
        if (line.UnderlineWidth > 0)
            FPainter.fillRect(QRect(line.X + line.UnderlineX,
                                    line.Y + metrics.ascent() + metrics.underlinePos(),
                                    line.UnderlineWidth, std::max(1, metrics.lineWidth())),
                              colour);
    }
    return layout.Height;
}

// Bitmaps

namespace {

TColor FromQRgb(QRgb rgb) {
    return RGB(std::uint8_t(qRed(rgb)), std::uint8_t(qGreen(rgb)), std::uint8_t(qBlue(rgb)));
}

} // namespace

QImage ImageWithoutColour(const QImage& image, TColor key) {
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb keyRgb = ToQColor(key).rgb() & RGB_MASK;
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            if ((line[x] & RGB_MASK) == keyRgb)
                line[x] = 0;
    }
    return result;
}

QImage* TQtCanvas::TargetImage() const {
    QPaintDevice* device = FPainter.device();
    if (!device || device->devType() != QInternal::Image)
        return nullptr;
    return static_cast<QImage*>(device);
}

void TQtCanvas::Draw(int x, int y, TBitmap& bitmap) {
    const auto* picture = dynamic_cast<const TQtBitmap*>(&bitmap);
    if (!picture)
        throw EInvalidGraphic("Only a bitmap of a Qt canvas can be drawn on a Qt canvas");
    TPainterState state(FPainter);
    FPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (bitmap.Transparent())
        FPainter.drawImage(
            x, y, ImageWithoutColour(picture->Image(), picture->ResolvedTransparentColor()));
    else
        FPainter.drawImage(x, y, picture->Image());
}

void TQtCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& src) {
    const auto* from = dynamic_cast<const TQtCanvas*>(&source);
    const QImage* image = from ? from->TargetImage() : nullptr;
    if (!image)
        throw EInvalidGraphic("CopyRect needs a Qt canvas that paints on an image");
    if (dest.Width() == 0 || dest.Height() == 0 || src.Width() == 0 || src.Height() == 0)
        return;
    // A copy first: the source may be this very canvas, and parts outside the image
    // come out black.
    const QRect srcRect(std::min(src.Left, src.Right), std::min(src.Top, src.Bottom),
                        std::abs(src.Width()), std::abs(src.Height()));
    QImage pixels = image->copy(srcRect);
    pixels = pixels.mirrored(src.Width() < 0, src.Height() < 0);
    const bool flipX = dest.Width() < 0;
    const bool flipY = dest.Height() < 0;
    const QRect destRect(std::min(dest.Left, dest.Right), std::min(dest.Top, dest.Bottom),
                         std::abs(dest.Width()), std::abs(dest.Height()));
    TPainterState state(FPainter);
    FPainter.setCompositionMode(QPainter::CompositionMode_Source);
    FPainter.drawImage(destRect, pixels.mirrored(flipX, flipY));
}

std::unique_ptr<TBitmap> TQtCanvas::CreateBitmap(int width, int height) {
    return std::make_unique<TQtBitmap>(width, height);
}

TQtBitmap::TQtBitmap(int width, int height) {
    if (width < 1 || height < 1)
        throw EInvalidGraphic("A bitmap must be at least 1 x 1 pixels, not " +
                              std::to_string(width) + " x " + std::to_string(height));
    FImage = QImage(width, height, QImage::Format_RGB32);
    FImage.fill(Qt::black);
}

TQtBitmap::TQtBitmap(const QImage& image) {
    if (image.isNull())
        throw EInvalidGraphic("A bitmap must be at least 1 x 1 pixels, not 0 x 0");
    FImage = image.convertToFormat(QImage::Format_RGB32);
}

TQtBitmap::~TQtBitmap() {
    FCanvas.reset();
    if (FPainter.isActive())
        FPainter.end();
}

TQtCanvas& TQtBitmap::Canvas() {
    if (!FCanvas) {
        FPainter.begin(&FImage);
        FCanvas = std::make_unique<TQtCanvas>(FPainter);
    }
    return *FCanvas;
}

TColor TQtBitmap::ResolvedTransparentColor() const {
    if (TransparentColor() != clDefault)
        return ColorToRGB(TransparentColor());
    return FromQRgb(FImage.pixel(0, FImage.height() - 1));
}

} // namespace vesk
