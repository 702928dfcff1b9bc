// The main window as the user drives it: files opened, edited and saved byte for byte,
// the prompts for unsaved changes, the project, the search, the status bar.
#include "ide/app/EnvOptions.h"
#include "ide/designer/ComponentPalette.h"
#include "ide/designer/ObjectProperties.h"
#include "ide/form/FormView.h"
#include "ide/project/Environment.h"
#include "platform/rtl/FileUtils.h"
#include "tests/ide/app/IdeFixture.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTreeWidget>

namespace vesk::test {
namespace {

using IdeWindowTest = IdeFixture;

std::string Tab(TIdeWindow& window, TIdeModule* module) {
    return window.Tabs()->tabText(window.Tabs()->indexOf(module->Page())).toStdString();
}

TEST_F(IdeWindowTest, BytesComeBackAsTheyWereWrittenWhateverTheEncoding) {
    // CRLF line ends, a NUL byte, a byte-order mark: UTF-8 kept as it is.
    const std::string utf8 =
        std::string("\xEF\xBB\xBFunit A;\r\n// caf\xC3\xA9 \0 x\r\nend.\r\n", 31);
    TIdeModule* a = Open("A.pas", utf8);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Editor()->Encoding(), TTextEncoding::Utf8);
    EXPECT_EQ(a->Editor()->Utf8Text(), utf8);
    a->Editor()->SetCaretPos({1, 3});
    QTest::keyClicks(a->Editor(), "x");
    EXPECT_TRUE(a->Modified());
    ASSERT_TRUE(Window().SaveModule(a));
    std::string expected = utf8;
    expected.insert(expected.find("end."), "x");
    EXPECT_EQ(ReadFileContent(a->FileName()), expected);
    EXPECT_FALSE(a->Modified());

    // Latin-1 bytes that are no UTF-8: shown as their characters, written back as bytes;
    // a new line takes the file's kind of line end.
    const std::string latin1 = "unit B;\n// caf\xE9 \xFF\nend.\n";
    TIdeModule* b = Open("B.pas", latin1);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Editor()->Encoding(), TTextEncoding::Latin1);
    EXPECT_EQ(b->Editor()->text().toStdString(), "unit B;\n// caf\xC3\xA9 \xC3\xBF\nend.\n");
    b->Editor()->SetCaretPos({8, 1});
    QTest::keyClick(b->Editor(), Qt::Key_Return);
    ASSERT_TRUE(Window().SaveModule(b));
    EXPECT_EQ(ReadFileContent(b->FileName()), "unit B;\n\n// caf\xE9 \xFF\nend.\n");

    // A character Latin-1 has no byte for: the error names the line, the file stays
    // whole and the change stays in the editor.
    b->Editor()->SetCaretPos({1, 3});
    b->Editor()->insert(QString::fromUtf8("\xE2\x82\xAC"));
    Answer(QMessageBox::Ok);
    EXPECT_FALSE(Window().SaveModule(b));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].find("Line 3"), std::string::npos) << Boxes()[0];
    EXPECT_EQ(ReadFileContent(b->FileName()), "unit B;\n\n// caf\xE9 \xFF\nend.\n");
    EXPECT_TRUE(b->Modified());
    EXPECT_EQ(Tab(Window(), b), "B.pas *");
}

