// The tree view as a widget driven by real events, the library's registrations, its
// classes read from a form file into live objects, and the field-name editors.
#include "TreeFixture.h"

#include "library/dbtree/VeskDBTreeView.h"
#include "library/effects/LblEffct.h"
#include "library/package/VeskPackage.h"
#include "library/utility/Des.h"
#include "library/utility/VeskFastTm.h"
#include "platform/data/DBTables.h"
#include "platform/design/Palette.h"
#include "platform/forms/FormFile.h"
#include "platform/ota/HeadlessHost.h"
#include "platform/qt/LiveWidget.h"
#include "platform/qt/QtHostServices.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <SQLiteCpp/SQLiteCpp.h>

#include <filesystem>

namespace vesk {
namespace {

using testing::DumpTree;
using testing::TRecord;

// A widget fed by an in-memory data set, shown on the offscreen screen.
class TreeWidget : public ::testing::Test {
protected:
    TreeWidget() : Source(&Records) {
        Records.AddFieldDef("ID", ftInteger);
        Records.AddFieldDef("OwnerID", ftInteger);
        Records.AddFieldDef("Name", ftString, 20);
        Records.AddFieldDef("Image", ftInteger);
        View.resize(240, 200);
    }
    void Connect() {
        TVeskCustomDBTreeView& tree = View.Tree();
        tree.SetDataFieldID("ID");
        tree.SetDataFieldOwnerID("OwnerID");
        tree.SetDataFieldText("Name");
        tree.SetDataSource(&Source);
    }
    void Load(const std::vector<TRecord>& records) {
        Records.Open();
        Records.DisableControls();
        while (!Records.IsEmpty())
            Records.Delete();
        for (const TRecord& r : records)
            Records.AppendRecord(
                {std::int64_t{r.ID}, std::int64_t{r.OwnerID}, r.Text, std::int64_t{r.Image}});
        Records.EnableControls();
    }
    QModelIndex Row(int row, const QModelIndex& parent = {}) {
        return View.model()->index(row, 0, parent);
    }
    QString Text(const QModelIndex& index) { return index.data().toString(); }
    void Click(const QModelIndex& index) {
        QTest::mouseClick(View.viewport(), Qt::LeftButton, {}, View.visualRect(index).center());
    }

    TMemoryDataSet Records;
    TDataSource Source;
    TVeskDBTreeView View;
};

const std::vector<TRecord> Book{{1, 0, "A"}, {2, 1, "B"}, {3, 1, "C"}, {4, 0, "D"}, {5, 4, "E"}};

TEST_F(TreeWidget, ShowsTheNodesTheLogicBuiltAndFollowsTheUser) {
    Connect();
    Load(Book);
    View.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&View));
    // The rows are the logic's nodes, not copies.
    EXPECT_EQ(View.model()->rowCount(), 2);
    EXPECT_EQ(Text(Row(0)), "A");
    EXPECT_EQ(View.NodeAt(Row(1)), View.Items().Root(1));
    EXPECT_EQ(View.model()->rowCount(Row(0)), 2);
    EXPECT_TRUE(View.isExpanded(Row(0))); // the first node, selected and expanded
    EXPECT_EQ(View.currentIndex(), Row(0));

    QSignalSpy changes(&View, &TVeskDBTreeView::OnChange);
    const QModelIndex d = Row(1);
    Click(d);
    EXPECT_EQ(View.Tree().Selected()->Text(), "D");
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes[0][0].value<TTreeNode*>(), View.NodeAt(d));

    QSignalSpy expanded(&View, &TVeskDBTreeView::OnExpanded);
    QTest::keyClick(&View, Qt::Key_Right); // expands the current node
    EXPECT_TRUE(View.NodeAt(d)->Expanded());
    EXPECT_EQ(expanded.count(), 1);
    QTest::keyClick(&View, Qt::Key_Down);
    EXPECT_EQ(View.Tree().Selected()->Text(), "E");

    // A handler may refuse: the selection stays where it was.
    QObject::connect(&View, &TVeskDBTreeView::OnChanging,
                     [](TTreeNode*, bool& allow) { allow = false; });
    Click(Row(0));
    EXPECT_EQ(View.Tree().Selected()->Text(), "E");
    EXPECT_EQ(View.NodeAt(View.currentIndex())->Text(), "E");

    // The logic's own changes show in the widget.
    View.Tree().GetNodeAtID(1)->SetExpanded(false);
    EXPECT_FALSE(View.isExpanded(Row(0)));
    Records.Close();
    EXPECT_EQ(View.model()->rowCount(), 0);
}

