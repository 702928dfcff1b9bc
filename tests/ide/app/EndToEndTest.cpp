// The IDE with the real packages loaded, driven through the real "Vesk" menu by keys and
// clicks as a user drives it, on a copy of the sample project.
#include "ide/project/Environment.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysUtils.h"
#include "tests/ide/app/IdeFixture.h"

#include "ide/form/FormView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QTabWidget>

#include <filesystem>
#include <functional>
#include <sstream>

namespace vesk::test {
namespace {

class EndToEndTest : public IdeFixture {
protected:
    void SetUp() override {
        IdeFixture::SetUp();
        StartOnSampleCopy();
    }

    TIdeModule* OpenOrders() {
        TIdeModule* module = Window().OpenFile(Dir().File("OrderEntry.pas"));
        EXPECT_TRUE(module && module->HasForm());
        return module;
    }

    // Runs Pick; Drive gets the first window other than a message box that comes up
    // modally, and is to close it. False when none came up.
    static bool WhileModal(const std::function<void()>& pick,
                           const std::function<void(QWidget*)>& drive) {
        bool driven = false;
        QTimer watcher; // ends with the pick: never fires into another test
        watcher.setInterval(5);
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (driven || !modal || qobject_cast<QMessageBox*>(modal))
                return;
            driven = true;
            watcher.stop();
            drive(modal);
        });
        watcher.start();
        pick();
        watcher.stop();
        return driven;
    }

    // The main window is active again once the tool's window has gone; then the focus is
    // where it should be.
    static bool FocusReaches(QWidget* widget) {
        return QTest::qWaitFor([widget] { return QApplication::focusWidget() == widget; }, 1000);
    }

    std::vector<std::string> TopLevelCaptions() {
        std::vector<std::string> captions;
        for (QAction* action : Window().menuBar()->actions())
            captions.push_back(action->text().toStdString());
        return captions;
    }
    QAction* VeskItem(const char* name) {
        QMenu* vesk = Window().menuBar()->findChild<QMenu*>("ExpertsItem");
        if (!vesk)
            return nullptr;
        for (QAction* action : vesk->actions())
            if (action->objectName() == name)
                return action;
        return nullptr;
    }
    std::string VeskExpFile() {
        for (const TPackageInfo& package : Window().Packages().Packages())
            if (SameText(ExtractFileName(package.FileName), "VeskExp.so"))
                return package.FileName;
        return {};
    }
};

TEST_F(EndToEndTest, TheVeskMenuStandsBeforeHelp) {
    const std::vector<std::string> captions = TopLevelCaptions();
    ASSERT_GE(captions.size(), 2u);
    EXPECT_EQ(captions[captions.size() - 2], "Vesk");
    EXPECT_EQ(captions.back(), "&Help");
    QMenu* vesk = Window().menuBar()->findChild<QMenu*>("ExpertsItem");
    ASSERT_NE(vesk, nullptr);
    std::vector<std::string> items;
    for (QAction* action : vesk->actions())
        items.push_back(action->text().toStdString());
    EXPECT_EQ(items,
              (std::vector<std::string>{"Find Source", "Favofites", "Packages", "Component Renamer",
                                        "Field Expert", "Metod Navigator", "-", "&About..."}));
}

TEST_F(EndToEndTest, TheNavigatorMovesTheCaretToTheChosenBody) {
    ASSERT_TRUE(Window().OpenProject(Dir().File("Sample.dpr")));
    TIdeModule* main = Window().CurrentModule();
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(ExtractFileName(main->FileName()), "MainForm.pas");
    // The body: the line after the "begin" that follows FillList's header.
    TStringList lines;
    lines.SetText(main->Editor()->Utf8Text());
    int header = -1;
    for (int i = 0; i < lines.Count() && header < 0; ++i)
        if (lines[i].find("procedure TfrmMain.FillList") == 0)
            header = i;
    ASSERT_GE(header, 0);
    int begin = header;
    while (lines[begin] != "begin")
        ++begin;

    main->Editor()->setFocus();
    const bool shown =
        WhileModal([&] { QTest::keyClick(main->Editor(), Qt::Key_M, Qt::AltModifier); },
                   [&](QWidget* dialog) {
                       auto* filter = dialog->findChild<QLineEdit*>("edFilter");
                       ASSERT_NE(filter, nullptr);
                       QTest::keyClicks(filter, "FillL");
                       QTest::keyClick(filter, Qt::Key_Return);
                   });
    EXPECT_TRUE(shown);
    EXPECT_EQ(main->Editor()->CaretPos().Line, begin + 2);
    EXPECT_TRUE(FocusReaches(main->Editor()));
    EXPECT_EQ(Window().CaretLabel()->text().toStdString(),
              IntToStr(begin + 2) + ": " + IntToStr(main->Editor()->CaretPos().Col));
}

