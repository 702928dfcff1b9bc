// The add-in's About box: a borderless window cut to a pennant, the background picture
// with an etched edge along the outline, the version text shimmering with colour bands
// that drift to the right, an animated icon inside a round button, the author line and
// two contact lines. The button, Enter or Esc close it; it is dragged by any point
// outside the button's square. The drawing steps live in TAboutAnimation.
#pragma once

#include "expert/about/VeskAboutEngine.h"
#include "library/effects/LblEffct.h"
#include "library/effects/VeskButton.h"
#include "platform/qt/CustomLabel.h"
#include "platform/qt/ExtCtrls.h"

#include <QDialog>
#include <QTimer>

#include <memory>
#include <string>

namespace vesk {

// The two lines handed to the box.
struct TAboutRec {
    std::string Version;
    std::string Author;
};

class TAboutCanvasLayer;

class TAboutDlg : public QDialog, private IAboutForm {
    Q_OBJECT

public:
    static constexpr int ClientWidth = 215;
    static constexpr int ClientHeight = 291;

    // Parentless, as a window of the application; shaped and animated from the start.
    // Random gives the band colours (new ones each showing, unless a picture wants the
    // same ones every time).
    explicit TAboutDlg(QWidget* owner = nullptr, TRandomSource random = NewRandomSource());
    ~TAboutDlg() override;

    // The controls, in their order of stacking (later ones above).
    TImage* Image1;
    TAnimatedImage* Image;
    TVeskSpeedButton* Btn;
    TPaintBox* Box;
    TLabelEffect* lbVersion;
    TImage* Image2;
    TCustomLabel* lbAuthor;
    TCustomLabel* Label2;
    TCustomLabel* Label3;
    QTimer* Timer1;

    TAboutAnimation& Animation() { return FAnimation; }
    // The window's shape, as given to the window system.
    const TRegion& Region() const { return FRegion; }
    // What the window shows of its own canvas (drawn on by the timer), for pictures.
    const QImage& CanvasImage() const;

    void Frame(TRect rect, TColor light, TColor dark);
    void FormPaint();
    void CreateBox();

public slots:
    void Timer1Timer();
    void BoxPaint();
    void BtnClick();
    // Enter (13) and Esc (27) close the box; other keys do nothing.
    void FormKeyDown(int key);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Presses on the window and its controls pass the window's hit test first: outside
    // the button's square they drag the window.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void BuildControls();
    void SetColor(TColor color) override;
    std::unique_ptr<TBitmap> GetFormImage() override;

    TAboutAnimation FAnimation;
    TRegion FRegion;
    TAboutCanvasLayer* FCanvas;
    bool FDragging = false;
    QPoint FDragStart; // the pointer's screen position where the drag began
    QPoint FWindowStart;
};

// Shows the About box with the version and author lines, modally, and frees it.
void ExecAboutDlg(TAboutRec rec);

} // namespace vesk