TEST_F(IdeWindowTest, UndoModifiedMarksAndTheCaretInTheStatusBar) {
    TIdeModule* a = Open("A.pas", "unit A;\nend.\n");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(Tab(Window(), a), "A.pas");
    EXPECT_EQ(Window().CaretLabel()->text(), "1: 1");
    a->Editor()->SetCaretPos({4, 2});
    EXPECT_EQ(Window().CaretLabel()->text(), "2: 4");
    QTest::keyClicks(a->Editor(), "zz");
    EXPECT_EQ(Tab(Window(), a), "A.pas *");
    QTest::keyClick(a->Editor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(a->Editor()->Utf8Text(), "unit A;\nend.\n");
    EXPECT_EQ(Tab(Window(), a), "A.pas"); // back at the saved state
    // The loaded text itself is not an undo step.
    QTest::keyClick(a->Editor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(a->Editor()->Utf8Text(), "unit A;\nend.\n");
}

TEST_F(IdeWindowTest, ClosingAsksForUnsavedChanges) {
    TIdeModule* a = Open("A.pas", "unit A;\n");
    TIdeModule* b = Open("B.pas", "unit B;\n");
    ASSERT_TRUE(a && b);
    a->Editor()->insert("x");
    b->Editor()->insert("y");

    // Cancel keeps everything open and unsaved.
    Answer(QMessageBox::Cancel);
    EXPECT_FALSE(Window().CloseProject());
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Save changes to A.pas?"}));
    EXPECT_EQ(Window().Modules().size(), 2u);

    // Ctrl+F4 on B: No drops its change.
    Window().SetCurrentModule(b);
    Answer(QMessageBox::No);
    QTest::keyClick(b->Editor(), Qt::Key_F4, Qt::ControlModifier);
    ASSERT_EQ(Window().Modules().size(), 1u);
    EXPECT_EQ(ReadFileContent(Dir().File("B.pas")), "unit B;\n");

    // Quitting: Cancel keeps the window, Yes saves and lets it close.
    QCloseEvent refused;
    Answer(QMessageBox::Cancel);
    QApplication::sendEvent(&Window(), &refused);
    EXPECT_FALSE(refused.isAccepted());
    QCloseEvent accepted;
    Answer(QMessageBox::Yes);
    QApplication::sendEvent(&Window(), &accepted);
    EXPECT_TRUE(accepted.isAccepted());
    EXPECT_EQ(ReadFileContent(Dir().File("A.pas")), "xunit A;\n");
    EXPECT_TRUE(Window().Modules().empty());
}

TEST_F(IdeWindowTest, AProjectOpensItsUnitsAndTheirForms) {
    Dir().Write("Main.pas", "unit Main;\ninterface\ntype TForm1 = class(TForm)\nend;\nend.\n");
    Dir().Write("MAIN.DFM", "object Form1: TForm1\nend\n");
    Dir().Write("sub/Tools.pas", "unit Tools;\nend.\n");
    const std::string project = Dir().Write(
        "App.dpr", "program App;\nuses\n  Forms,\n  Main in 'Main.pas' {Form1},\n"
                   "  Tools in 'SUB\\tools.pas',\n  Gone in 'Gone.pas';\nbegin\nend.\n");
    ASSERT_TRUE(Window().OpenProject(project));
    EXPECT_EQ(Window().ProjectFile(), project);
    ASSERT_EQ(Window().Modules().size(), 2u);
    TIdeModule* main = Window().Modules()[0].get();
    EXPECT_EQ(main->FileName(), Dir().File("Main.pas"));
    EXPECT_EQ(main->FormFileName(), Dir().File("MAIN.DFM"));
    EXPECT_TRUE(main->HasForm());
    EXPECT_EQ(Window().Modules()[1]->FileName(), Dir().File("sub/Tools.pas"));
    EXPECT_EQ(Window().CurrentModule(), main);
    // The project manager lists the project's own units; the missing one is reported.
    ASSERT_EQ(Window().ProjectTree()->topLevelItemCount(), 1);
    QTreeWidgetItem* root = Window().ProjectTree()->topLevelItem(0);
    EXPECT_EQ(root->text(0), "App.dpr");
    ASSERT_EQ(root->childCount(), 3);
    ASSERT_EQ(root->child(0)->childCount(), 1); // Main's form file
    EXPECT_EQ(root->child(0)->child(0)->text(0), "MAIN.DFM");
    EXPECT_EQ(root->child(1)->childCount(), 0);
    EXPECT_EQ(root->child(0)->text(0), "Main  {Form1}");
    EXPECT_EQ(root->child(2)->text(0), "Gone  (missing: Gone.pas)");
    ASSERT_EQ(Window().MessageView()->count(), 1);
    EXPECT_NE(Window().MessageView()->item(0)->text().indexOf("Gone.pas"), -1);

    // F12 shows the form and back; the file shown follows.
    EXPECT_EQ(Window().CurrentFile(), Dir().File("Main.pas"));
    QTest::keyClick(main->Editor(), Qt::Key_F12);
    EXPECT_TRUE(main->FormShown());
    EXPECT_EQ(Window().CurrentFile(), Dir().File("MAIN.DFM"));
    EXPECT_EQ(Tab(Window(), main), "MAIN.DFM");
    QTest::keyClick(main->FocusTarget(), Qt::Key_F12);
    EXPECT_FALSE(main->FormShown());

    // Opening the form file brings its module forward with the form.
    Window().SetCurrentModule(Window().Modules()[1].get());
    EXPECT_EQ(Window().OpenFile(Dir().File("main.dfm")), main);
    EXPECT_TRUE(main->FormShown());

    // A project file that cannot be read: an error, and the open project stays.
    Answer(QMessageBox::Ok);
    EXPECT_FALSE(Window().OpenProject(Dir().File("None.dpr")));
    EXPECT_EQ(Window().ProjectFile(), project);
    EXPECT_EQ(Window().Modules().size(), 2u);
}

TEST_F(IdeWindowTest, TheInspectorFollowsTheShownFormAndTheEditMenuDesignsIt) {
    const std::string unit = Dir().Write(
        "Main.pas", "unit Main;\ninterface\ntype\n  TForm1 = class(TForm)\n    Edit1: TEdit;\n"
                    "  end;\nimplementation\nend.\n");
    Dir().Write("Main.dfm", "object Form1: TForm1\n  object Edit1: TEdit\n    Left = 8\n"
                            "    Top = 8\n  end\nend\n");
    TIdeModule* module = Window().OpenFile(unit);
    ASSERT_NE(module, nullptr);
    auto* inspector = Window().findChild<TObjectInspector*>("ObjectInspector");
    ASSERT_NE(inspector, nullptr);
    ASSERT_NE(Window().findChild<TComponentPalette*>("ComponentPalette"), nullptr);
    EXPECT_EQ(inspector->ItemOf("Name"), nullptr); // the unit is shown: nothing to inspect

    QTest::keyClick(module->Editor(), Qt::Key_F12);
    ASSERT_TRUE(module->FormShown());
    EXPECT_EQ(inspector->ValueOf("Name"), "Form1");
    TComponent* edit = module->Form()->Root()->FindComponent("Edit1");
    module->FormView()->Select(edit);
    EXPECT_EQ(inspector->ValueOf("Name"), "Edit1");

    // Copy and paste through the Edit menu go to the form, not the hidden editor.
    Window().findChild<QAction*>("EditCopyItem")->trigger();
    Window().findChild<QAction*>("EditPasteItem")->trigger();
    ASSERT_EQ(module->Form()->Root()->ComponentCount(), 2);
    EXPECT_TRUE(module->Modified());
    EXPECT_EQ(Tab(Window(), module), "Main.dfm *");
    Window().findChild<QAction*>("EditUndoItem")->trigger();
    EXPECT_EQ(module->Form()->Root()->ComponentCount(), 1);
    Window().findChild<QAction*>("EditRedoItem")->trigger();
    ASSERT_EQ(module->Form()->Root()->ComponentCount(), 2);
    const std::string pasted = module->Form()->Root()->Components(1)->Name();
    EXPECT_NE(pasted, "Edit1");

    // Saved, the unit declares the pasted edit after the first, whatever undo rebuilt.
    module->Save();
    EXPECT_EQ(ReadFileContent(unit), "unit Main;\ninterface\ntype\n  TForm1 = class(TForm)\n"
                                     "    Edit1: TEdit;\n    " +
                                         pasted + ": TEdit;\n  end;\nimplementation\nend.\n");
    QTest::keyClick(module->FocusTarget(), Qt::Key_F12);
    EXPECT_EQ(inspector->ItemOf("Name"), nullptr);
}

TEST_F(IdeWindowTest, FilesThatCannotBeOpenedAreReportedAndNothingElseChanges) {
    Dir().Write("Bad.pas", "unit Bad;\n");
    Dir().Write("Bad.dfm", "object Form1: TForm1\n  Left = \nend\n");
    Answer(QMessageBox::Ok);
    EXPECT_EQ(Window().OpenFile(Dir().File("Bad.pas")), nullptr);
    Answer(QMessageBox::Ok);
    EXPECT_EQ(Window().OpenFile(Dir().File("Missing.pas")), nullptr);
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_NE(Boxes()[1].find("Missing.pas"), std::string::npos) << Boxes()[1];
    EXPECT_TRUE(Window().Modules().empty());
    EXPECT_EQ(Window().Tabs()->count(), 0);
}

TEST_F(IdeWindowTest, FindAndFindNextWrapAroundWithoutRegardToCase) {
    TIdeModule* a = Open("A.pas", "begin\n  Count := 1;\n  count := 2;\nend.\n");
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(Window().Find("COUNT"));
    EXPECT_EQ(a->Editor()->CaretPos(), (TEditPos{8, 2})); // after the match
    EXPECT_TRUE(Window().FindNext());
    EXPECT_EQ(a->Editor()->CaretPos(), (TEditPos{8, 3}));
    QTest::keyClick(a->Editor(), Qt::Key_F3);
    EXPECT_EQ(a->Editor()->CaretPos(), (TEditPos{8, 2})); // wrapped
    EXPECT_FALSE(Window().Find("absent"));
    EXPECT_EQ(a->Editor()->CaretPos(), (TEditPos{8, 2}));
}

TEST_F(IdeWindowTest, TheLibraryPathIsStoredWhereTheFindSourceDialogReadsIt) {
    auto store = HostServices().SettingsStore();
    Window().Start();
    std::string path;
    ASSERT_TRUE(ReadSearchPath(store, path));
    EXPECT_EQ(path, IdeDefaultSearchPath());
    EXPECT_EQ(path.substr(0, path.find(';')), std::string(VESK_SOURCE_DIR) + "/examples/sample");

    TEnvironmentOptionsDlg dialog(store, &Window());
    EXPECT_EQ(dialog.edSearchPath->text().toStdString(), path);
    dialog.edSearchPath->setText("/one;/two");
    dialog.accept();
    ASSERT_TRUE(ReadSearchPath(store, path));
    EXPECT_EQ(path, "/one;/two");
    Window().Start(); // a stored path is kept
    ASSERT_TRUE(ReadSearchPath(store, path));
    EXPECT_EQ(path, "/one;/two");
}

} // namespace
} // namespace vesk::test
