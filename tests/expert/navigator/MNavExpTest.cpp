// The Method Navigator window on real widgets, driven with QTest against the headless
// host's editor.
#include "expert/navigator/MNavExp.h"

#include "expert/frame/ComExp.h"
#include "expert/frame/VeskCommon.h"
#include "platform/ota/HeadlessHost.h"
#include "tests/library/utility/ScratchDir.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <cstdlib>

namespace vesk {
namespace {

using Strings = std::vector<std::string>;

const char* const MainUnit = "unit Main;\n"                                            // 1
                             "interface\n"                                             // 2
                             "type\n"                                                  // 3
                             "  TMainForm = class(TForm)\n"                            // 4
                             "    procedure FormCreate(Sender: TObject);\n"            // 5
                             "    procedure btnOkClick(Sender: TObject);\n"            // 6
                             "    procedure BtnCancelClick(Sender: TObject);\n"        // 7
                             "    procedure lbItemsDblClick(Sender: TObject);\n"       // 8
                             "  end;\n"                                                // 9
                             "procedure Register;\n"                                   // 10
                             "implementation\n"                                        // 11
                             "procedure TMainForm.FormCreate(Sender: TObject);\n"      // 12
                             "begin\n"                                                 // 13
                             "  Caption := 'Main';\n"                                  // 14
                             "end;\n"                                                  // 15
                             "procedure TMainForm.btnOkClick(Sender: TObject);\n"      // 16
                             "begin\n"                                                 // 17
                             "  ModalResult := mrOk;\n"                                // 18
                             "end;\n"                                                  // 19
                             "procedure TMainForm.BtnCancelClick(Sender: TObject);\n"  // 20
                             "begin\n"                                                 // 21
                             "  Close;\n"                                              // 22
                             "end;\n"                                                  // 23
                             "procedure TMainForm.lbItemsDblClick(Sender: TObject);\n" // 24
                             "begin\n"                                                 // 25
                             "  btnOkClick(Sender);\n"                                 // 26
                             "end;\n"                                                  // 27
                             "procedure Register;\n"                                   // 28
                             "begin\n"                                                 // 29
                             "end;\n"                                                  // 30
                             "end.\n";                                                 // 31

const Strings AllMethods{"TMainForm.FormCreate", "TMainForm.btnOkClick", "TMainForm.BtnCancelClick",
                         "TMainForm.lbItemsDblClick", "Register"};

Strings Shown(const TMNavExpDlg& dialog) {
    Strings names;
    const QAbstractItemModel* model = dialog.lbMethod->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names.push_back(model->index(row, 0).data().toString().toStdString());
    return names;
}

class MNavExpTest : public test::ScratchDir {
protected:
    void SetUp() override {
        ScratchDir::SetUp();
        ::setenv("VESK_REGISTRY", Path("registry.reg").c_str(), 1);
        FUnit = Path("Main.pas");
        Write(FUnit, MainUnit);
        FHost.OpenModule(FUnit);
        FHost.SetCurrentFile(FUnit);
    }
    void TearDown() override {
        DestroyMNavExpDlg();
        ::unsetenv("VESK_REGISTRY");
        ScratchDir::TearDown();
    }

    // A new window, shown and exposed, as the menu opens it (there modally).
    QPointer<TMNavExpDlg> Open() {
        QPointer<TMNavExpDlg> dialog = new TMNavExpDlg;
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog));
        return dialog;
    }
    // True when the window closed and freed itself.
    static bool Gone(const QPointer<TMNavExpDlg>& dialog) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return dialog.isNull();
    }
    static std::string Placement() {
        TRegistry reg;
        reg.OpenKey(VeskRegistryRoot, false);
        return reg.ReadString("MNavExpDlgFormPlacement");
    }

    THeadlessHost FHost;
    std::string FUnit;
};

TEST_F(MNavExpTest, OpeningShowsEveryMethodWithTheFirstSelected) {
    auto dialog = Open();
    EXPECT_EQ(MNavExpDlg, dialog.data());
    EXPECT_EQ(dialog->windowTitle(), "Method Navigator");
    EXPECT_EQ(Shown(*dialog), AllMethods);
    EXPECT_EQ(dialog->ItemIndex(), 0);
    EXPECT_EQ(dialog->edFilter->text(), "");
    for (const char* name : {"plSearch", "plEd", "edFilter", "plList", "lbMethod"})
        EXPECT_NE(dialog->findChild<QWidget*>(name), nullptr) << name;
    EXPECT_TRUE(dialog->windowFlags() & Qt::Tool);
    EXPECT_FALSE(dialog->StayOnTop1->isChecked());
    // Nothing stored: the window's own bounds, frame included.
    EXPECT_EQ(dialog->frameGeometry(), QRect(606, 67, 186, 395));
    // The filter follows its panel's width.
    dialog->resize(300, 300);
    EXPECT_EQ(dialog->edFilter->width(), dialog->plEd->width() - 4);
    EXPECT_EQ(dialog->edFilter->geometry().topLeft(), QPoint(2, 4));
}

