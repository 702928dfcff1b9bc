// The Find Source dialog on real widgets, driven with QTest against the headless host.
#include "expert/finder/FindExp.h"

#include "platform/ota/HeadlessHost.h"
#include "tests/library/utility/ScratchDir.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace vesk {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;
using Call = THeadlessHost::TCall;

Strings Rows(const QAbstractItemModel& model) {
    Strings rows;
    for (int row = 0; row < model.rowCount(); ++row)
        rows.push_back(model.index(row, 0).data().toString().toStdString());
    return rows;
}

Strings Rows(const QListWidget& list) {
    Strings rows;
    for (int row = 0; row < list.count(); ++row)
        rows.push_back(list.item(row)->text().toStdString());
    return rows;
}

class FindExpDlgTest : public test::ScratchDir {
protected:
    void SetUp() override {
        ScratchDir::SetUp();
        R = FDir.string() + "/";
        ::setenv("VESK_REGISTRY", Path("registry.reg").c_str(), 1);
        for (const char* file : {"lib/Unit1.pas", "lib/Unit2.pas", "lib/Project1.dpr",
                                 "lib/MyPack.dpk", "lib/Other.dpk", "lib/notes.txt"})
            Touch(file);
        Set(IdeLibraryKey, "SearchPath", R + "lib");
    }
    void TearDown() override {
        DestroyFindExpDlg();
        ::unsetenv("VESK_REGISTRY");
        ScratchDir::TearDown();
    }

    void Touch(const std::string& rel) {
        fs::create_directories(fs::path(R + rel).parent_path());
        Write(R + rel, "unit");
    }
    static void Set(const std::string& key, const std::string& name, const std::string& value) {
        TRegistry reg;
        reg.OpenKey(key, true);
        reg.WriteString(name, value);
    }
    static std::string Get(const std::string& name) {
        TRegistry reg;
        reg.OpenKey(FindSettingsKey, false);
        return reg.ReadString(name);
    }
    // What ExecuteFindExp does, but shown without a modal run so that the test drives it.
    TFindExpDlg& Show(PageType page = PageType::ptFiles) {
        if (!FindExpDlg)
            FindExpDlg = new TFindExpDlg;
        FindExpDlg->SelectPage(page);
        FindExpDlg->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(FindExpDlg));
        return *FindExpDlg;
    }
    static void Type(TFindExpDlg& dialog, const char* text) {
        dialog.cbSearch->lineEdit()->selectAll();
        QTest::keyClicks(dialog.cbSearch->lineEdit(), text);
    }
    static Strings Found(TFindExpDlg& dialog) { return Rows(*dialog.lbFound->model()); }
    static int FoundRow(TFindExpDlg& dialog) {
        const QModelIndex current = dialog.lbFound->currentIndex();
        return current.isValid() ? current.row() : -1;
    }

    std::string R;
    THeadlessHost FHost;
};

TEST_F(FindExpDlgTest, TheFirstUseOnACleanStoreShowsTheDefaults) {
    TFindExpDlg& dialog = Show();
    EXPECT_EQ(dialog.windowTitle(), "Source Find Expert");
    EXPECT_EQ(dialog.size(), QSize(457, 188));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()); // not resizable
    Strings pages;
    for (int i = 0; i < dialog.pc->count(); ++i)
        pages.push_back(dialog.pc->tabText(i).toStdString() + "=" +
                        dialog.pc->widget(i)->objectName().toStdString());
    EXPECT_EQ(pages, (Strings{"&Search=tsSearch", "&DPK=tsPackages", "Favorites=tsFavor",
                              "&Main paths=TabSheet21", "&Extended Paths=TabSheet22",
                              "&Config=tsConfig"}));
    for (const char* name : {"cbSearch", "btnSearch", "btnLoad", "btnCancel", "lbFound", "lbDpk",
                             "lbFavor", "edMainPath", "edExPath", "cbExt", "mmMain"})
        EXPECT_NE(dialog.findChild<QWidget*>(name), nullptr) << name;
    EXPECT_TRUE(QFontInfo(dialog.lbFound->font()).fixedPitch());
    EXPECT_EQ(dialog.focusWidget(), dialog.cbSearch);

    // The empty text lists every file with a listed extension, sorted, the first selected.
    EXPECT_EQ(Found(dialog),
              (Strings{R + "lib/MyPack.dpk", R + "lib/Other.dpk", R + "lib/Project1.dpr",
                       R + "lib/Unit1.pas", R + "lib/Unit2.pas"}));
    EXPECT_EQ(FoundRow(dialog), 0);
    EXPECT_TRUE(dialog.btnLoad->isEnabled());
    EXPECT_EQ(dialog.cbExt->currentText(), "PAS;DPR;DPK");
    EXPECT_EQ(dialog.cbSearch->count(), 0);
    EXPECT_EQ(dialog.lbDpk->count(), 0);
    EXPECT_EQ(dialog.lbFavor->count(), 0);
    EXPECT_EQ(dialog.edMainPath->toPlainText(), "");
    EXPECT_EQ(dialog.mmMain->toPlainText().toStdString(), R + "lib/");
    EXPECT_TRUE(dialog.mmMain->isReadOnly());

    // Closed: its place and its lists are stored, and a new dialog opens there.
    dialog.move(140, 70);
    const QPoint placed = dialog.frameGeometry().topLeft();
    QTest::keyClick(dialog.cbSearch->lineEdit(), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(FindExpDlg, &dialog); // hidden, not destroyed
    TRegistry reg;
    reg.OpenKey(VeskRegistryRoot, false);
    EXPECT_EQ(reg.ReadString("FindExpDlgFormPlacement"),
              std::to_string(placed.y()) + " " + std::to_string(placed.x()));
    EXPECT_EQ(Get("cbExt0"), "PAS;DPR;DPK");
    DestroyFindExpDlg();
    EXPECT_EQ(FindExpDlg, nullptr);
    EXPECT_EQ(Show().frameGeometry().topLeft(), placed);
}

