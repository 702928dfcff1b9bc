// One tick of the About box's animation: the banded frame drawn into the 207 x 29
// buffer (the base copied, about ten bands of 29 one-pixel lines in the mask pen
// mode) and composed over the background onto the window's canvas. Timed on the
// animation alone and through the window's timer handler, against the floor of the
// two plain 207 x 29 image copies a tick cannot do without.
//
//   build/bin/bench_about
#include "expert/about/VeskAbout.h"
#include "platform/qt/QtCanvas.h"

#include <QApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

using namespace vesk;

// A window stand-in for the animation: a base with white letters on black.
class TBenchForm : public IAboutForm {
public:
    void SetColor(TColor) override {}
    std::unique_ptr<TBitmap> GetFormImage() override {
        auto image = std::make_unique<TQtBitmap>(215, 291);
        TCanvas& canvas = image->Canvas();
        canvas.SetBrushStyle(TBrushStyle::bsClear);
        TFont font;
        font.Name = "Times New Roman";
        font.Size = 18;
        font.Style = fsBold;
        font.Color = clWhite;
        canvas.SetFont(font);
        canvas.TextOut(30, 5, "Veskor 1.00");
        return image;
    }
};

void BM_AnimationTick(benchmark::State& state) {
    TBenchForm form;
    TAboutAnimation animation(Rect(4, 4, 211, 33));
    animation.CreateBox(form);
    TQtBitmap picture(215, 291);
    TQtBitmap window(215, 291);
    for (auto _ : state)
        animation.Timer1Timer(picture.Canvas(), window.Canvas());
    benchmark::DoNotOptimize(window.Image().constBits());
}
BENCHMARK(BM_AnimationTick)->Unit(benchmark::kMicrosecond);

void BM_WindowTick(benchmark::State& state) {
    TAboutDlg dialog;
    dialog.Timer1->stop(); // the benchmark is the timer
    for (auto _ : state)
        dialog.Timer1Timer();
}
BENCHMARK(BM_WindowTick)->Unit(benchmark::kMicrosecond);

// The floor: the box copied twice as plain images, no bands, no transparency.
void BM_CopyFloor(benchmark::State& state) {
    QImage source(207, 29, QImage::Format_RGB32);
    source.fill(Qt::darkBlue);
    QImage target(215, 291, QImage::Format_RGB32);
    QImage frame(207, 29, QImage::Format_RGB32);
    for (auto _ : state) {
        {
            QPainter painter(&frame);
            painter.drawImage(0, 0, source);
        }
        QPainter painter(&target);
        painter.drawImage(4, 4, frame);
    }
    benchmark::DoNotOptimize(target.constBits());
}
BENCHMARK(BM_CopyFloor)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