TEST_F(MNavExpTest, TypingInTheFilterOrInTheListNarrowsTheList) {
    auto dialog = Open();
    QTest::keyClicks(dialog->edFilter, "btn");
    const Strings buttons{"TMainForm.btnOkClick", "TMainForm.BtnCancelClick"};
    EXPECT_EQ(Shown(*dialog), buttons);
    EXPECT_EQ(dialog->ItemIndex(), 0);
    EXPECT_EQ(dialog->edFilter->cursorPosition(), 3);

    dialog->edFilter->clear();
    EXPECT_EQ(Shown(*dialog), AllMethods);
    dialog->SetItemIndex(3);
    dialog->lbMethod->setFocus();
    QTest::keyClicks(dialog->lbMethod, "btn");
    EXPECT_EQ(dialog->edFilter->text(), "btn");
    EXPECT_EQ(Shown(*dialog), buttons);
    EXPECT_EQ(dialog->ItemIndex(), 0);
    EXPECT_EQ(dialog->focusWidget(), dialog->edFilter);
    EXPECT_EQ(dialog->edFilter->cursorPosition(), 3);
    EXPECT_FALSE(dialog->edFilter->hasSelectedText());

    // Backspace in the list takes the letter before the caret.
    dialog->lbMethod->setFocus();
    dialog->edFilter->setCursorPosition(1);
    QTest::keyClick(dialog->lbMethod, Qt::Key_Backspace);
    EXPECT_EQ(dialog->edFilter->text(), "tn");
    EXPECT_EQ(dialog->edFilter->cursorPosition(), 2);
    EXPECT_EQ(Shown(*dialog), Strings{});
    EXPECT_EQ(dialog->ItemIndex(), -1);
}

TEST_F(MNavExpTest, KeysInTheFilterMoveTheSelection) {
    auto dialog = Open();
    QLineEdit* edit = dialog->edFilter;
    QTest::keyClick(edit, Qt::Key_Up); // on the first: stays
    EXPECT_EQ(dialog->ItemIndex(), 0);
    QTest::keyClick(edit, Qt::Key_Down);
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(dialog->ItemIndex(), 2);
    QTest::keyClick(edit, Qt::Key_PageDown);
    EXPECT_EQ(dialog->ItemIndex(), 4);
    QTest::keyClick(edit, Qt::Key_Down); // on the last: stays
    EXPECT_EQ(dialog->ItemIndex(), 4);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(dialog->ItemIndex(), 3);
    QTest::keyClick(edit, Qt::Key_PageUp);
    EXPECT_EQ(dialog->ItemIndex(), 0);
    EXPECT_EQ(dialog->focusWidget(), edit);

    QTest::keyClicks(edit, "zzz");
    EXPECT_EQ(dialog->ItemIndex(), -1);
    QTest::keyClick(edit, Qt::Key_PageDown); // an empty list: nothing to select
    QTest::keyClick(edit, Qt::Key_PageUp);
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(dialog->ItemIndex(), -1);
    EXPECT_TRUE(FHost.Services().Errors().empty());
}