TEST_F(FindExpDlgTest, EveryPageOpensWithItsControl) {
    TFindExpDlg& dialog = Show(PageType::ptPackages);
    EXPECT_EQ(dialog.pc->currentWidget(), dialog.tsPackages);
    EXPECT_EQ(dialog.focusWidget(), dialog.lbDpk);
    dialog.hide();
    Show(PageType::ptFFavor);
    EXPECT_EQ(dialog.pc->currentWidget(), dialog.tsFavor);
    EXPECT_EQ(dialog.focusWidget(), dialog.lbFavor);
    dialog.hide();
    Show(PageType::ptFiles);
    EXPECT_EQ(dialog.pc->currentWidget(), dialog.tsSearch);
    EXPECT_EQ(dialog.focusWidget(), dialog.cbSearch);

    // Each tab picked shows its page, and the engine follows.
    const std::vector<QWidget*> controls{dialog.cbSearch,   dialog.lbDpk,    dialog.lbFavor,
                                         dialog.edMainPath, dialog.edExPath, dialog.cbExt};
    for (int page = 0; page < 6; ++page) {
        dialog.pc->setCurrentIndex(page);
        EXPECT_EQ(dialog.Engine()->Page(), static_cast<TFindPage>(page));
        EXPECT_TRUE(controls[static_cast<std::size_t>(page)]->isVisible()) << page;
    }
    EXPECT_TRUE(dialog.mmMain->isVisible());
    EXPECT_TRUE(FHost.Services().Errors().empty());
}

