#include "ide/designer/ObjectProperties.h"
#include "ide/form/FormView.h"
#include "library/dbtree/VeskDBTreeView.h"
#include "library/package/VeskPackage.h"

#include <QComboBox>
#include <QFontDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace vesk {
namespace {

const std::string Sample = VESK_SOURCE_DIR "/examples/sample/";

class ObjectInspectorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterVeskPackage(); }
    static void TearDownTestSuite() { UnregisterVeskPackage(); }

    void SetUp() override {
        FView.resize(460, 360);
        FInspector.Attach(&FView);
        FInspector.show();
    }
    TComponent* Find(const char* name) { return FForm->Root()->FindComponent(name); }

    std::unique_ptr<TFormFile> FForm = TFormFile::LoadFromFile(Sample + "OrderEntry.dfm");
    TFormView FView{*FForm};
    TObjectInspector FInspector;
};

// Clicks the value cell of a row, as a user opens its editor.
QWidget* ClickValue(TObjectInspector& inspector, const QString& name) {
    QTreeWidgetItem* item = inspector.ItemOf(name);
    if (!item)
        return nullptr;
    QTreeWidget* tree = item->treeWidget();
    if (auto* tabs = inspector.findChild<QTabWidget*>())
        tabs->setCurrentWidget(tree);
    QCoreApplication::processEvents();
    tree->scrollToItem(item);
    const QRect cell = tree->visualItemRect(item);
    const int x = tree->header()->sectionPosition(1) + 10;
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(x, cell.center().y()));
    return inspector.findChild<QWidget*>("InspectorEditor");
}

TEST_F(ObjectInspectorTest, TheSelectedComponentsPublishedPropertiesWithFontAndSetsExpandable) {
    FView.Select(Find("DBEdit1"));
    EXPECT_EQ(FInspector.ValueOf("Name"), "DBEdit1");
    EXPECT_EQ(FInspector.ValueOf("Left"), "8");
    EXPECT_EQ(FInspector.ValueOf("DataField"), "OrderNo");
    EXPECT_EQ(FInspector.ValueOf("DataSource"), "dsOrders");
    EXPECT_EQ(FInspector.ValueOf("Visible"), "True"); // the class's default, not stored
    // Nothing stored, no default, and the edit's live object does not say: blank, not
    // the zero colour.
    EXPECT_EQ(FInspector.ValueOf("Color"), "");
    EXPECT_EQ(FInspector.ValueOf("Font"), "(TFont)");
    QTreeWidgetItem* font = FInspector.ItemOf("Font");
    ASSERT_NE(font, nullptr);
    EXPECT_GT(font->childCount(), 3);
    EXPECT_NE(FInspector.ItemOf("Font.Size"), nullptr);
    EXPECT_EQ(FInspector.ItemOf("Font.Size")->parent(), font);
    EXPECT_EQ(FInspector.ValueOf("Anchors.akLeft"), "True");
    EXPECT_EQ(FInspector.ValueOf("Anchors.akRight"), "False");
    // Events are on their own page, not among the properties.
    QTreeWidgetItem* onChange = FInspector.ItemOf("OnChange");
    ASSERT_NE(onChange, nullptr);
    EXPECT_EQ(onChange->treeWidget()->objectName(), "InspectorEvents");
    EXPECT_EQ(FInspector.ItemOf("Left")->treeWidget()->objectName(), "InspectorProperties");
    // A font's value is the component's Font.Size, not its own Height or Size.
    EXPECT_NE(FInspector.ValueOf("Font.Height"), "21"); // not the control's own Height
    ASSERT_TRUE(FInspector.Commit("Font.Size", "12"));
    TComponent* edit = Find("DBEdit1");
    EXPECT_EQ(edit->GetInt("Font.Size"), 12);
    EXPECT_EQ(edit->FindProperty("Size"), nullptr);
    EXPECT_EQ(edit->GetInt("Height"), 21);
    EXPECT_EQ(FInspector.ValueOf("Font.Size"), "12");
    FView.Select(Find("DBEdit1"));
    font = FInspector.ItemOf("Font");
    font->setExpanded(true);
    FInspector.grab().save(QString(VESK_BINARY_DIR) + "/object-inspector.png");
}