TEST_F(TreeWidget, ReCreationByBorderStyleKeepsNodesIdentifiersAndSelection) {
    Connect();
    Load(Book);
    View.show();
    Click(Row(1)); // D, collapsed
    QTest::keyClick(&View, Qt::Key_Right);
    const std::string before = DumpTree(View.Items());
    const int generation = View.WindowGeneration();

    View.Tree().SetBorderStyle(bsNone);
    EXPECT_EQ(View.WindowGeneration(), generation + 1);
    EXPECT_EQ(View.frameShape(), QFrame::NoFrame);
    EXPECT_EQ(DumpTree(View.Items()), before);
    ASSERT_NE(View.Tree().Selected(), nullptr);
    EXPECT_EQ(View.Tree().Selected()->Text(), "D");
    EXPECT_TRUE(View.Tree().Selected()->Expanded());
    EXPECT_TRUE(View.isExpanded(View.IndexOf(View.Tree().Selected())));
    EXPECT_EQ(View.NodeAt(View.currentIndex())->Text(), "D");
    View.Tree().SetBorderStyle(bsNone); // the same value: nothing re-created
    EXPECT_EQ(View.WindowGeneration(), generation + 1);
}

TEST_F(TreeWidget, TheBuildShowsTheWaitCursorAndErrorsReachTheHostsErrorBox) {
    TQtHostServices services;
    SetHostServices(&services);
    Connect();
    std::vector<Qt::CursorShape> during;
    QObject::connect(&View, &TVeskDBTreeView::OnFillNode, [&](TTreeNode*) {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        during.push_back(cursor ? cursor->shape() : Qt::ArrowCursor);
    });
    Load(Book);
    ASSERT_EQ(during.size(), Book.size());
    EXPECT_EQ(during.front(), Qt::WaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr); // given back after the build
    EXPECT_EQ(Screen().Cursor(), crDefault);

    // A handler's error while the user works the view stops at the guard and shows
    // in the host's error box (the headless host records it).
    THeadlessServices headless;
    SetHostServices(&headless);
    View.show();
    QObject::connect(&View, &TVeskDBTreeView::OnExpanded,
                     [](TTreeNode*) { throw EConvertError("handler failed"); });
    View.setCurrentIndex(Row(1));
    QTest::keyClick(&View, Qt::Key_Right);
    EXPECT_TRUE(View.Tree().GetNodeAtID(4)->Expanded());
    ASSERT_EQ(headless.Messages().size(), 1u);
    EXPECT_EQ(headless.Messages()[0].Text, "handler failed");
    SetHostServices(nullptr);
}

TEST_F(TreeWidget, SingleChangesOfTheNodesArriveRowByRow) {
    Connect();
    Load(Book);
    View.show();
    QSignalSpy resets(View.model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserted(View.model(), &QAbstractItemModel::rowsInserted);
    TTreeNode* d = View.Tree().GetNodeAtID(4);
    // Nodes the application adds itself, without an update bracket.
    for (int i = 0; i < 3; ++i)
        View.Items().AddChild(d, "extra " + std::to_string(i));
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(inserted.count(), 3);
    EXPECT_TRUE(View.isExpanded(Row(0))); // A stays open
    EXPECT_EQ(View.model()->rowCount(View.IndexOf(d)), 4);
    EXPECT_EQ(Text(View.model()->index(3, 0, View.IndexOf(d))), "extra 2");
    QSignalSpy changed(View.model(), &QAbstractItemModel::dataChanged);
    d->SetText("Dee");
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(Text(Row(1)), "Dee");
    // Deleting the selected node moves nothing else; as on the host, the view then
    // selects a neighbour, and the logic agrees with it.
    View.Tree().SetSelected(d);
    View.Items().Delete(d);
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(View.model()->rowCount(), 1);
    ASSERT_NE(View.Tree().Selected(), nullptr);
    EXPECT_EQ(View.NodeAt(View.currentIndex()), View.Tree().Selected());
    EXPECT_TRUE(View.isExpanded(Row(0)));
}

TEST_F(TreeWidget, LookPropertiesAndEditing) {
    Connect();
    Load(Book);
    View.show();
    View.Tree().SetIndent(30);
    EXPECT_EQ(View.indentation(), 30);
    View.Tree().SetShowRoot(false);
    EXPECT_FALSE(View.rootIsDecorated());
    QObject::connect(&View, &TVeskDBTreeView::OnEdited,
                     [](TTreeNode*, QString& text) { text += "!"; });
    View.model()->setData(Row(1), QString("Delta"), Qt::EditRole);
    EXPECT_EQ(View.Items().Root(1)->Text(), "Delta!"); // as the handler changed it
    // OnEditing is asked when editing would start, not on every click.
    int asked = 0;
    bool allowEdit = false;
    QObject::connect(&View, &TVeskDBTreeView::OnEditing, [&](TTreeNode*, bool& allow) {
        ++asked;
        allow = allowEdit;
    });
    Click(Row(1)); // selects, nothing more
    EXPECT_EQ(asked, 0);
    QTest::keyClick(&View, Qt::Key_F2);
    EXPECT_EQ(asked, 1);
    auto editor = [&] { return View.viewport()->findChild<QLineEdit*>(); };
    EXPECT_EQ(editor(), nullptr); // refused
    allowEdit = true;
    QTest::keyClick(&View, Qt::Key_F2);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), "Delta!");
    QTest::keyClick(editor(), Qt::Key_Escape);
    View.Tree().SetReadOnly(true);
    EXPECT_FALSE(View.model()->flags(Row(1)) & Qt::ItemIsEditable);
    EXPECT_EQ(View.editTriggers(), QAbstractItemView::NoEditTriggers);

    TImageList images;
    QPixmap red(16, 16);
    red.fill(Qt::red);
    images.Add(red);
    View.SetImages(&images);
    EXPECT_FALSE(Row(0).data(Qt::DecorationRole).value<QIcon>().isNull()); // image index 0
    View.grab().save(QString(VESK_BINARY_DIR) + "/dbtree-widget.png");
}

