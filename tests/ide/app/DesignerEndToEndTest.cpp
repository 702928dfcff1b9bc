// The form designer through the IDE window, with the real packages loaded, on a copy of
// the sample project: a new form is made from the File menu, designed with the mouse
// and keys on the form view, set up in the object inspector, saved into the project and
// read back.
#include "ide/app/UserActions.h"
#include "ide/designer/ComponentPalette.h"
#include "ide/designer/ObjectProperties.h"
#include "ide/form/FormView.h"
#include "ide/project/Environment.h"
#include "ide/project/ProjectFile.h"
#include "platform/forms/FormFile.h"
#include "platform/rtl/FileUtils.h"
#include "tests/ide/app/IdeFixture.h"

#include <QLabel>
#include <QListWidget>
#include <QTreeView>

#include <filesystem>

namespace vesk::test {
namespace {

namespace fs = std::filesystem;

class DesignerEndToEndTest : public IdeFixture {
protected:
    void SetUp() override {
        IdeFixture::SetUp();
        StartOnSampleCopy();
        ASSERT_TRUE(Window().OpenProject(Dir().File("Sample.dpr")));
        FPalette = Window().findChild<TComponentPalette*>("ComponentPalette");
        FInspector = Window().findChild<TObjectInspector*>("ObjectInspector");
        ASSERT_TRUE(FPalette && FInspector);
    }

    TIdeModule* NewForm() {
        Window().findChild<QAction*>("FileNewFormItem")->trigger();
        TIdeModule* module = Window().CurrentModule();
        EXPECT_TRUE(module && module->New() && module->FormShown());
        return module;
    }

    // Drops the class from its palette page at At; the pointer is down afterwards.
    TComponent* Drop(TIdeModule* module, const std::string& className, QPoint at) {
        TComponent* dropped = DropFromPalette(*FPalette, *module->FormView(), className, at);
        EXPECT_NE(dropped, nullptr) << className;
        EXPECT_EQ(FPalette->Picked(), nullptr) << "the pointer is down after a drop";
        return dropped;
    }
    void Select(TIdeModule* module, TComponent* component, Qt::KeyboardModifiers mods = {}) {
        EXPECT_TRUE(ClickComponent(*module->FormView(), component, mods)) << component->Name();
    }
    void Type(const QString& name, const QString& text) {
        EXPECT_TRUE(EnterInInspector(*FInspector, name, text)) << name.toStdString();
    }