TEST_F(EndToEndTest, FindSourceOpensTheChosenFileAndAProjectAsTheProject) {
    ASSERT_TRUE(Window().OpenProject(Dir().File("Sample.dpr")));
    auto find = [&](const char* text) {
        return WhileModal(
            [&] {
                QTest::keyClick(Window().CurrentModule()->Editor(), Qt::Key_Return,
                                Qt::AltModifier);
            },
            [&](QWidget* dialog) {
                auto* search = dialog->findChild<QComboBox*>("cbSearch");
                ASSERT_NE(search, nullptr);
                QTest::keyClicks(search->lineEdit(), text);
                QTest::keyClick(search->lineEdit(), Qt::Key_Return);
            });
    };
    EXPECT_TRUE(find("OrderE"));
    TIdeModule* orders = Window().CurrentModule();
    ASSERT_NE(orders, nullptr);
    EXPECT_EQ(orders->FileName(), ExpandFileName(Dir().File("OrderEntry.pas")));
    EXPECT_EQ(Window().Tabs()->count(), 4);
    EXPECT_TRUE(FocusReaches(orders->Editor()));

    // A project file found is opened as the project: the open files close first.
    orders->Editor()->insert("{ changed }");
    Answer(QMessageBox::No);
    EXPECT_TRUE(find("Sample.d"));
    EXPECT_EQ(Window().ProjectFile(), ExpandFileName(Dir().File("Sample.dpr")));
    EXPECT_EQ(Window().Tabs()->count(), 3);
    EXPECT_EQ(Window().FindModule(Dir().File("OrderEntry.pas")), nullptr);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Save changes to OrderEntry.pas?"}));
}