TEST_F(FindExpDlgTest, TheSearchPageSearchesAsTheUserTypesAndOpensThePick) {
    TFindExpDlg& dialog = Show();
    Type(dialog, "unit");
    EXPECT_EQ(Found(dialog), (Strings{R + "lib/Unit1.pas", R + "lib/Unit2.pas"}));
    EXPECT_EQ(FoundRow(dialog), 0);

    // Down leaves the field for the list, one entry down; Enter there opens it.
    QTest::keyClick(dialog.cbSearch->lineEdit(), Qt::Key_Down);
    EXPECT_EQ(dialog.focusWidget(), dialog.lbFound);
    EXPECT_EQ(FoundRow(dialog), 1);
    QTest::keyClick(dialog.lbFound, Qt::Key_Return);
    EXPECT_EQ(FHost.Calls(), (std::vector<Call>{{"OpenFile", R + "lib/Unit2.pas"}}));
    EXPECT_FALSE(dialog.isVisible());

    // A project: the current one is closed and the project opened, from the field.
    FHost.ClearCalls();
    Show();
    EXPECT_EQ(dialog.cbSearch->currentText(), "unit"); // the text stays
    Type(dialog, "project1");
    QTest::keyClick(dialog.cbSearch->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(FHost.Calls(),
              (std::vector<Call>{{"CloseProject", ""}, {"OpenProject", R + "lib/Project1.dpr"}}));
    EXPECT_FALSE(dialog.isVisible());
    Show();
    EXPECT_EQ(Rows(*dialog.cbSearch->model()), (Strings{"Project1.dpr", "Unit2.pas"}));

    // Nothing found: one line, Load disabled, Enter and a double click do nothing.
    FHost.ClearCalls();
    Type(dialog, "zz");
    EXPECT_EQ(Found(dialog), Strings{NoFilesFound});
    EXPECT_FALSE(dialog.btnLoad->isEnabled());
    QTest::keyClick(dialog.cbSearch->lineEdit(), Qt::Key_Return);
    const QRect line = dialog.lbFound->visualRect(dialog.lbFound->model()->index(0, 0));
    QTest::mouseDClick(dialog.lbFound->viewport(), Qt::LeftButton, {}, line.center());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(FHost.Calls().empty());

    // The extended search walks the extended paths; the field takes no typing meanwhile.
    Touch("ex/deep/Unit9.pas");
    dialog.pc->setCurrentIndex(4);
    dialog.edExPath->setPlainText(QString::fromStdString(R + "ex"));
    dialog.pc->setCurrentIndex(0);
    Type(dialog, "unit");
    bool disabled = true;
    FHost.Services().OnProcessMessages = [&] {
        disabled = disabled && !dialog.cbSearch->isEnabled();
    };
    QTest::mouseClick(dialog.btnSearch, Qt::LeftButton);
    EXPECT_TRUE(disabled);
    EXPECT_TRUE(dialog.cbSearch->isEnabled());
    EXPECT_EQ(Found(dialog), Strings{R + "ex/deep/Unit9.pas"});
    EXPECT_EQ(dialog.focusWidget(), dialog.lbFound);
    QTest::mouseClick(dialog.btnLoad, Qt::LeftButton);
    EXPECT_EQ(FHost.OpenFiles().back(), R + "ex/deep/Unit9.pas");
}

TEST_F(FindExpDlgTest, HistoriesAreCutAt16And8WhenTheDialogCloses) {
    for (int i = 0; i < 20; ++i)
        Set(FindSettingsKey, "cbSearch" + std::to_string(i), "File" + std::to_string(i) + ".pas");
    for (int i = 0; i < 10; ++i)
        Set(FindSettingsKey, "cbExt" + std::to_string(i), "E" + std::to_string(i));
    TFindExpDlg& dialog = Show();
    EXPECT_EQ(dialog.cbSearch->count(), 20);
    EXPECT_EQ(dialog.cbSearch->currentText(), "File0.pas"); // the newest
    dialog.close();
    EXPECT_EQ(Get("cbSearch15"), "File15.pas");
    EXPECT_EQ(Get("cbSearch16"), "");
    EXPECT_EQ(Get("cbExt7"), "E7");
    EXPECT_EQ(Get("cbExt8"), "");
    EXPECT_EQ(dialog.cbSearch->count(), 16);
}

TEST_F(FindExpDlgTest, FavouritesAreAddedRemovedAndStoredOnLeavingTheirPage) {
    TFindExpDlg& dialog = Show(PageType::ptFFavor);
    FHost.Services().AnswerOpenDialog(R + "lib/Unit1.pas");
    QTest::keyClick(dialog.lbFavor, Qt::Key_Insert);
    FHost.Services().AnswerOpenDialog(std::nullopt); // cancelled: nothing added
    dialog.AddFavorite1->trigger();
    FHost.Services().AnswerOpenDialog(R + "lib/Unit2.pas");
    dialog.AddFavorite1->trigger();
    EXPECT_EQ(Rows(*dialog.lbFavor), (Strings{R + "lib/Unit1.pas", R + "lib/Unit2.pas"}));
    EXPECT_EQ(FHost.Services().OpenDialogs().front().Filter,
              "Search Files (*.PAS;*.DPR;*.DPK;)|*.PAS;*.DPR;*.DPK;|All Files (*.*)|*.*");
    EXPECT_EQ(Get("Favor0"), ""); // still on the page: not stored yet

    dialog.lbFavor->setCurrentRow(0);
    QTest::keyClick(dialog.lbFavor, Qt::Key_Delete);
    EXPECT_EQ(Rows(*dialog.lbFavor), Strings{R + "lib/Unit2.pas"});
    dialog.pc->setCurrentIndex(0); // leaving the page stores them
    EXPECT_EQ(Get("Favor0"), R + "lib/Unit2.pas");
    EXPECT_EQ(Get("Favor1"), "");

    // A character typed on a favourite opens it.
    dialog.pc->setCurrentIndex(2);
    dialog.lbFavor->setCurrentRow(0);
    QTest::keyClick(dialog.lbFavor, Qt::Key_Space);
    EXPECT_EQ(FHost.Calls(), (std::vector<Call>{{"OpenFile", R + "lib/Unit2.pas"}}));
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(FindExpDlgTest, PathsComeFromTheChooserAndUnstoredEditsGoOnActivation) {
    Set(FindSettingsKey, "MainPath0", R + "lib");
    TFindExpDlg& dialog = Show();
    dialog.pc->setCurrentIndex(3);
    EXPECT_EQ(dialog.edMainPath->toPlainText().toStdString(), R + "lib");
    QWidget* area = dialog.edMainPath->viewport();
    FHost.Services().AnswerDirectory(R + "ex");
    QTest::mouseDClick(area, Qt::LeftButton, {}, area->rect().center());
    FHost.Services().AnswerDirectory(R + "LIB"); // there already, in another case
    QTest::mouseDClick(area, Qt::LeftButton, {}, area->rect().center());
    FHost.Services().AnswerDirectory(std::nullopt); // cancelled
    QTest::mouseDClick(area, Qt::LeftButton, {}, area->rect().center());
    EXPECT_EQ(dialog.edMainPath->toPlainText().toStdString(), R + "lib\n" + R + "ex");
    EXPECT_EQ(FHost.Services().DirectoryRequests().size(), 3u);
    EXPECT_EQ(FHost.Services().DirectoryRequests()[0].Options, sdAllowCreate);

    // An edit not stored yet is dropped when the dialog becomes active again.
    dialog.FormActivate();
    EXPECT_EQ(dialog.edMainPath->toPlainText().toStdString(), R + "lib");
    // Leaving the page stores the text and rebuilds the search paths from it.
    dialog.edMainPath->moveCursor(QTextCursor::End);
    QTest::keyClick(dialog.edMainPath, Qt::Key_Return);
    QTest::keyClicks(dialog.edMainPath, QString::fromStdString(R) + "ex");
    dialog.pc->setCurrentIndex(0);
    EXPECT_EQ(Get("MainPath1"), R + "ex");
    EXPECT_EQ(dialog.Engine()->MainPathList().Count(), 2); // the library path once
}

TEST_F(FindExpDlgTest, APackageRefreshListsThePackagesWhoseSourceIsFound) {
    Set(IdePackagesKey, R + "bpl/Other.bpl", "(untitled)");
    Set(IdePackagesKey, R + "bpl/MyPack.bpl", "My own package");
    Set(IdePackagesKey, R + "bpl/Missing.bpl", "Not here");
    TFindExpDlg& dialog = Show(PageType::ptPackages);
    dialog.RefreshDPKItem->trigger();
    EXPECT_EQ(Rows(*dialog.lbDpk), (Strings{"My own package", "Other"}));
    EXPECT_EQ(dialog.lbDpk->currentRow(), 0);
    QTest::keyClick(dialog.lbDpk, Qt::Key_End);
    EXPECT_EQ(dialog.lbDpk->currentRow(), 1);
    QTest::keyClick(dialog.lbDpk, Qt::Key_Home);
    EXPECT_EQ(dialog.lbDpk->currentRow(), 0);
    QTest::keyClick(dialog.lbDpk, Qt::Key_Return);
    EXPECT_EQ(FHost.Calls(), (std::vector<Call>{{"OpenFile", R + "lib/MyPack.dpk"}}));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(Get("Packages1"), "Other"); // stored as the dialog closed
    EXPECT_EQ(Get("PackagesPath1"), R + "lib/Other.dpk");

    // The next dialog shows the stored list; opening entry 1 opens the same source.
    DestroyFindExpDlg();
    TFindExpDlg& next = Show(PageType::ptPackages);
    EXPECT_EQ(Rows(*next.lbDpk), (Strings{"My own package", "Other"}));
    const QRect second = next.lbDpk->visualItemRect(next.lbDpk->item(1));
    QTest::mouseClick(next.lbDpk->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(next.lbDpk->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(FHost.Calls().back(), (Call{"OpenFile", R + "lib/Other.dpk"}));
}

TEST_F(FindExpDlgTest, EachOptionOnTheConfigPage) {
    TFindExpDlg& dialog = Show();
    dialog.pc->setCurrentIndex(5);
    dialog.chkMatchAnywhere->click();
    dialog.chkFolderColumn->click();
    dialog.pc->setCurrentIndex(0);
    Type(dialog, "nit");
    // The name anywhere, and its folder beside it, the folders lined up.
    EXPECT_EQ(Found(dialog), (Strings{"Unit1.pas  " + R + "lib/", "Unit2.pas  " + R + "lib/"}));
    Type(dialog, "o");
    EXPECT_EQ(Found(dialog),
              (Strings{"Other.dpk     " + R + "lib/", "Project1.dpr  " + R + "lib/"}));

    // Several files selected are opened together.
    dialog.pc->setCurrentIndex(5);
    dialog.chkOpenSeveral->click();
    dialog.pc->setCurrentIndex(0);
    QListView* list = dialog.lbFound;
    const QRect second = list->visualRect(list->model()->index(1, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, second.center());
    EXPECT_EQ(list->selectionModel()->selectedRows().size(), 2);
    QTest::mouseClick(dialog.btnLoad, Qt::LeftButton);
    EXPECT_EQ(FHost.Calls(), (std::vector<Call>{{"OpenFile", R + "lib/Other.dpk"},
                                                {"CloseProject", ""},
                                                {"OpenProject", R + "lib/Project1.dpr"}}));
    EXPECT_FALSE(dialog.isVisible());

    // The search button stops a deep search, which keeps what it found so far.
    for (const char* file : {"ex/a/Ua.pas", "ex/b/Ub.pas", "ex/c/Uc.pas"})
        Touch(file);
    Set(FindSettingsKey, "ExPath0", R + "ex");
    Show();
    dialog.pc->setCurrentIndex(5);
    dialog.chkStopButton->click();
    dialog.pc->setCurrentIndex(0);
    Type(dialog, "u");
    QString caption;
    int events = 0;
    FHost.Services().OnProcessMessages = [&] {
        if (++events == 2) { // the first file found
            caption = dialog.btnSearch->text();
            QTest::mouseClick(dialog.btnSearch, Qt::LeftButton);
        }
    };
    QTest::mouseClick(dialog.btnSearch, Qt::LeftButton);
    EXPECT_EQ(caption, "S&top");
    EXPECT_EQ(dialog.btnSearch->text(), "&Search");
    EXPECT_EQ(Found(dialog).size(), 1u);

    // Kept for the next dialog.
    dialog.close();
    DestroyFindExpDlg();
    TFindExpDlg& next = Show();
    for (QCheckBox* box :
         {next.chkMatchAnywhere, next.chkFolderColumn, next.chkOpenSeveral, next.chkStopButton})
        EXPECT_TRUE(box->isChecked()) << box->objectName().toStdString();
    EXPECT_TRUE(FHost.Services().Errors().empty());
}

TEST_F(FindExpDlgTest, AnEngineErrorIsShownAndTheDialogStaysUsable) {
    TFindExpDlg& dialog = Show(PageType::ptFFavor);
    FHost.Services().AnswerOpenDialog(R + "lib/Unit1.pas");
    dialog.AddFavorite1->trigger();
    const std::string broken = "not a registry file\n";
    Write(Path("registry.reg"), broken);
    dialog.pc->setCurrentIndex(0); // storing the favourites fails
    ASSERT_EQ(FHost.Services().Errors().size(), 1u);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.pc->currentWidget(), dialog.tsSearch);
    Type(dialog, "unit2");
    EXPECT_EQ(Found(dialog), Strings{R + "lib/Unit2.pas"});
    EXPECT_EQ(Read(Path("registry.reg")), broken); // nothing written over it
}

TEST_F(FindExpDlgTest, TheMenusEntryMakesTheDialogOnceAndShowsItModally) {
    EXPECT_EQ(FindExpDlg, nullptr);
    QTimer::singleShot(0, [] {
        ASSERT_NE(FindExpDlg, nullptr);
        EXPECT_TRUE(FindExpDlg->isModal());
        EXPECT_EQ(FindExpDlg->pc->currentWidget(), FindExpDlg->tsFavor);
        QTest::keyClick(FindExpDlg->lbFavor, Qt::Key_Escape);
    });
    EXPECT_EQ(ExecuteFindExp(PageType::ptFFavor), mrCancel);
    const QPointer<TFindExpDlg> made = FindExpDlg;
    ASSERT_FALSE(made.isNull());

    QTimer::singleShot(0, [] {
        EXPECT_EQ(FindExpDlg->pc->currentWidget(), FindExpDlg->tsSearch);
        QLineEdit* field = FindExpDlg->cbSearch->lineEdit();
        field->selectAll();
        QTest::keyClicks(field, "unit1");
        QTest::keyClick(field, Qt::Key_Return);
    });
    EXPECT_EQ(ExecuteFindExp(PageType::ptFiles), mrOk);
    EXPECT_EQ(FindExpDlg, made.data()); // reused
    EXPECT_EQ(FHost.OpenFiles(), Strings{R + "lib/Unit1.pas"});

    DestroyFindExpDlg();
    EXPECT_TRUE(made.isNull());
    EXPECT_EQ(FindExpDlg, nullptr);
}

} // namespace
} // namespace vesk