// Lines drawn or left out: the same tree drawn with ShowLines on and off differs
// only in the branch area left of the texts.
TEST_F(TreeWidget, ShowLinesAndShowButtonsChangeTheBranches) {
    Connect();
    Load(Book);
    View.resize(160, 120);
    View.show();
    View.expand(View.IndexOf(View.Tree().GetNodeAtID(4)));
    const QImage lines = View.viewport()->grab().toImage();
    View.Tree().SetShowLines(false);
    const QImage bare = View.viewport()->grab().toImage();
    View.Tree().SetShowButtons(false);
    const QImage none = View.viewport()->grab().toImage();
    EXPECT_NE(lines, bare);
    EXPECT_NE(bare, none);
    View.Tree().SetShowLines(true);
    View.Tree().SetShowButtons(true);
    View.grab().save(QString(VESK_BINARY_DIR) + "/dbtree-lines.png");
}

class FullBuild : public testing::TreeFixture {
    void TestBody() override {}

public:
    using TreeFixture::Load;
    using TreeFixture::View;
};

TEST_F(TreeWidget, LoadingOnExpandGivesTheFullTreeOnceEverythingIsExpanded) {
    std::vector<TRecord> records{{2, 1, "B"},  {1, 0, "A"},   {3, 1, "C"},  {4, 0, "D"},
                                 {6, 3, "F"},  {7, 6, "G"},   {8, 8, "H"},  {9, 99, "I"},
                                 {10, 4, "J"}, {11, -1, "K"}, {12, 10, "L"}};
    // The full build, from a copy of the records (a view's build notifies every
    // other view of its data set).

    View.Tree().SetLoadOnExpand(true);
    Connect();
    QSignalSpy filled(&View, &TVeskDBTreeView::OnFillNode);
    Load(records);
    // Roots, and the children of the first (expanded) root, only.
    EXPECT_EQ(DumpTree(View.Items()), "A [1]\n  B [2]\n  C [3]\nD [4]\n");
    EXPECT_EQ(filled.count(), 4);
    EXPECT_TRUE(View.Items().Item(2)->HasChildren());  // C holds F back
    EXPECT_EQ(Records.RecNo(), Records.RecordCount()); // as a full build leaves it

    // The user expands D: its children come as inserted rows, and the data set stays
    // on its record.
    View.show();
    Records.SetRecNo(3);
    const QModelIndex d = View.IndexOf(View.Tree().GetNodeAtID(4));
    QSignalSpy resets(View.model(), &QAbstractItemModel::modelReset);
    View.expand(d);
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(View.model()->rowCount(d), 1);
    EXPECT_EQ(Records.RecNo(), 3);
    EXPECT_FALSE(Records.Eof());
    for (int pass = 0; pass < 5; ++pass)
        for (int i = 0; i < View.Items().Count(); ++i)
            View.Items().Item(i)->SetExpanded(true);
    FullBuild full;
    full.Load(records);
    EXPECT_EQ(DumpTree(View.Items()), DumpTree(full.View.Items()));
}

