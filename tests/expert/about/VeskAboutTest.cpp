// The About box as the user meets it: a shaped window, the version text captured and
// banded, the timer composing onto the window, dragging, the keys and the button.
#include "expert/about/VeskAbout.h"
#include "platform/ota/HeadlessHost.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace vesk {
namespace {

class AboutBoxTest : public ::testing::Test {
protected:
    void Show(TAboutDlg& dialog) {
        dialog.Timer1->stop(); // ticks are run by hand here
        dialog.move(300, 200);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
    THeadlessHost FHost; // an error box a handler raised would be recorded here
};

int NonBlack(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0)
                ++count;
    return count;
}

TEST_F(AboutBoxTest, IsABorderlessPennantWithTheLibrarysControls) {
    TAboutDlg dialog;
    EXPECT_EQ(dialog.size(), QSize(215, 291));
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    const QRegion mask = dialog.mask();
    for (QPoint in : {QPoint(10, 10), QPoint(107, 280), QPoint(200, 15)})
        EXPECT_TRUE(mask.contains(in));
    for (QPoint out : {QPoint(1, 1), QPoint(10, 100), QPoint(200, 200)})
        EXPECT_FALSE(mask.contains(out));
    EXPECT_EQ(dialog.Btn->Radius(), 25);
    EXPECT_EQ(dialog.Btn->LeftBorder(), ctRaised);
    EXPECT_TRUE(dialog.Btn->Flat());
    EXPECT_EQ(dialog.lbVersion->ColourScheme(), csCustom);
    EXPECT_EQ(dialog.lbVersion->ColourHighlight(), clSilver);
    EXPECT_EQ(dialog.lbVersion->ColourShadow(), 0x400040u);
    EXPECT_EQ(dialog.lbVersion->Font().Color, clWhite);
    EXPECT_EQ(dialog.lbVersion->Alignment(), taCenter);
    EXPECT_EQ(dialog.Image->NumGlyphs(), 9);
    EXPECT_EQ(dialog.Image->Interval(), 83);
    EXPECT_TRUE(dialog.Image->Active());
    EXPECT_EQ(dialog.Timer1->interval(), 1);
    EXPECT_FALSE(dialog.Image1->isHidden());
    for (const char* name : {"Image1", "Image", "Btn", "Box", "lbVersion", "Image2", "lbAuthor",
                             "Label2", "Label3", "Timer1"})
        EXPECT_NE(dialog.findChild<QObject*>(name), nullptr) << name;
    // The window's colour is the button face again after the capture on black.
    EXPECT_EQ(dialog.palette().color(QPalette::Window), ToQColor(clBtnFace));
}

TEST_F(AboutBoxTest, TheVersionTextIsCapturedOnBlackAsHandedIn) {
    TAboutDlg dialog;
    const QImage design = static_cast<TQtBitmap*>(dialog.Animation().Base())->Image();
    EXPECT_EQ(design.size(), QSize(207, 29));
    EXPECT_EQ(design.pixel(0, 0) & 0xFFFFFF, 0u); // black, not the background picture
    EXPECT_GT(NonBlack(design), 100);             // the letters
    // A shorter version line: captured again, it covers less.
    dialog.lbVersion->SetCaption("V 2");
    dialog.CreateBox();
    const QImage shorter = static_cast<TQtBitmap*>(dialog.Animation().Base())->Image();
    EXPECT_LT(NonBlack(shorter), NonBlack(design));
    EXPECT_FALSE(dialog.Image1->isHidden());
}

TEST_F(AboutBoxTest, ATickComposesTheBandedTextOverThePictureOntoTheWindow) {
    TAboutDlg dialog;
    Show(dialog);
    dialog.Timer1Timer();
    EXPECT_EQ(dialog.Animation().Offset(), 1);
    const QImage& shown = dialog.CanvasImage();
    const QImage& picture = dialog.Image1->Picture()->Image();
    const QImage& base = static_cast<TQtBitmap*>(dialog.Animation().Base())->Image();
    const QImage& frame = static_cast<TQtBitmap*>(dialog.Animation().Buffer())->Image();
    int letters = 0;
    for (int y = 0; y < 29; ++y)
        for (int x = 0; x < 207; ++x) {
            const QRgb at = shown.pixel(x + 4, y + 4);
            if ((base.pixel(x, y) & 0xFFFFFF) == 0) {
                ASSERT_EQ(at, picture.pixel(x + 4, y + 4)) << x << "," << y; // see-through
            } else if ((frame.pixel(x, y) & 0xFFFFFF) != 0) {
                ASSERT_EQ(at, frame.pixel(x, y));
                ++letters;
            }
        }
    EXPECT_GT(letters, 100);
    // Outside the box the window's canvas stays clear.
    EXPECT_EQ(qAlpha(shown.pixel(100, 200)), 0);
    // White letters take the band colour itself (white AND colour).
    bool banded = false;
    for (int y = 0; y < 29 && !banded; ++y)
        for (int x = 0; x < 207 && !banded; ++x)
            if ((base.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF &&
                (frame.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                banded = true;
    EXPECT_TRUE(banded);
    EXPECT_TRUE(FHost.Services().Errors().empty());
}

TEST_F(AboutBoxTest, DraggedByAnyPointOutsideTheButtonsSquare) {
    TAboutDlg dialog;
    Show(dialog);
    const QPoint start = dialog.pos();
    QTest::mousePress(&dialog, Qt::LeftButton, {}, QPoint(30, 10));
    QTest::mouseMove(&dialog, QPoint(70, 40));
    QTest::mouseRelease(&dialog, Qt::LeftButton, {}, QPoint(70, 40));
    EXPECT_EQ(dialog.pos(), start + QPoint(40, 30));

    // On a label, too: the window's hit test comes first.
    const QPoint second = dialog.pos();
    QTest::mousePress(dialog.lbAuthor, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(dialog.lbAuthor, QPoint(15, 5));
    QTest::mouseRelease(dialog.lbAuthor, Qt::LeftButton, {}, QPoint(15, 5));
    EXPECT_EQ(dialog.pos(), second + QPoint(10, 0));

    // Inside the button's square, its corners outside the ring included: no drag.
    const QPoint third = dialog.pos();
    QTest::mousePress(dialog.Btn, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseMove(dialog.Btn, QPoint(60, 60));
    QTest::mouseRelease(dialog.Btn, Qt::LeftButton, {}, QPoint(60, 60)); // off the button
    EXPECT_EQ(dialog.pos(), third);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(AboutBoxTest, TheButtonEnterAndEscCloseItOtherKeysDoNot) {
    {
        TAboutDlg dialog;
        Show(dialog);
        for (Qt::Key key : {Qt::Key_A, Qt::Key_Space, Qt::Key_F1, Qt::Key_Tab})
            QTest::keyClick(&dialog, key);
        EXPECT_TRUE(dialog.isVisible());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    }
    {
        TAboutDlg dialog;
        Show(dialog);
        QTest::keyClick(&dialog, Qt::Key_Return);
        EXPECT_FALSE(dialog.isVisible());
    }
    {
        TAboutDlg dialog;
        Show(dialog);
        QTest::mouseClick(dialog.Btn, Qt::LeftButton, {}, QPoint(25, 25));
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST_F(AboutBoxTest, ExecAboutDlgShowsTheLinesModallyAndEnds) {
    QString version, author;
    bool animated = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TAboutDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        version = QString::fromStdString(dialog->lbVersion->Caption());
        author = QString::fromStdString(dialog->lbAuthor->Caption());
        QTest::qWait(20); // the 1 ms timer runs meanwhile and composes onto the window
        animated = qAlpha(dialog->CanvasImage().pixel(100, 15)) == 255;
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    ExecAboutDlg({"Veskor 2.01", "by A. Author"});
    EXPECT_EQ(version, "Veskor 2.01");
    EXPECT_EQ(author, "by A. Author");
    EXPECT_TRUE(animated);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
} // namespace vesk
