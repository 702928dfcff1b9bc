#include "expert/about/VeskAboutEngine.h"

#include "library/effects/RoundFrame.h"
#include "platform/rtl/SysUtils.h"

#include <random>

namespace vesk {

TRegion AboutRegion(int width, int height) {
    TRegion a = TRegion::CreateRoundRectRgn(0, 0, width, 40, 40, 40);
    const TRegion b = TRegion::CreateRectRgn(0, 0, width, 20);
    const TRegion c = TRegion::CreatePolygonRgn({{0, 20}, {width / 2, height}, {width, 20}},
                                                TPolyFillMode::WINDING);
    a = TRegion::CombineRgn(a, b, TCombineMode::RGN_AND);
    return TRegion::CombineRgn(a, c, TCombineMode::RGN_OR);
}

void Frame(TCanvas& canvas, TRect rect, TColor light, TColor dark) {
    auto topLeftArc = [&](const TRect& r) {
        canvas.Arc(r.Left, r.Top, r.Left + 40, r.Top + 40, r.Left + 20, r.Top, r.Left, r.Top + 20);
    };
    auto topRightArc = [&](const TRect& r) {
        canvas.Arc(r.Right - 40, r.Top, r.Right, r.Top + 40, r.Right, r.Top + 20, r.Right - 20,
                   r.Top);
    };
    auto line = [&](int x1, int y1, int x2, int y2) {
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    };

    int m = (rect.Left + rect.Right) / 2;
    canvas.SetPenColor(light);
    topLeftArc(rect);
    line(rect.Left, 20, m, rect.Bottom);
    line(20, rect.Top, rect.Right - 20, rect.Top);
    canvas.SetPenColor(dark);
    topRightArc(rect);
    line(rect.Right, rect.Top + 20, m, rect.Bottom);

    InflateRect(rect, -1, -1);
    m = (rect.Left + rect.Right) / 2;
    canvas.SetPenColor(dark);
    topLeftArc(rect);
    line(rect.Left, 20, m, rect.Bottom - 2);
    line(20, rect.Top, rect.Right - 20, rect.Top);
    canvas.SetPenColor(light);
    topRightArc(rect);
    line(rect.Right - 1, rect.Top + 20, m, rect.Bottom - 2);
}

bool IsCaptionPoint(const TRect& button, TPoint point) {
    const TRect client = Rect(0, 0, button.Width(), button.Height());
    return !PointInClientRect(client, {point.X - button.Left, point.Y - button.Top});
}

std::vector<TBand> FrameBands(int offset, int step, int width, int height) {
    const int x0 = -height - step;
    std::vector<TBand> bands{{x0, offset, 1}};
    if (step <= 0)
        return bands; // a box narrower than 7 pixels has no room for bands
    int k = 1;
    for (int x = x0 + offset; x < width; x += step)
        bands.push_back({x, step, ++k});
    return bands;
}

TRandomSource SeededRandomSource(unsigned seed) {
    auto engine = std::make_shared<std::mt19937>(seed);
    return
        [engine](int range) { return std::uniform_int_distribution<int>(0, range - 1)(*engine); };
}

TRandomSource NewRandomSource() {
    return SeededRandomSource(std::random_device{}());
}

TAboutAnimation::TAboutAnimation(const TRect& box, TRandomSource random)
    : FBox(box), FRandom(std::move(random)) {}

namespace {

// Puts the window's colour back however the capture ends.
class TColorRestore {
public:
    explicit TColorRestore(IAboutForm& form) : FForm(form) {}
    ~TColorRestore() {
        try {
            FForm.SetColor(clBtnFace);
        } catch (...) {
            // A colour that cannot be set back must not hide the error that got here.
        }
    }
    TColorRestore(const TColorRestore&) = delete;
    TColorRestore& operator=(const TColorRestore&) = delete;

private:
    IAboutForm& FForm;
};

} // namespace

void TAboutAnimation::CreateBox(IAboutForm& form) {
    FCreating = true;
    {
        TColorRestore restore(form);
        form.SetColor(clBlack);
        const std::unique_ptr<TBitmap> image = form.GetFormImage();
        TCanvas& canvas = image->Canvas();
        FBase = canvas.CreateBitmap(FBox.Width(), FBox.Height());
        FBuffer = canvas.CreateBitmap(FBox.Width(), FBox.Height());
        FBase->Canvas().CopyRect(Rect(0, 0, FBox.Width(), FBox.Height()), canvas, FBox);
    }
    FOffset = 0;
    FStep = FBox.Width() / 7;
    for (int i = 1; i <= ColorCount; ++i)
        NewColor(i);
    Draw();
    FCreating = false;
}

void TAboutAnimation::NewColor(int index) {
    const int blue = 64 + FRandom(192);
    const int green = 64 + FRandom(192);
    const int red = 64 + FRandom(192);
    FColors.at(static_cast<std::size_t>(index)) =
        RGB(std::uint8_t(red), std::uint8_t(green), std::uint8_t(blue));
}

TColor TAboutAnimation::Colors(int index) const {
    if (index < 1 || index > ColorCount)
        throw ERangeError("Band colour " + IntToStr(index) + " is not from 1 to 255");
    return FColors[static_cast<std::size_t>(index)];
}

void TAboutAnimation::DrawBand(const TBand& band) {
    if (band.ColorIndex > ColorCount)
        return;
    TCanvas& canvas = FBuffer->Canvas();
    canvas.SetPenColor(FColors[static_cast<std::size_t>(band.ColorIndex)]);
    const int last = FBuffer->Width() - 1;
    for (int j = 0; j < band.Width && band.X + j <= last; ++j) {
        canvas.MoveTo(band.X + j, 0);
        canvas.LineTo(band.X + j + band.Width, FBuffer->Height());
    }
}

void TAboutAnimation::Draw() {
    if (!FBuffer)
        return; // nothing captured yet
    TCanvas& canvas = FBuffer->Canvas();
    canvas.Draw(0, 0, *FBase);
    canvas.SetPenMode(TPenMode::pmMask);
    for (const TBand& band : FrameBands(FOffset, FStep, FBuffer->Width(), FBase->Height()))
        DrawBand(band);
}

void TAboutAnimation::Advance() {
    if (++FOffset < FStep)
        return;
    for (int i = ColorCount; i >= 2; --i)
        FColors[static_cast<std::size_t>(i)] = FColors[static_cast<std::size_t>(i - 1)];
    NewColor(1);
    FOffset = 0;
}

void TAboutAnimation::Timer1Timer(TCanvas& picture, TCanvas& formCanvas) {
    if (!FBuffer)
        return;
    Draw();
    Advance();
    const int width = FBox.Width();
    const int height = FBox.Height();
    const std::unique_ptr<TBitmap> frame = formCanvas.CreateBitmap(width, height);
    frame->Canvas().CopyRect(Rect(0, 0, width, height), picture, FBox);
    FBuffer->SetTransparent(true);
    FBuffer->SetTransparentColor(clBlack);
    frame->Canvas().Draw(0, 0, *FBuffer);
    formCanvas.Draw(FBox.Left, FBox.Top, *frame);
}

void TAboutAnimation::BoxPaint(TCanvas& boxCanvas) {
    if (!FCreating && FBuffer)
        boxCanvas.Draw(0, 0, *FBuffer);
}

} // namespace vesk