// Opens the inspector's font dialog on the row's button, as a user does; none when it
// does not open. A dialog closed before is gone first.
QFontDialog* OpenFontDialog(TObjectInspector& inspector) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto* dots = qobject_cast<QToolButton*>(inspector.OpenEditor("Font"));
    if (!dots)
        return nullptr;
    QTest::mouseClick(dots, Qt::LeftButton);
    return inspector.findChild<QFontDialog*>("InspectorFontDialog");
}

TEST_F(ObjectInspectorTest, TheFontDialogStartsWithTheShownFontAndSetsItAsOneStep) {
    // A font the machine lacks, left as it was in the dialog, keeps its name.
    FView.Select(Find("DBEdit2"));
    QFontDialog* dialog = OpenFontDialog(FInspector);
    ASSERT_NE(dialog, nullptr);
    QFont chosen = dialog->currentFont();
    EXPECT_EQ(chosen.pointSize(), 8); // the form's Height of -11 pixels
    chosen.setPointSize(10);
    dialog->setCurrentFont(chosen);
    dialog->accept();
    EXPECT_EQ(Find("DBEdit2")->GetString("Font.Name"), "MS Sans Serif");
    EXPECT_EQ(Find("DBEdit2")->GetInt("Font.Size"), 10);

    // On several: the whole font as one step, on each of them.
    FView.SetSelection({Find("DBEdit1"), Find("DBEdit2")});
    dialog = OpenFontDialog(FInspector);
    ASSERT_NE(dialog, nullptr);
    chosen = dialog->currentFont();
    chosen.setFamily("DejaVu Sans"); // installed, with its bold and oblique faces
    chosen.setPointSize(14);
    chosen.setBold(true);
    dialog->setCurrentFont(chosen);
    QSignalSpy changed(&FView, &TFormView::modelChanged);
    dialog->accept();
    EXPECT_EQ(changed.count(), 1);
    for (const char* name : {"DBEdit1", "DBEdit2"}) {
        EXPECT_EQ(Find(name)->GetInt("Font.Size"), 14) << name;
        EXPECT_EQ(Find(name)->GetString("Font.Name"), "DejaVu Sans") << name;
        EXPECT_EQ(Find(name)->GetString("ParentFont"), "False"); // its own font now
    }
    // Opened again, the dialog shows the font as it is now; taking bold off and putting
    // italic on changes only those.
    dialog = OpenFontDialog(FInspector);
    ASSERT_NE(dialog, nullptr);
    chosen = dialog->currentFont();
    EXPECT_TRUE(chosen.bold());
    EXPECT_FALSE(chosen.italic());
    EXPECT_EQ(chosen.pointSize(), 14);
    chosen.setStyleName({}); // the face is picked by weight and slant
    chosen.setBold(false);
    chosen.setItalic(true);
    dialog->setCurrentFont(chosen);
    dialog->accept();
    for (const char* name : {"DBEdit1", "DBEdit2"}) {
        ASSERT_NE(Find(name)->FindProperty("Font.Style"), nullptr) << name;
        EXPECT_EQ(ValueText(Find(name)->FindProperty("Font.Style")->Value), "[fsItalic]") << name;
        EXPECT_EQ(Find(name)->GetInt("Font.Size"), 14) << name;
    }
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(ObjectInspectorTest, SeveralSelectedShowWhatTheyShareAndAnEditAppliesToAll) {
    FView.SetSelection({Find("DBEdit1"), Find("Label1")});
    EXPECT_EQ(FInspector.ItemOf("Name"), nullptr);      // a name is no one's but its own
    EXPECT_EQ(FInspector.ItemOf("DataField"), nullptr); // the label has none
    EXPECT_EQ(FInspector.ValueOf("Left"), "8");         // equal on both
    EXPECT_EQ(FInspector.ValueOf("Top"), "");           // different: shown blank
    QSignalSpy changed(&FView, &TFormView::modelChanged);
    auto* line = qobject_cast<QLineEdit*>(ClickValue(FInspector, "Top"));
    ASSERT_NE(line, nullptr);
    line->setText("40");
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_EQ(Find("DBEdit1")->GetInt("Top"), 40);
    EXPECT_EQ(Find("Label1")->GetInt("Top"), 40);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(FInspector.ValueOf("Top"), "40");
    EXPECT_EQ(FView.WidgetOf(Find("Label1"))->y(), 40);
    // A value the type does not take is refused: nothing changes, the message says why.
    QSignalSpy errors(&FInspector, &TObjectInspector::error);
    EXPECT_FALSE(FInspector.Commit("Top", "high"));
    EXPECT_EQ(errors.count(), 1);
    EXPECT_EQ(Find("DBEdit1")->GetInt("Top"), 40);
    // One undo step takes back the edit on both.
    QTest::keyClick(&FView, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Find("DBEdit1")->GetInt("Top"), 26);
    EXPECT_EQ(Find("Label1")->GetInt("Top"), 12);
    EXPECT_EQ(FInspector.ValueOf("Top"), "");
}

TEST_F(ObjectInspectorTest, EnumerationsColoursAndReferencesOfferTheirValues) {
    FView.Select(Find("Label1"));
    const QStringList aligns = FInspector.ValuesOf("Align");
    ASSERT_FALSE(aligns.isEmpty());
    EXPECT_TRUE(
        std::is_sorted(aligns.begin(), aligns.end(), [](const QString& a, const QString& b) {
            return QString::compare(a, b, Qt::CaseInsensitive) < 0;
        }));
    auto* combo = qobject_cast<QComboBox*>(ClickValue(FInspector, "Align"));
    ASSERT_NE(combo, nullptr);
    EXPECT_FALSE(combo->isEditable()); // a name of the type is picked
    const int top = combo->findText("alTop");
    ASSERT_GE(top, 0);
    combo->setCurrentIndex(top);
    emit combo->activated(top);
    EXPECT_EQ(Find("Label1")->GetString("Align"), "alTop");
    // Colours: the named ones in the host's order; a number may be typed.
    const QStringList colours = FInspector.ValuesOf("Color");
    EXPECT_EQ(colours.first(), "clBlack");
    EXPECT_TRUE(colours.contains("clBtnFace"));
    ASSERT_TRUE(FInspector.Commit("Color", "$00400040"));
    EXPECT_EQ(FInspector.ValueOf("Color"), "$00400040");
    EXPECT_FALSE(FInspector.Commit("Color", "purplish"));
    // A reference offers the form's components of its class, none first.
    const QStringList focus = FInspector.ValuesOf("FocusControl");
    EXPECT_TRUE(focus.contains("DBEdit1"));
    EXPECT_TRUE(focus.contains("DBCheckBox1"));
    EXPECT_FALSE(focus.contains("Label2")); // a label takes no focus
    EXPECT_FALSE(focus.contains("tbOrders"));
    ASSERT_TRUE(FInspector.Commit("FocusControl", "DBEdit2"));
    EXPECT_EQ(Find("Label1")->GetRef("FocusControl"), Find("DBEdit2"));
    ASSERT_TRUE(FInspector.Commit("FocusControl", ""));
    EXPECT_EQ(Find("Label1")->FindProperty("FocusControl"), nullptr);
    // A set element switched on writes the whole set.
    ASSERT_TRUE(FInspector.Commit("Anchors.akRight", "True"));
    EXPECT_NE(FForm->Save().find("Anchors = [akLeft, akTop, akRight]"), std::string::npos);
    EXPECT_EQ(FInspector.ValueOf("Anchors.akRight"), "True");
}

TEST_F(ObjectInspectorTest, RenamingThroughNameRenamesTheComponentAndItsReferences) {
    FView.Select(Find("DBEdit1"));
    auto* line = qobject_cast<QLineEdit*>(ClickValue(FInspector, "Name"));
    ASSERT_NE(line, nullptr);
    line->setText("edOrderNo");
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_EQ(Find("DBEdit1"), nullptr);
    ASSERT_NE(Find("edOrderNo"), nullptr);
    EXPECT_NE(FForm->Save().find("FocusControl = edOrderNo"), std::string::npos);
    EXPECT_EQ(FInspector.ValueOf("Name"), "edOrderNo");
    QSignalSpy errors(&FInspector, &TObjectInspector::error);
    EXPECT_FALSE(FInspector.Commit("Name", "DBEdit2"));
    EXPECT_EQ(errors.count(), 1);
    EXPECT_EQ(FInspector.ValueOf("Name"), "edOrderNo");
}

TEST_F(ObjectInspectorTest, EventsOfferTheUnitsHandlersAndADoubleClickMakesOne) {
    const std::string unit = "unit OrderEntry;\ninterface\ntype\n"
                             "  TfrmOrderEntry = class(TForm)\n    DBEdit1: TDBEdit;\n"
                             "    procedure DBEdit1Change(Sender: TObject);\n"
                             "    procedure FormShow(Sender: TObject);\n"
                             "    procedure DBEdit1KeyDown(Sender: TObject; var Key: Word;\n"
                             "      Shift: TShiftState);\n"
                             "  private\n    procedure Helper;\n  end;\n"
                             "  TOther = class\n    procedure Elsewhere;\n  end;\n"
                             "implementation\nend.\n";
    std::string written;
    std::size_t body = 0;
    FInspector.SetUnitSource([&] { return written.empty() ? unit : written; });
    FInspector.SetUnitSink([&](const std::string& text, std::size_t at) {
        written = text;
        body = at;
    });
    FView.Select(Find("DBEdit2"));
    // Each event offers the methods that can handle it: those with its parameters.
    EXPECT_EQ(FInspector.ValuesOf("OnChange"), (QStringList{"DBEdit1Change", "FormShow"}));
    EXPECT_EQ(FInspector.ValuesOf("OnKeyDown"), QStringList{"DBEdit1KeyDown"});
    EXPECT_EQ(FInspector.ValuesOf("OnKeyPress"), QStringList{});
    ASSERT_TRUE(FInspector.Commit("OnChange", "DBEdit1Change"));
    EXPECT_EQ(Find("DBEdit2")->GetString("OnChange"), "DBEdit1Change");
    QSignalSpy requested(&FInspector, &TObjectInspector::handlerRequested);
    QTreeWidgetItem* onEnter = FInspector.ItemOf("OnEnter");
    ASSERT_NE(onEnter, nullptr);
    QTreeWidget* events = onEnter->treeWidget();
    FInspector.findChild<QTabWidget*>()->setCurrentWidget(events);
    QCoreApplication::processEvents(); // the page laid out
    ASSERT_FALSE(events->visualItemRect(onEnter).isEmpty());
    // On the event's name: a click on the value opens its drop-down.
    const QPoint onName(30, events->visualItemRect(onEnter).center().y());
    QTest::mouseClick(events->viewport(), Qt::LeftButton, {}, onName); // a double click's first
    QTest::mouseDClick(events->viewport(), Qt::LeftButton, {}, onName);
    ASSERT_EQ(requested.count(), 1);
    EXPECT_EQ(requested[0][2].toString(), "DBEdit2Enter");
    EXPECT_EQ(Find("DBEdit2")->GetString("OnEnter"), "DBEdit2Enter");
    // The unit got its declaration and empty body; the editor goes there.
    EXPECT_NE(written.find("    procedure DBEdit2Enter(Sender: TObject);\n  private"),
              std::string::npos);
    EXPECT_EQ(written.substr(body - 6, 6), "begin\n");
    EXPECT_TRUE(FInspector.ValuesOf("OnExit").contains("DBEdit2Enter"));
}

TEST_F(ObjectInspectorTest, TheDataFieldDropDownOffersTheTablesSortedFieldNames) {
    auto form = TFormFile::Parse("object F: TForm1\n  Width = 400\n  Height = 300\n"
                                 "  object Table1: TTable\n    DatabaseName = '" +
                                 Sample +
                                 "customers.db'\n    TableName = 'Book'\n"
                                 "    Left = 300\n    Top = 8\n  end\n"
                                 "  object DataSource1: TDataSource\n"
                                 "    DataSet = Table1\n    Left = 300\n"
                                 "    Top = 48\n  end\n"
                                 "  object Tree1: TVeskDBTreeView\n    Left = 8\n"
                                 "    Top = 8\n    Width = 200\n    Height = 200\n"
                                 "    DataSource = DataSource1\n  end\n"
                                 "  object Tree2: TVeskDBTreeView\n    Left = 220\n"
                                 "    Top = 8\n    Width = 60\n    Height = 60\n"
                                 "    DataSource = DataSource1\n  end\n"
                                 "end\n");
    TFormView view(*form);
    FInspector.Attach(&view);
    TComponent* tree1 = form->Root()->FindComponent("Tree1");
    TComponent* tree2 = form->Root()->FindComponent("Tree2");
    view.SetSelection({tree1, tree2});
    const QStringList fields = FInspector.ValuesOf("DataFieldID");
    EXPECT_EQ(fields, (QStringList{"ID", "ImageIndex", "Name", "OwnerID"}));
    auto* combo = qobject_cast<QComboBox*>(ClickValue(FInspector, "DataFieldText"));
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(combo->isEditable()); // a name may still be typed
    EXPECT_EQ(combo->count(), 4);
    const int name = combo->findText("Name");
    combo->setCurrentIndex(name);
    emit combo->activated(name);
    EXPECT_EQ(tree1->GetString("DataFieldText"), "Name");
    EXPECT_EQ(tree2->GetString("DataFieldText"), "Name");
    FInspector.Attach(nullptr);
}

TEST_F(ObjectInspectorTest, AnOpenTableFillsTheDesignedTreeAndADataFieldEditRebuildsIt) {
    auto form = TFormFile::Parse("object F: TForm1\n  Width = 320\n  Height = 260\n"
                                 "  object Table1: TTable\n    DatabaseName = '" +
                                 Sample +
                                 "customers.db'\n    TableName = 'Book'\n"
                                 "    Active = True\n    Left = 260\n    Top = 8\n  end\n"
                                 "  object DataSource1: TDataSource\n    DataSet = Table1\n"
                                 "    Left = 260\n    Top = 48\n  end\n"
                                 "  object Tree1: TVeskDBTreeView\n    Left = 8\n    Top = 8\n"
                                 "    Width = 240\n    Height = 230\n"
                                 "    DataSource = DataSource1\n    DataFieldID = 'ID'\n"
                                 "    DataFieldOwnerID = 'OwnerID'\n    DataFieldText = 'Name'\n"
                                 "  end\n"
                                 "end\n");
    TFormView view(*form);
    view.resize(360, 320);
    view.show();
    FInspector.Attach(&view);
    TComponent* tree = form->Root()->FindComponent("Tree1");
    auto* live = dynamic_cast<TVeskDBTreeView*>(view.WidgetOf(tree));
    ASSERT_NE(live, nullptr);
    // The real tree of the table: the regions at the top, their cities below.
    ASSERT_GT(live->Items().RootCount(), 0);
    EXPECT_EQ(live->Items().GetFirstNode()->Text(), "North-West");
    EXPECT_GT(live->Items().Count(), live->Items().RootCount());
    view.grab().save(QString(VESK_BINARY_DIR) + "/form-view-live-tree.png");
    // Another text field chosen in the inspector: the tree is made again from it.
    view.Select(tree);
    ASSERT_TRUE(FInspector.Commit("DataFieldText", "ImageIndex"));
    live = dynamic_cast<TVeskDBTreeView*>(view.WidgetOf(form->Root()->FindComponent("Tree1")));
    ASSERT_NE(live, nullptr);
    ASSERT_GT(live->Items().RootCount(), 0);
    EXPECT_EQ(live->Items().GetFirstNode()->Text(), "0");
    FInspector.Attach(nullptr);
}

} // namespace
} // namespace vesk