    TComponentPalette* FPalette = nullptr;
    TObjectInspector* FInspector = nullptr;
};

TEST_F(DesignerEndToEndTest, ANewFormIsDesignedSetUpOnTheTableSavedIntoTheProjectAndReadBack) {
    TIdeModule* module = NewForm();
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(module->FileName(), Dir().File("Unit1.pas"));
    EXPECT_EQ(module->Form()->Root()->Name(), "Form1");
    EXPECT_FALSE(fs::exists(Dir().File("Unit1.pas"))) << "nothing is written before a save";

    // Dropped from the palette: the next free names, the non-visual ones as tiles.
    TComponent* table = Drop(module, "TTable", QPoint(320, 16));
    TComponent* source = Drop(module, "TDataSource", QPoint(320, 64));
    TComponent* tree = Drop(module, "TVeskDBTreeView", QPoint(12, 12));
    TComponent* label = Drop(module, "TLabelEffect", QPoint(12, 240));
    ASSERT_TRUE(table && source && tree && label);
    EXPECT_EQ(table->Name(), "Table1");
    EXPECT_EQ(source->Name(), "DataSource1");
    EXPECT_EQ(tree->Name(), "VeskDBTreeView1");
    EXPECT_EQ(label->Name(), "LabelEffect1");
    EXPECT_EQ(tree->GetInt("Left"), 12);
    // A dropped control starts at its class's creation size, stored in the form.
    EXPECT_EQ(tree->GetInt("Width"), 121);
    EXPECT_EQ(tree->GetInt("Height"), 97);

    // Set up through the inspector; the relative database name is found in the
    // project's folder, as the program finds it when it runs there.
    Select(module, table);
    Type("DatabaseName", "customers.db");
    Type("TableName", "Book");
    Type("Active", "True");
    EXPECT_EQ(table->GetString("TableName"), "Book");
    EXPECT_EQ(table->GetString("Active"), "True")
        << (Window().MessageView()->count() ? Window().MessageView()->item(0)->text().toStdString()
                                            : "");
    Select(module, source);
    EXPECT_EQ(FInspector->ValuesOf("DataSet"), QStringList{"Table1"});
    Type("DataSet", "Table1");
    Select(module, tree);
    Type("DataSource", "DataSource1");
    EXPECT_EQ(FInspector->ValuesOf("DataFieldID"),
              (QStringList{"ID", "ImageIndex", "Name", "OwnerID"}));
    Type("DataFieldID", "ID");
    Type("DataFieldOwnerID", "OwnerID");
    Type("DataFieldText", "Name");
    // The library's tree is a tree view of Qt's (its class is the loaded package's).
    auto* live = qobject_cast<QTreeView*>(module->FormView()->WidgetOf(tree));
    ASSERT_NE(live, nullptr);
    ASSERT_NE(live->model(), nullptr);
    EXPECT_GT(live->model()->rowCount(), 0) << "the designed tree shows the table's records";

    // A non-visual component is a tile with its class's picture and its name below,
    // moved like any other.
    QWidget* tile = module->FormView()->WidgetOf(table);
    ASSERT_NE(tile, nullptr);
    EXPECT_EQ(tile->size(), QSize(DesignIconSize, DesignIconSize));
    ASSERT_TRUE(DragComponent(*module->FormView(), table, QPoint(8, 16)));
    EXPECT_EQ(table->GetInt("Left"), 328);
    EXPECT_EQ(table->GetInt("Top"), 32);
    auto* caption = module->FormView()->findChild<QLabel*>("Table1Caption");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->text(), "Table1");
    EXPECT_EQ(caption->y(), module->FormView()->WidgetOf(table)->geometry().bottom() + 2);