// ---- the package and the registry

TEST(VeskPackage, RegisterPutsTheFiveComponentsOnThePageVesk) {
    RegisterVeskPackage();
    RegisterVeskPackage(); // again: nothing doubles
    std::vector<std::string> names;
    for (const TClassInfo* c : PaletteClasses("Vesk"))
        names.push_back(c->ClassName());
    EXPECT_EQ(names,
              (std::vector<std::string>{"TVeskDBTreeView", "TLabelEffect", "TVeskSpeedButton",
                                        "TVeskFastTime", "TEncryption"}));
    const TClassInfo* view = FindClassInfo("TVeskDBTreeView");
    for (const char* field :
         {"DataFieldID", "DataFieldOwnerID", "DataFieldText", "DataFieldImageIndex"})
        EXPECT_EQ(GetEditorClass(*view->FindProp(field), view).Name, "TDataFieldProperty");
    EXPECT_EQ(GetEditorClass(*view->FindProp("Hint"), view).Name, "TStringProperty");
    for (const TClassInfo* c : PaletteClasses("Vesk"))
        EXPECT_EQ(c->Package(), "Vesk");

    UnregisterVeskPackage();
    EXPECT_TRUE(PaletteClasses("Vesk").empty());
    EXPECT_EQ(FindClassInfo("TLabelEffect"), nullptr);
    RegisterVeskPackage();
    EXPECT_EQ(PaletteClasses("Vesk").size(), 5u);
}

