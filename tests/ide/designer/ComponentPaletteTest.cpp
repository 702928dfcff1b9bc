#include "ide/designer/ComponentPalette.h"
#include "ide/form/FormView.h"
#include "library/package/VeskPackage.h"
#include "platform/design/Palette.h"

#include <QAbstractButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace vesk {
namespace {

const char* const VeskClasses[] = {"TVeskDBTreeView", "TLabelEffect", "TVeskSpeedButton",
                                   "TVeskFastTime", "TEncryption"};

QStringList Tabs(const QTabWidget& tabs) {
    QStringList out;
    for (int i = 0; i < tabs.count(); ++i)
        out << tabs.tabText(i);
    return out;
}

class ComponentPaletteTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterVeskPackage(); }
    void TearDown() override { UnregisterVeskPackage(); }
};

TEST_F(ComponentPaletteTest, ThePagesOfTheRegistryWithTheLibrarysClassesOnVesk) {
    TComponentPalette palette;
    const QStringList tabs = Tabs(palette);
    EXPECT_EQ(tabs.first(), "Standard"); // the host's pages first, in their order
    EXPECT_LT(tabs.indexOf("Data Access"), tabs.indexOf("Data Controls"));
    ASSERT_TRUE(tabs.contains("Vesk"));
    QWidget* vesk = palette.widget(tabs.indexOf("Vesk"));
    const auto buttons = vesk->findChildren<QAbstractButton*>();
    ASSERT_EQ(buttons.size(), 6); // the pointer and the five classes
    EXPECT_EQ(buttons[0]->objectName(), "Pointer");
    // Each class has its own picture: no two alike, none empty.
    std::vector<QImage> pictures;
    for (const char* name : VeskClasses) {
        QAbstractButton* b = palette.ButtonOf(name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->parentWidget(), vesk);
        QImage image = b->icon().pixmap(24, 24).toImage();
        EXPECT_FALSE(image.isNull());
        for (const QImage& other : pictures)
            EXPECT_NE(image, other) << name;
        pictures.push_back(image);
    }
    EXPECT_EQ(palette.ButtonOf("TLabelEffect")->toolTip(), "LabelEffect");
    ASSERT_NE(palette.ButtonOf("TTable"), nullptr);
    palette.setCurrentIndex(tabs.indexOf("Vesk"));
    palette.resize(420, 60);
    palette.show();
    palette.grab().save(QString(VESK_BINARY_DIR) + "/component-palette.png");
}

TEST_F(ComponentPaletteTest, APickedClassIsDroppedByTheNextClickOnTheFormAndThePointerComesBack) {
    auto form = TFormFile::Parse("object F: TForm1\n  Width = 320\n  Height = 200\nend\n");
    TFormView view(*form);
    view.resize(400, 300);
    view.show();
    TComponentPalette palette;
    palette.Attach(&view);
    QSignalSpy picked(&palette, &TComponentPalette::classPicked);
    QTest::mouseClick(palette.ButtonOf("TVeskDBTreeView"), Qt::LeftButton);
    ASSERT_NE(palette.Picked(), nullptr);
    EXPECT_EQ(palette.Picked()->ClassName(), "TVeskDBTreeView");
    EXPECT_EQ(view.DropClass(), palette.Picked());
    QTest::mouseClick(view.findChild<QWidget*>("FormSurface"), Qt::LeftButton, {}, QPoint(24, 16));
    TComponent* tree = form->Root()->FindComponent("VeskDBTreeView1");
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->GetInt("Left"), 24);
    // Its own size as a control on a form, not a window's.
    EXPECT_LT(tree->GetInt("Width"), 320);
    EXPECT_LT(tree->GetInt("Height"), 200);
    EXPECT_EQ(palette.Picked(), nullptr);
    EXPECT_TRUE(palette.ButtonOf("TVeskDBTreeView")->isChecked() == false);
    EXPECT_EQ(picked.count(), 2);
    // Escape gives up a pick: the pointer is down again, the click selects.
    QTest::mouseClick(palette.ButtonOf("TLabelEffect"), Qt::LeftButton);
    ASSERT_NE(view.DropClass(), nullptr);
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(palette.Picked(), nullptr);
    EXPECT_EQ(view.DropClass(), nullptr);
    // The next click selects.
    QTest::mouseClick(view.findChild<QWidget*>("FormSurface"), Qt::LeftButton, {},
                      QPoint(300, 190));
    EXPECT_EQ(form->Root()->ComponentCount(), 1);
    EXPECT_EQ(view.Selected(), form->Root());
}

TEST_F(ComponentPaletteTest, UnloadingThePackageTakesItsPageAwayAtRefresh) {
    TComponentPalette palette;
    palette.setCurrentIndex(Tabs(palette).indexOf("Data Access"));
    QTest::mouseClick(palette.ButtonOf("TLabelEffect"), Qt::LeftButton);
    ASSERT_NE(palette.Picked(), nullptr);
    QSignalSpy picked(&palette, &TComponentPalette::classPicked);
    UnregisterVeskPackage();
    palette.Refresh();
    EXPECT_FALSE(Tabs(palette).contains("Vesk"));
    EXPECT_EQ(palette.ButtonOf("TLabelEffect"), nullptr);
    EXPECT_EQ(palette.Picked(), nullptr); // a class no longer offered is not dropped
    EXPECT_EQ(picked.count(), 1);
    EXPECT_EQ(palette.tabText(palette.currentIndex()), "Data Access"); // the page shown stays
    RegisterVeskPackage();
    palette.Refresh();
    EXPECT_TRUE(Tabs(palette).contains("Vesk"));
    EXPECT_NE(palette.ButtonOf("TEncryption"), nullptr);
}

} // namespace
} // namespace vesk