TEST_F(EndToEndTest, TheRenamerRenamesTheEditsInTheFormViewAndInTheUnit) {
    TIdeModule* orders = OpenOrders();
    ASSERT_NE(orders, nullptr);
    QTest::keyClick(orders->Editor(), Qt::Key_F12);
    ASSERT_TRUE(orders->FormShown());
    TComponent* root = orders->Form()->Root();
    TComponent* edit = root->FindComponent("DBEdit1");
    TComponent* second = root->FindComponent("DBEdit2");
    ASSERT_TRUE(edit && second);

    Answer(QMessageBox::Ok); // "Run Renamer Expert?"
    QTest::keyClick(orders->FormView(), Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Run Renamer Expert?"}));
    EXPECT_EQ(edit->Name(), "edOrderNo");
    EXPECT_EQ(second->Name(), "edCustNo");
    // The view shows the renamed model at once, and the module is modified.
    EXPECT_EQ(orders->FormView()->ComponentAt(orders->FormView()->WidgetOf(edit)), edit);
    EXPECT_TRUE(orders->Modified());
    EXPECT_EQ(Window().Tabs()->tabText(Window().Tabs()->currentIndex()), "OrderEntry.dfm *");
    EXPECT_TRUE(FocusReaches(orders->FormView()));

    // Saved: the form file and the unit's declarations.
    QTest::keyClick(orders->FormView(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(orders->Modified());
    const std::string unit = ReadFileContent(Dir().File("OrderEntry.pas"));
    EXPECT_NE(unit.find("    edOrderNo: TDBEdit;\r\n"), std::string::npos) << unit;
    EXPECT_EQ(unit.find("DBEdit1"), std::string::npos);
    EXPECT_EQ(orders->Editor()->Utf8Text(), unit);
    const std::string form = ReadFileContent(Dir().File("OrderEntry.dfm"));
    EXPECT_NE(form.find("object edOrderNo: TDBEdit"), std::string::npos);
    EXPECT_NE(form.find("FocusControl = edOrderNo"), std::string::npos);
}

TEST_F(EndToEndTest, TheFieldExpertAddsTheChosenFieldsControlsToTheFormView) {
    TIdeModule* orders = OpenOrders();
    ASSERT_NE(orders, nullptr);
    ASSERT_TRUE(Window().ShowModuleForm(orders));
    TComponent* root = orders->Form()->Root();
    const bool shown = WhileModal(
        [&] { VeskItem("FldItem")->trigger(); },
        [&](QWidget* w) {
            auto* dataSets = w->findChild<QListWidget*>("lbDataSet");
            auto* fields = w->findChild<QListWidget*>("lbField");
            ASSERT_TRUE(dataSets && fields);
            ASSERT_GE(dataSets->count(), 1);
            ASSERT_TRUE(dataSets->item(0)->text().startsWith("tbOrders"));
            QTest::mouseClick(dataSets->viewport(), Qt::LeftButton, {},
                              dataSets->visualItemRect(dataSets->item(0)).center());
            // Only ShipVia is kept in the Create list.
            for (int row = fields->count() - 1; row >= 0; --row)
                if (fields->item(row)->text() != "ShipVia") {
                    fields->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
                    QWidget* remove = w->findChild<QWidget*>("sbDelField");
                    QTest::mouseClick(remove, Qt::LeftButton, {}, remove->rect().center());
                }
            ASSERT_EQ(fields->count(), 1);
            for (const char* button : {"bnNext", "bnCreate"}) {
                QWidget* b = w->findChild<QWidget*>(button);
                QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
            }
        });
    EXPECT_TRUE(shown);
    TComponent* edit = root->FindComponent("edShipVia");
    TComponent* label = root->FindComponent("lbShipVia");
    ASSERT_TRUE(edit && label);
    EXPECT_NE(orders->FormView()->WidgetOf(edit), nullptr);
    EXPECT_NE(orders->FormView()->WidgetOf(label), nullptr);
    EXPECT_TRUE(orders->Modified());
    ASSERT_TRUE(Window().SaveModule(orders));
    EXPECT_NE(ReadFileContent(Dir().File("OrderEntry.pas")).find("edShipVia: TDBEdit;"),
              std::string::npos);
}

TEST_F(EndToEndTest, TheAboutBoxOpensAndCloses) {
    TIdeModule* orders = OpenOrders();
    ASSERT_NE(orders, nullptr);
    std::string version;
    const bool shown = WhileModal([&] { VeskItem("AboutItem")->trigger(); },
                                  [&](QWidget* box) {
                                      version = box->metaObject()->className();
                                      QTest::keyClick(box, Qt::Key_Escape);
                                  });
    EXPECT_TRUE(shown);
    EXPECT_EQ(version, "vesk::TAboutDlg");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(FocusReaches(orders->Editor()));
}

TEST_F(EndToEndTest, VeskExpUnloadedTakesItsMenuAlongAndLoadedAgainBringsItBack) {
    TIdeModule* orders = OpenOrders();
    ASSERT_NE(orders, nullptr);
    const std::string file = VeskExpFile();
    ASSERT_FALSE(file.empty());
    ASSERT_TRUE(Window().Packages().Unload(file));
    const std::vector<std::string> captions = TopLevelCaptions();
    EXPECT_EQ(std::count(captions.begin(), captions.end(), "Vesk"), 0);
    EXPECT_EQ(TIdeToolServices::LiveObjects(), 0); // the expert gave back what it held
    // Its keys do nothing now, and nothing breaks.
    QTest::keyClick(orders->Editor(), Qt::Key_M, Qt::AltModifier);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    std::string error;
    ASSERT_TRUE(Window().Packages().Load(file, "", error)) << error;
    ASSERT_NE(VeskItem("MNavItem"), nullptr);
    const bool shown =
        WhileModal([&] { QTest::keyClick(orders->Editor(), Qt::Key_M, Qt::AltModifier); },
                   [&](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_TRUE(shown);
}

TEST_F(EndToEndTest, InstallPackagesRemovesVeskExpAndItsMenuWithIt) {
    QAction* install = nullptr;
    for (QAction* action : Window().Menu("ComponentMenu")->actions())
        if (action->objectName() == "ComponentInstallPackagesItem")
            install = action;
    ASSERT_NE(install, nullptr);
    const std::string file = VeskExpFile();
    Answer(QMessageBox::Yes); // "Remove package ...?"
    const bool shown =
        WhileModal([&] { install->trigger(); },
                   [&](QWidget* dialog) {
                       auto* list = dialog->findChild<QListWidget*>("lbPackages");
                       ASSERT_NE(list, nullptr);
                       ASSERT_EQ(list->count(), 2);
                       auto* shownFile = dialog->findChild<QLineEdit*>("edFile");
                       ASSERT_NE(shownFile, nullptr);
                       // The rows show descriptions: the row is found by the file it shows.
                       for (int row = 0; row < list->count(); ++row) {
                           QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                             list->visualItemRect(list->item(row)).center());
                           if (shownFile->text().toStdString() == file)
                               break;
                       }
                       ASSERT_EQ(shownFile->text().toStdString(), file);
                       for (const char* name : {"btnRemove", "btnClose"}) {
                           QWidget* button = dialog->findChild<QWidget*>(name);
                           ASSERT_NE(button, nullptr) << name;
                           QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
                       }
                   });
    EXPECT_TRUE(shown);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Remove package " + file + "?"}));
    EXPECT_EQ(Window().menuBar()->findChild<QMenu*>("ExpertsItem"), nullptr);
    EXPECT_FALSE(Window().Packages().IsLoaded(file));
    TRegistry reg(HostServices().SettingsStore());
    ASSERT_TRUE(reg.OpenKey(KnownPackagesKey, false));
    EXPECT_FALSE(reg.ValueExists(file));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
} // namespace vesk::test