TEST_F(MNavExpTest, EnterOrADoubleClickMovesTheEditorAndCloses) {
    auto dialog = Open();
    QTest::keyClicks(dialog->edFilter, "btnok");
    QTest::keyClick(dialog->edFilter, Qt::Key_Return);
    EXPECT_TRUE(Gone(dialog));
    EXPECT_EQ(MNavExpDlg, nullptr);
    using Pos = THeadlessHost::TSetPos;
    EXPECT_EQ(FHost.SetPosCalls(FUnit),
              (std::vector<Pos>{{EditViewCursor, {3, 18}}, {EditViewTop, {1, 16}}}));
    EXPECT_FALSE(Placement().empty());

    dialog = Open();
    QListView* list = dialog->lbMethod;
    const QRect third = list->visualRect(list->model()->index(2, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_EQ(dialog->ItemIndex(), 2);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_TRUE(Gone(dialog));
    EXPECT_EQ(FHost.CursorPos(FUnit), (TEditPos{1, 23})); // "Close;" ends its line
    EXPECT_EQ(FHost.TopPos(FUnit), (TEditPos{1, 20}));
    EXPECT_EQ(FHost.HandedOut(), 0);
}

TEST_F(MNavExpTest, APickWithNothingSelectedClosesWithoutMovingTheEditor) {
    auto dialog = Open();
    QTest::keyClicks(dialog->edFilter, "nothing");
    QTest::keyClick(dialog->edFilter, Qt::Key_Return);
    EXPECT_TRUE(Gone(dialog));

    FHost.SetCurrentFile(""); // no active editor: an empty list
    dialog = Open();
    EXPECT_EQ(Shown(*dialog), Strings{});
    dialog->lbMethod->setFocus();
    QTest::keyClick(dialog->lbMethod, Qt::Key_Enter);
    EXPECT_TRUE(Gone(dialog));
    EXPECT_TRUE(FHost.SetPosCalls(FUnit).empty());
    EXPECT_TRUE(FHost.Services().Errors().empty());
}

TEST_F(MNavExpTest, ThePlacementComesBackAfterMoveResizeCloseAndReopen) {
    auto dialog = Open();
    TQtFormBounds bounds(dialog);
    bounds.SetLeft(120);
    bounds.SetTop(90);
    bounds.SetWidth(260);
    bounds.SetHeight(330);
    const QRect placed = dialog->frameGeometry();
    ASSERT_EQ(placed, QRect(120, 90, 260, 330));
    QTest::keyClick(dialog->edFilter, Qt::Key_Escape);
    EXPECT_TRUE(Gone(dialog));
    EXPECT_TRUE(FHost.SetPosCalls(FUnit).empty()); // Esc moves nothing
    EXPECT_EQ(Placement(), "90 120 330 260");

    dialog = Open();
    EXPECT_EQ(dialog->frameGeometry(), placed);
    dialog->close(); // the frame's close button
    EXPECT_TRUE(Gone(dialog));
    EXPECT_EQ(Placement(), "90 120 330 260");
}

TEST_F(MNavExpTest, CtrlTTwiceReturnsTheWindowToOrdinaryStacking) {
    auto dialog = Open();
    auto onTop = [&] {
        const bool widget = dialog->windowFlags() & Qt::WindowStaysOnTopHint;
        const bool window = dialog->windowHandle()->flags() & Qt::WindowStaysOnTopHint;
        EXPECT_EQ(widget, window);
        return widget;
    };
    EXPECT_FALSE(onTop());
    QTest::keyClick(dialog->edFilter, Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(dialog->StayOnTop1->isChecked());
    EXPECT_TRUE(onTop());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->edFilter->text(), ""); // the shortcut types nothing
    QTest::keyClick(dialog->edFilter, Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(dialog->StayOnTop1->isChecked());
    EXPECT_FALSE(onTop());
    EXPECT_TRUE(dialog->isVisible());

    QTest::keyClick(dialog->edFilter, Qt::Key_T, Qt::ControlModifier);
    dialog->close();
    dialog = Open(); // not stored: a new window starts without the mark
    EXPECT_FALSE(dialog->StayOnTop1->isChecked());
    EXPECT_FALSE(onTop());
}

TEST_F(MNavExpTest, EachOptionChangesTheListAndIsKeptForTheNextWindow) {
    auto dialog = Open();
    QTest::keyClicks(dialog->edFilter, "cancel");
    EXPECT_EQ(Shown(*dialog), Strings{});
    dialog->MatchAnywhere1->trigger();
    EXPECT_EQ(Shown(*dialog), Strings{"TMainForm.BtnCancelClick"});
    EXPECT_EQ(dialog->ItemIndex(), 0);
    const QModelIndex first = dialog->lbMethod->model()->index(0, 0);
    // "TMainForm.Btn[Cancel]Click" drawn bold.
    EXPECT_EQ(first.data(TMethodListModel::SpansRole).toList(), QVariantList{QPoint(13, 6)});
    EXPECT_FALSE(first.data(TMethodListModel::LineRole).isValid());

    dialog->LineColumn1->trigger();
    EXPECT_EQ(first.data(TMethodListModel::LineRole).toString(), "20");

    dialog->edFilter->clear();
    dialog->SetItemIndex(1); // btnOkClick stays selected when the order changes
    dialog->SortByName1->trigger();
    EXPECT_EQ(Shown(*dialog),
              (Strings{"Register", "TMainForm.BtnCancelClick", "TMainForm.btnOkClick",
                       "TMainForm.FormCreate", "TMainForm.lbItemsDblClick"}));
    EXPECT_EQ(dialog->ItemIndex(), 2);

    EXPECT_FALSE(dialog->plStatus->isVisibleTo(dialog));
    dialog->HeaderLine1->trigger();
    EXPECT_TRUE(dialog->plStatus->isVisibleTo(dialog));
    EXPECT_EQ(dialog->plStatus->text(), "procedure btnOkClick(Sender: TObject);");
    QTest::keyClick(dialog->edFilter, Qt::Key_Down);
    EXPECT_EQ(dialog->plStatus->text(), "procedure FormCreate(Sender: TObject);");

    dialog->MatchFuzzy1->trigger();
    QTest::keyClicks(dialog->edFilter, "mfbcan");
    EXPECT_EQ(Shown(*dialog), Strings{"TMainForm.BtnCancelClick"});

    // A pick in the sorted, fuzzy list goes to the method shown.
    QTest::keyClick(dialog->edFilter, Qt::Key_Return);
    EXPECT_TRUE(Gone(dialog));
    EXPECT_EQ(FHost.TopPos(FUnit), (TEditPos{1, 20}));

    SetCursorPos({1, 24}, {3, 26}); // the caret in lbItemsDblClick's body
    dialog = Open();
    EXPECT_TRUE(dialog->MatchFuzzy1->isChecked());
    EXPECT_TRUE(dialog->SortByName1->isChecked());
    EXPECT_TRUE(dialog->LineColumn1->isChecked());
    EXPECT_TRUE(dialog->HeaderLine1->isChecked());
    EXPECT_FALSE(dialog->OpenAtCaret1->isChecked());
    EXPECT_EQ(dialog->ItemIndex(), 0);
    dialog->OpenAtCaret1->trigger();
    dialog->close();

    dialog = Open();
    EXPECT_EQ(dialog->ItemIndex(), 4); // lbItemsDblClick, last by name
    EXPECT_EQ(dialog->edFilter->text(), "");
    EXPECT_TRUE(FHost.Services().Errors().empty());
}

TEST_F(MNavExpTest, AnErrorShowsInTheErrorBoxAndTheWindowStaysUsable) {
    {
        TRegistry reg;
        reg.OpenKey(VeskRegistryRoot, true);
        reg.WriteString("MNavExpDlgFormPlacement", "10 20");
    }
    auto dialog = Open();
    EXPECT_EQ(FHost.Services().Errors().size(), 1u); // the missing height
    EXPECT_EQ(dialog->frameGeometry().topLeft(), QPoint(20, 10));
    EXPECT_EQ(Shown(*dialog), AllMethods); // the rest of the opening went on

    // The store turns unreadable: choosing an option cannot be stored.
    const std::string broken = "this is not a registry file\n";
    Write(Path("registry.reg"), broken);
    dialog->MatchAnywhere1->trigger();
    EXPECT_EQ(FHost.Services().Errors().size(), 2u);
    EXPECT_TRUE(dialog->isVisible());
    QTest::keyClicks(dialog->edFilter, "cancel");
    EXPECT_EQ(Shown(*dialog), Strings{"TMainForm.BtnCancelClick"});
    QTest::keyClick(dialog->edFilter, Qt::Key_Return);
    EXPECT_TRUE(Gone(dialog)); // storing the placement fails too, and is reported
    EXPECT_EQ(FHost.Services().Errors().size(), 3u);
    EXPECT_EQ(FHost.TopPos(FUnit), (TEditPos{1, 20}));
    EXPECT_EQ(Read(Path("registry.reg")), broken);
}

TEST_F(MNavExpTest, TheMenusEntryRunsTheWindowModallyAndItFreesItself) {
    QTimer::singleShot(0, [] {
        ASSERT_NE(MNavExpDlg, nullptr);
        EXPECT_TRUE(MNavExpDlg->isModal());
        QTest::keyClicks(MNavExpDlg->edFilter, "register");
        QTest::keyClick(MNavExpDlg->edFilter, Qt::Key_Return);
    });
    EXPECT_EQ(ExecuteMNavExp(), mrOk);
    EXPECT_EQ(MNavExpDlg, nullptr);
    EXPECT_EQ(FHost.TopPos(FUnit), (TEditPos{1, 29}));

    QTimer::singleShot(0, [] { QTest::keyClick(MNavExpDlg->lbMethod, Qt::Key_Escape); });
    EXPECT_EQ(ExecuteMNavExp(), mrCancel);

    // The expert's teardown frees a window still open.
    QPointer<TMNavExpDlg> open = Open();
    DestroyMNavExpDlg();
    EXPECT_TRUE(open.isNull());
    EXPECT_EQ(MNavExpDlg, nullptr);
    DestroyMNavExpDlg();
}

} // namespace
} // namespace vesk