    // Moved with the mouse, made wider with Shift+Right, both selected and moved down in
    // the inspector at once; Ctrl+Z takes the last step back.
    ASSERT_TRUE(DragComponent(*module->FormView(), tree, QPoint(16, 8)));
    EXPECT_EQ(tree->GetInt("Left"), 28);
    EXPECT_EQ(tree->GetInt("Top"), 20);
    const int width = tree->GetInt("Width");
    QTest::keyClick(module->FormView(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(tree->GetInt("Width"), width + 1);
    Select(module, label, Qt::ShiftModifier);
    ASSERT_EQ(module->FormView()->Selection().size(), 2u);
    Type("Top", "30");
    EXPECT_EQ(tree->GetInt("Top"), 30);
    EXPECT_EQ(label->GetInt("Top"), 30);
    // Undo rebuilds the form's components from its text: they are found again by name.
    QTest::keyClick(module->FormView(), Qt::Key_Z, Qt::ControlModifier);
    tree = module->Form()->Root()->FindComponent("VeskDBTreeView1");
    label = module->Form()->Root()->FindComponent("LabelEffect1");
    ASSERT_TRUE(tree && label);
    EXPECT_EQ(tree->GetInt("Top"), 20);
    EXPECT_EQ(tree->GetInt("Width"), width + 1) << "one step back, not two";
    EXPECT_EQ(label->GetInt("Top"), 240);
    EXPECT_EQ(Window().Tabs()->tabText(Window().Tabs()->currentIndex()), "Unit1.dfm *");

    // Saved: both files, the unit declaring the components, the project naming the unit.
    Window().findChild<QAction*>("FileSaveItem")->trigger();
    EXPECT_FALSE(module->New());
    EXPECT_FALSE(module->Modified());
    const std::string unit = ReadFileContent(Dir().File("Unit1.pas"));
    for (const char* field : {"Table1: TTable;", "DataSource1: TDataSource;",
                              "VeskDBTreeView1: TVeskDBTreeView;", "LabelEffect1: TLabelEffect;"})
        EXPECT_NE(unit.find(field), std::string::npos) << field << "\n" << unit;
    const auto units = ParseProjectUses(ReadFileContent(Dir().File("Sample.dpr")));
    EXPECT_EQ(units.back(), (TProjectUnit{"Unit1", "Unit1.pas", "Form1"}));
    EXPECT_NE(
        ReadFileContent(Dir().File("Sample.dpr")).find("Application.CreateForm(TForm1, Form1);"),
        std::string::npos);

    // Read back: the same form, written again to the same bytes, the tree filled again.
    const std::string form = ReadFileContent(Dir().File("Unit1.dfm"));
    ASSERT_TRUE(Window().CloseModule(module));
    TIdeModule* again = Window().OpenFile(Dir().File("Unit1.dfm"));
    ASSERT_TRUE(again && again->FormShown());
    EXPECT_EQ(again->Form()->Save(), form);
    auto* reread = qobject_cast<QTreeView*>(
        again->FormView()->WidgetOf(again->Form()->Root()->FindComponent("VeskDBTreeView1")));
    ASSERT_NE(reread, nullptr);
    ASSERT_NE(reread->model(), nullptr);
    EXPECT_GT(reread->model()->rowCount(), 0);
    EXPECT_EQ(Window().MessageView()->findItems("Sample.dpr: Unit1 added", Qt::MatchExactly).size(),
              1);
}

TEST_F(DesignerEndToEndTest, NewFormsTakeTheFirstFreeNameAndAFailedSaveChangesNoProject) {
    Dir().Write("Unit1.pas", "unit Unit1;\nend.\n"); // the folder's: not to be written over
    TIdeModule* second = NewForm();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(ExtractFileName(second->FileName()), "Unit2.pas");
    TIdeModule* third = NewForm(); // the unsaved one holds its name too
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(ExtractFileName(third->FileName()), "Unit3.pas");
    EXPECT_EQ(third->Form()->Root()->Name(), "Form3");

    // The form file's place is taken by a folder: the save is refused, nothing changes.
    fs::create_directory(Dir().File("Unit2.dfm"));
    const std::string project = ReadFileContent(Dir().File("Sample.dpr"));
    Answer(QMessageBox::Ok);
    EXPECT_FALSE(Window().SaveModule(second));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].find("Unit2"), std::string::npos) << Boxes()[0];
    EXPECT_TRUE(second->New());
    EXPECT_TRUE(second->Modified());
    EXPECT_FALSE(fs::exists(Dir().File("Unit2.pas")));
    EXPECT_EQ(ReadFileContent(Dir().File("Sample.dpr")), project);

    // Closed without saving: nothing on disk, the project as it was.
    Answer(QMessageBox::No);
    ASSERT_TRUE(Window().CloseModule(third));
    EXPECT_FALSE(fs::exists(Dir().File("Unit3.pas")));
    EXPECT_FALSE(fs::exists(Dir().File("Unit3.dfm")));
    EXPECT_EQ(ReadFileContent(Dir().File("Sample.dpr")), project);
}

TEST_F(DesignerEndToEndTest, TheProjectsSourceOpenInTheEditorTakesTheNewUnitThere) {
    Window().findChild<QAction*>("ProjectViewSourceItem")->trigger();
    TIdeModule* source = Window().FindModule(Dir().File("Sample.dpr"));
    ASSERT_NE(source, nullptr);
    const std::string onDisk = ReadFileContent(Dir().File("Sample.dpr"));
    TIdeModule* module = NewForm();
    ASSERT_NE(module, nullptr);
    ASSERT_TRUE(Window().SaveModule(module));
    // The entry is in the editor, for the user to save with the rest of the project.
    EXPECT_EQ(ParseProjectUses(source->Editor()->Utf8Text()).back(),
              (TProjectUnit{"Unit1", "Unit1.pas", "Form1"}));
    EXPECT_TRUE(source->Modified());
    EXPECT_EQ(ReadFileContent(Dir().File("Sample.dpr")), onDisk);
    ASSERT_TRUE(Window().SaveModule(source));
    EXPECT_EQ(ParseProjectUses(ReadFileContent(Dir().File("Sample.dpr"))).back().Name, "Unit1");
}

} // namespace
} // namespace vesk::test