TEST(VeskPackage, EveryClassWithItsPropertiesAndDefaults) {
    RegisterVeskPackage();
    const TClassInfo* view = FindClassInfo("TVeskDBTreeView");
    ASSERT_NE(view, nullptr);
    const auto& own = view->OwnProperties();
    const std::vector<std::string> first{"DataSource",          "DataFieldID",   "DataFieldOwnerID",
                                         "DataFieldImageIndex", "DataFieldText", "OnFillNode",
                                         "ShowButtons",         "BorderStyle"};
    for (std::size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ(own[i].Name, first[i]);
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_FALSE(own[i].Default) << own[i].Name; // always stored
    EXPECT_EQ(own.back().Name, "StateImages");
    EXPECT_EQ(ValueText(*view->FindProp("ShowButtons")->Default), "True");
    EXPECT_EQ(ValueText(*view->FindProp("Color")->Default), "clWindow");
    EXPECT_TRUE(view->IsControl());

    const TClassInfo* clock = FindClassInfo("TVeskFastTime");
    EXPECT_FALSE(clock->IsControl());
    for (const char* name : {"DisplayControl", "DisplayCaption", "WaitCursor", "Decimal"})
        EXPECT_FALSE(clock->FindProp(name)->Default) << name;
    EXPECT_TRUE(clock->FindProp("DisplayControl")->RefersToComponent());
    const TClassInfo* cipher = FindClassInfo("TEncryption");
    EXPECT_EQ(cipher->OwnProperties().size(), 3u);
    EXPECT_EQ(ValueText(*FindClassInfo("TLabelEffect")->FindProp("DirectionShadow")->Default),
              "edDownRight");
    EXPECT_EQ(FindClassInfo("TVeskSpeedButton")->FindProp("Radius")->Default, std::nullopt);
}

// A SQLite book in a temporary folder, removed afterwards.
class BookDatabase {
public:
    BookDatabase() {
        Path = (std::filesystem::temp_directory_path() /
                ("vesk-design-" + std::to_string(::getpid()) + ".db"))
                   .string();
        std::filesystem::remove(Path);
        SQLite::Database db(Path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        db.exec("CREATE TABLE Book (ID INTEGER, OwnerID INTEGER, Name VARCHAR(20), Pic INTEGER)");
        db.exec("INSERT INTO Book VALUES (1, 0, 'A', 0), (2, 1, 'B', 0), (3, 0, 'C', 0)");
    }
    ~BookDatabase() { std::filesystem::remove(Path); }
    std::string Path;
};

TEST(TreeWidgetRefresh, KeepsTheSelectionByIdentifierWhenAsked) {
    BookDatabase book;
    TTable table;
    table.SetDatabaseName(book.Path);
    table.SetTableName("Book");
    TDataSource source(&table);
    TVeskDBTreeView view;
    view.Tree().SetDataFieldID("ID");
    view.Tree().SetDataFieldOwnerID("OwnerID");
    view.Tree().SetDataFieldText("Name");
    view.Tree().SetDataSource(&source);
    table.Open();
    auto insertBeforeC = [&](int id) {
        SQLite::Database db(book.Path, SQLite::OPEN_READWRITE);
        db.exec("INSERT INTO Book VALUES (" + std::to_string(id) + ", 1, 'Z', 0)");
    };
    view.Tree().SetSelected(view.Tree().GetNodeAtID(3)); // C, at 2
    insertBeforeC(4);
    view.Tree().RefreshTree();
    EXPECT_EQ(view.Tree().Selected()->Text(), "Z"); // by position, as the host does
    view.Tree().SetKeepSelectionByID(true);
    view.Tree().SetSelected(view.Tree().GetNodeAtID(3));
    insertBeforeC(5);
    view.Tree().RefreshTree();
    EXPECT_EQ(view.Tree().Selected()->Text(), "C");
    EXPECT_EQ(view.NodeAt(view.currentIndex()), view.Tree().Selected());
}

std::string LibraryForm(const std::string& database) {
    return "object Form1: TForm1\n"
           "  Left = 10\n  Top = 20\n  Width = 400\n  Height = 300\n"
           "  Caption = 'Library'\n"
           "  object Tree: TVeskDBTreeView\n"
           "    Left = 8\n    Top = 8\n    Width = 200\n    Height = 150\n"
           "    DataSource = Source\n"
           "    DataFieldID = 'ID'\n    DataFieldOwnerID = 'OwnerID'\n"
           "    DataFieldImageIndex = ''\n    DataFieldText = 'Name'\n"
           "    BorderStyle = bsNone\n    Indent = 25\n    ReadOnly = True\n"
           "    Color = clYellow\n    Font.Height = -16\n"
           "  end\n"
           "  object Title: TLabelEffect\n"
           "    Left = 210\n    Top = 8\n    Width = 180\n    Height = 40\n"
           "    Caption = 'Books'\n    EffectStyle = esSunken\n    Font.Style = [fsBold]\n"
           "  end\n"
           "  object Ring: TVeskSpeedButton\n"
           "    Left = 210\n    Top = 60\n    Radius = 20\n    LeftBorder = ctRaised\n"
           "    RightBorder = ctRaised\n    Flat = True\n"
           "  end\n"
           "  object Clock: TVeskFastTime\n"
           "    DisplayControl = Title\n    DisplayCaption = 'Took: '\n"
           "    WaitCursor = False\n    Decimal = 3\n"
           "  end\n"
           "  object Cipher: TEncryption\n    Key = 'secret'\n  end\n"
           "  object Source: TDataSource\n    DataSet = Table\n  end\n"
           "  object Table: TTable\n"
           "    Active = True\n    DatabaseName = '" +
           database +
           "'\n    TableName = 'Book'\n"
           "  end\n"
           "end\n";
}

TEST(LiveForm, AFormOfLibraryComponentsShownLiveAndWrittenBackUnchanged) {
    RegisterVeskPackage();
    BookDatabase book;
    const std::string text = LibraryForm(book.Path);
    auto form = TFormFile::Parse(text);
    TLiveForm live(*form->Root());
    EXPECT_EQ(live.Count(), 8);
    auto* tree = LiveObjectAs<TVeskDBTreeView>(live.FindLive("Tree"));
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->parentWidget(), LiveWidget(live.Root()));
    EXPECT_EQ(DumpTree(tree->Items()), "A [1]\n  B [2]\nC [3]\n"); // the table opened
    EXPECT_EQ(tree->Tree().BorderStyle(), bsNone);
    EXPECT_EQ(tree->indentation(), 25);
    EXPECT_EQ(tree->palette().color(QPalette::Base), QColor(Qt::yellow));
    EXPECT_EQ(tree->Font().Size, 12);
    EXPECT_EQ(tree->geometry(), QRect(8, 8, 200, 150));
    auto* title = LiveObjectAs<TLabelEffect>(live.FindLive("Title"));
    EXPECT_EQ(title->EffectStyle(), esSunken);
    EXPECT_EQ(title->Font().Style, fsBold);
    auto* clock = LiveObjectAs<TVeskFastTime>(live.FindLive("Clock"));
    EXPECT_EQ(clock->DisplayControl(), title);
    EXPECT_EQ(clock->Decimal(), 3);
    EXPECT_EQ(LiveObjectAs<TEncryption>(live.FindLive("Cipher"))->GetKey(), "secret");
    EXPECT_EQ(LiveWidget(live.Root())->windowTitle(), "Library");
    LiveWidget(live.Root())->grab().save(QString(VESK_BINARY_DIR) + "/live-form.png");
    EXPECT_EQ(form->Save(), text);
}

// ---- the field-name editors

class FieldEditors : public ::testing::Test {
protected:
    FieldEditors() { RegisterVeskPackage(); }
    std::vector<std::string> Offered(std::vector<TComponent*> components,
                                     const char* property = "DataFieldText") {
        auto editor = CreatePropertyEditor(std::move(components), property);
        EXPECT_TRUE(editor);
        std::vector<std::string> values;
        if (editor)
            editor->GetValues([&](const std::string& v) { values.push_back(v); });
        return values;
    }
    BookDatabase Book;
};

TEST_F(FieldEditors, NamesComeFromTheFirstComponentsDataSet) {
    auto form =
        TFormFile::Parse("object F: TForm\n"
                         "  object T1: TVeskDBTreeView\n    DataSource = S1\n  end\n"
                         "  object T2: TVeskDBTreeView\n    DataSource = S2\n  end\n"
                         "  object T3: TVeskDBTreeView\n  end\n"
                         "  object T4: TVeskDBTreeView\n    DataSource = Empty\n  end\n"
                         "  object T5: TVeskDBTreeView\n    DataSource = Table\n  end\n"
                         "  object S1: TDataSource\n    DataSet = Table\n  end\n"
                         "  object S2: TDataSource\n    DataSet = Mem\n  end\n"
                         "  object Empty: TDataSource\n  end\n"
                         "  object Table: TTable\n    DatabaseName = '" +
                         Book.Path +
                         "'\n    TableName = 'Book'\n  end\n"
                         "  object Mem: TTable\n"
                         "    object MemZeta: TStringField\n      FieldName = 'Zeta'\n    end\n"
                         "    object MemAlpha: TIntegerField\n      FieldName = 'Alpha'\n    end\n"
                         "  end\n"
                         "end\n");
    auto c = [&](const char* name) { return form->Root()->FindComponent(name); };
    auto editor = CreatePropertyEditor({c("T1")}, "DataFieldID");
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->GetAttributes(),
              (TPropertyAttributes{paValueList, paMultiSelect, paSortList}));
    EXPECT_EQ(dynamic_cast<TDataFieldProperty&>(*editor).DataSourcePropName(), "DataSource");
    // A closed table offers its columns; persistent fields their own names, in their
    // order (the inspector sorts them).
    EXPECT_EQ(Offered({c("T1")}), (std::vector<std::string>{"ID", "OwnerID", "Name", "Pic"}));
    EXPECT_EQ(Offered({c("T2"), c("T1")}), (std::vector<std::string>{"Zeta", "Alpha"}));
    EXPECT_TRUE(Offered({c("T3")}).empty()); // no data source
    EXPECT_TRUE(Offered({c("T4")}).empty()); // a data source without a data set
    EXPECT_THROW(Offered({c("T5")}), EInvalidCast);
    // Any value may still be typed.
    editor->SetValue("NoSuchField");
    EXPECT_EQ(c("T1")->GetString("DataFieldID"), "NoSuchField");
}

TEST_F(FieldEditors, AComponentWithoutAClassTypedDataSourceOffersNothing) {
    TPackageScope package("FieldEditorTest");
    TClassRegistry::Instance()
        .Register("TOddControl", "TWinControl")
        .Add(StrProp("DataSource"))
        .Add(StrProp("DataField"));
    const TClassInfo* odd = FindClassInfo("TOddControl");
    RegisterPropertyEditor("string", odd, "DataField",
                           EditorClassOf<TDataFieldProperty>("TDataFieldProperty"));
    RegisterPropertyEditor("string", FindClassInfo("TLabel"), "Caption",
                           EditorClassOf<TDataFieldProperty>("TDataFieldProperty"));
    auto form = TFormFile::Parse("object F: TForm\n"
                                 "  object O: TOddControl\n    DataSource = 'S'\n  end\n"
                                 "  object L: TLabel\n  end\n"
                                 "  object S: TDataSource\n  end\n"
                                 "end\n");
    EXPECT_TRUE(Offered({form->Root()->FindComponent("O")}, "DataField").empty());
    EXPECT_TRUE(Offered({form->Root()->FindComponent("L")}, "Caption").empty());
    UnregisterPackage("FieldEditorTest");
}

} // namespace
} // namespace vesk
