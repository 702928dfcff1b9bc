// The placement routines and the key filter on real widgets, through the Qt adapters.
#include "expert/frame/VeskCommon.h"
#include "platform/qt/FormAdapters.h"
#include "platform/registry/Registry.h"
#include "tests/library/utility/ScratchDir.h"

#include <QDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>

namespace vesk {
namespace {

class FrameWidgetTest : public test::ScratchDir {
protected:
    void SetUp() override {
        ScratchDir::SetUp();
        ::setenv("VESK_REGISTRY", Path("registry.reg").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("VESK_REGISTRY");
        ScratchDir::TearDown();
    }
};

TEST_F(FrameWidgetTest, AStoredPlacementPutsTheWindowBackWhereItWas) {
    QDialog first;
    first.setObjectName("MNavExpDlg");
    first.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&first));
    TQtFormBounds bounds(&first);
    bounds.SetLeft(100);
    bounds.SetTop(50);
    bounds.SetWidth(300);
    bounds.SetHeight(200);
    EXPECT_EQ(first.frameGeometry(), QRect(100, 50, 300, 200));
    EXPECT_NE(first.geometry().size(), first.frameGeometry().size()); // the frame counts
    WriteFormPlacement(bounds, VeskRegistryRoot);
    {
        TRegistry reg;
        reg.OpenKey(VeskRegistryRoot, false);
        EXPECT_EQ(reg.ReadString("MNavExpDlgFormPlacement"), "50 100 200 300");
    }

    QDialog second; // restored before it is shown, as a window is when it is created
    second.setObjectName("MNavExpDlg");
    TQtFormBounds restored(&second);
    ReadFormPlacement(restored, VeskRegistryRoot);
    EXPECT_EQ(restored.Height(), 200);
    second.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&second));
    EXPECT_EQ(second.frameGeometry(), QRect(100, 50, 300, 200));

    // Off the screen's edge it is stored and put back as it was.
    bounds.SetLeft(-4);
    bounds.SetTop(-4);
    WriteFormPosition(bounds, VeskRegistryRoot);
    ReadFormPosition(restored, VeskRegistryRoot);
    EXPECT_EQ(second.frameGeometry().topLeft(), QPoint(-4, -4));
    EXPECT_EQ(restored.Name(), "MNavExpDlg");

    restored.Close();
    EXPECT_FALSE(second.isVisible());
}

TEST_F(FrameWidgetTest, TheKeyFilterTypesIntoALineEditAsTheUserWould) {
    QLineEdit line;
    TQtEditBox edit(&line);
    QSignalSpy changes(&line, &QLineEdit::textChanged);

    line.setText("xyz");
    edit.SetSelStart(1);
    edKeyChar('a', edit);
    EXPECT_EQ(edit.Text(), "xayz");
    EXPECT_EQ(edit.SelStart(), 2);

    line.setText("xyz");
    line.setSelection(1, 1);
    EXPECT_EQ(edit.SelStart(), 1);
    EXPECT_EQ(edit.SelLength(), 1);
    edKeyChar('a', edit);
    EXPECT_EQ(edit.Text(), "xaz");
    EXPECT_EQ(edit.SelStart(), 2);
    EXPECT_EQ(edit.SelLength(), 0);

    line.setText("xyz");
    line.setSelection(1, 2);
    changes.clear();
    edKeyChar(8, edit); // backspace over a selection: two changes, the blank between
    EXPECT_EQ(edit.Text(), "x");
    EXPECT_EQ(edit.SelStart(), 1);
    EXPECT_EQ(changes.count(), 2);

    line.setText("xyz");
    edit.SetSelStart(0);
    changes.clear();
    edKeyChar(8, edit);
    EXPECT_EQ(edit.Text(), "xyz");
    EXPECT_EQ(edit.SelStart(), 0);
    EXPECT_EQ(changes.count(), 0);

    // Positions are bytes of the UTF-8 text: "é" takes two.
    line.setText(QString::fromUtf8("\xC3\xA9t\xC3\xA9"));
    line.setSelection(1, 1); // "t"
    EXPECT_EQ(edit.SelStart(), 2);
    EXPECT_EQ(edit.SelLength(), 1);
    edit.SetSelStart(3);
    edit.SetSelLength(2);
    EXPECT_EQ(line.selectedText(), QString::fromUtf8("\xC3\xA9"));
    edKeyChar('!', edit);
    EXPECT_EQ(edit.Text(), "\xC3\xA9t!");
}

} // namespace
} // namespace vesk
