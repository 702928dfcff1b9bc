// The tool services against the real window: what the add-in sees of the menus, the
// editors, the modules and the forms, and what its calls do to them.
#include "platform/forms/FormFile.h"
#include "platform/ota/ShortCut.h"
#include "platform/rtl/FileUtils.h"
#include "tests/ide/app/IdeFixture.h"

#include <QListWidget>
#include <QMenuBar>
#include <QTabWidget>

namespace vesk::test {
namespace {

using ToolServicesTest = IdeFixture;

std::vector<std::string> Captions(TIMenuItemIntf* list) {
    std::vector<std::string> captions;
    for (int i = 0; i < list->GetItemCount(); ++i) {
        TIntfPtr<TIMenuItemIntf> item(list->GetItem(i));
        captions.push_back(item->GetCaption());
    }
    return captions;
}

TIMenuItemIntf* TopLevel() {
    TIntfPtr<TIMainMenuIntf> menu(ToolServices->GetMainMenu());
    return menu ? menu->GetMenuItems() : nullptr;
}

// A "Vesk" menu before Help, as the add-in makes it; the caller holds the handle.
TIMenuItemIntf* AddVeskMenu() {
    TIntfPtr<TIMenuItemIntf> top(TopLevel());
    return top->InsertItem(top->GetItemCount() - 1, "Vesk", "ExpertsItem", "", 0, 0, 0,
                           mfEnabled | mfVisible, {});
}

TEST_F(ToolServicesTest, MenusAreInsertedAmongTheTopLevelMenusAndTakenOutAgain) {
    ASSERT_EQ(ToolServices, &Window().Tools());
    TIntfPtr<TIMenuItemIntf> top(TopLevel());
    ASSERT_TRUE(top);
    EXPECT_EQ(Captions(top.Get()),
              (std::vector<std::string>{"&File", "&Edit", "&Search", "&View", "&Project", "&Run",
                                        "&Component", "&Tools", "&Help"}));
    EXPECT_EQ(top->GetParent(), nullptr);
    EXPECT_EQ(top->GetIndex(), -1);

    // At count - 1: before Help.
    TIntfPtr<TIMenuItemIntf> vesk(top->InsertItem(top->GetItemCount() - 1, "Vesk", "ExpertsItem",
                                                  "", 0, 0, 0, mfEnabled | mfVisible, {}));
    ASSERT_TRUE(vesk);
    std::vector<std::string> captions = Captions(top.Get());
    ASSERT_EQ(captions.size(), 10u);
    EXPECT_EQ(captions[8], "Vesk");
    EXPECT_EQ(captions[9], "&Help");
    EXPECT_EQ(vesk->GetIndex(), 8);
    EXPECT_EQ(vesk->GetName(), "ExpertsItem");

    // Sub-items, each at the end; what they carry comes back as given.
    int clicks = 0;
    TIntfPtr<TIMenuItemIntf> find(
        vesk->InsertItem(0, "Find Source", "FindItem", "a hint", TextToShortCut("Alt+Enter"), 7, 3,
                         mfEnabled | mfVisible, [&](TIMenuItemIntf*) { ++clicks; }));
    TIntfPtr<TIMenuItemIntf> sep(
        vesk->InsertItem(1, "-", "SepItem", "", 0, 0, 0, mfEnabled | mfVisible, {}));
    TIntfPtr<TIMenuItemIntf> about(
        vesk->InsertItem(99, "&About...", "AboutItem", "", 0, 0, 0, mfEnabled | mfVisible, {}));
    EXPECT_EQ(Captions(vesk.Get()), (std::vector<std::string>{"Find Source", "-", "&About..."}));
    EXPECT_EQ(find->GetShortCut(), 0x800D);
    EXPECT_EQ(find->GetHint(), "a hint");
    EXPECT_EQ(find->GetContext(), 7);
    EXPECT_EQ(find->GetGroupIndex(), 3);
    EXPECT_EQ(about->GetIndex(), 2);
    TIntfPtr<TIMenuItemIntf> parent(about->GetParent());
    ASSERT_TRUE(parent);
    EXPECT_EQ(parent->GetName(), "ExpertsItem");
    TIntfPtr<TIMenuItemIntf> grand(parent->GetParent());
    ASSERT_TRUE(grand);
    EXPECT_EQ(grand->GetItemCount(), 10);
    QMenu* qmenu = Window().menuBar()->findChild<QMenu*>("ExpertsItem");
    ASSERT_NE(qmenu, nullptr);
    ASSERT_EQ(qmenu->actions().size(), 3);
    EXPECT_TRUE(qmenu->actions()[1]->isSeparator());
    EXPECT_EQ(qmenu->actions()[0]->shortcuts().value(0), QKeySequence(Qt::ALT | Qt::Key_Return));

    // Flags: disabled items do not run, hidden ones are not shown.
    find->SetFlags(mfEnabled, 0);
    EXPECT_EQ(find->GetFlags() & (mfEnabled | mfVisible), mfVisible);
    EXPECT_FALSE(qmenu->actions()[0]->isEnabled());
    find->SetFlags(mfEnabled, mfEnabled);
    find->SetCaption("Find &Source");
    EXPECT_EQ(qmenu->actions()[0]->text(), "Find &Source");
    qmenu->actions()[0]->trigger();
    EXPECT_EQ(clicks, 1);

    // Taken out: the menu and its items go; the handles left answer as for nothing.
    EXPECT_TRUE(vesk->DestroyMenuItem());
    EXPECT_EQ(Window().menuBar()->findChild<QMenu*>("ExpertsItem"), nullptr);
    EXPECT_EQ(Captions(top.Get()).size(), 9u);
    EXPECT_FALSE(vesk->DestroyMenuItem());
    EXPECT_FALSE(find->DestroyMenuItem());
    EXPECT_EQ(find->GetCaption(), "");
    EXPECT_EQ(find->GetItemCount(), 0);
    EXPECT_EQ(find->InsertItem(0, "x", "x", "", 0, 0, 0, mfEnabled | mfVisible, {}), nullptr);
    EXPECT_FALSE(top->DestroyMenuItem()); // the list itself stays
}

TEST_F(ToolServicesTest, AShortcutRunsItsItemWhereverTheFocusIs) {
    TIdeModule* a = Open("A.pas", "unit A;\nend.\n");
    ASSERT_NE(a, nullptr);
    TIntfPtr<TIMenuItemIntf> vesk(AddVeskMenu());
    std::vector<std::string> picked;
    auto add = [&](const char* caption, const char* key) {
        return TIntfPtr<TIMenuItemIntf>(
            vesk->InsertItem(vesk->GetItemCount(), caption, caption, "", TextToShortCut(key), 0, 0,
                             mfEnabled | mfVisible, [&picked, caption](TIMenuItemIntf* sender) {
                                 picked.push_back(caption + (":" + sender->GetName()));
                             }));
    };
    auto nav = add("MNavItem", "Alt+M");
    auto find = add("FindItem", "Alt+Enter");
    auto favourites = add("FFavorItem", "Alt+F"); // also the letter of "&File"
    auto packages = add("PackagesItem", "Alt+P"); // and of "&Project"

    a->Editor()->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), a->Editor());
    QTest::keyClick(a->Editor(), Qt::Key_M, Qt::AltModifier);
    QTest::keyClick(a->Editor(), Qt::Key_Return, Qt::AltModifier);
    QTest::keyClick(a->Editor(), Qt::Key_Enter, Qt::AltModifier | Qt::KeypadModifier);
    QTest::keyClick(a->Editor(), Qt::Key_F, Qt::AltModifier);
    QTest::keyClick(Window().MessageView(), Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(picked, (std::vector<std::string>{"MNavItem:MNavItem", "FindItem:FindItem",
                                                "FindItem:FindItem", "FFavorItem:FFavorItem",
                                                "PackagesItem:PackagesItem"}));
    EXPECT_EQ(a->Editor()->Utf8Text(), "unit A;\nend.\n"); // no key reached the text
    EXPECT_EQ(QApplication::focusWidget(), a->Editor());   // the focus is back
}

TEST_F(ToolServicesTest, AFaultInAHandlerIsShownAndTheIdeGoesOn) {
    TIdeModule* a = Open("A.pas", "unit A;\n");
    ASSERT_NE(a, nullptr);
    TIntfPtr<TIMenuItemIntf> vesk(AddVeskMenu());
    TIntfPtr<TIMenuItemIntf> bad(vesk->InsertItem(
        0, "Bad", "BadItem", "", TextToShortCut("Alt+B"), 0, 0, mfEnabled | mfVisible,
        [](TIMenuItemIntf*) { throw Exception("the tool broke"); }));
    // An item that takes itself out of the menu while it runs.
    TIntfPtr<TIMenuItemIntf> once(vesk->InsertItem(
        1, "Once", "OnceItem", "", TextToShortCut("Alt+O"), 0, 0, mfEnabled | mfVisible,
        [](TIMenuItemIntf* sender) { EXPECT_TRUE(sender->DestroyMenuItem()); }));
    Answer(QMessageBox::Ok);
    QTest::keyClick(a->Editor(), Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"the tool broke"}));
    QTest::keyClick(a->Editor(), Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(Captions(vesk.Get()), (std::vector<std::string>{"Bad"}));
    EXPECT_EQ(once->GetCaption(), "");
    EXPECT_TRUE(Window().isVisible());
}

TEST_F(ToolServicesTest, TheEditorIsReadAndPositionedAsTheAddInCountsIt) {
    const std::string text = "unit A;\n\ncaf\xC3\xA9 := 1;\nend.\n";
    TIdeModule* a = Open("A.pas", text);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(ToolServices->GetCurrentFile(), a->FileName());
    TIntfPtr<TIModuleInterface> module(ToolServices->GetModuleInterface(a->FileName()));
    ASSERT_TRUE(module);
    EXPECT_EQ(module->GetFormInterface(), nullptr);
    EXPECT_FALSE(module->ShowForm());
    TIntfPtr<TIEditorInterface> editor(module->GetEditorInterface());
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->FileName(), a->FileName());
    EXPECT_EQ(editor->GetViewCount(), 1);
    EXPECT_EQ(editor->GetView(1), nullptr);

    // The buffer's bytes from 0-based positions, in pieces; short only at the end.
    TIntfPtr<TIEditReader> reader(editor->CreateReader());
    char buffer[8];
    std::string read;
    for (int position = 0;; position += 5) {
        const int n = reader->GetText(position, buffer, 5);
        read.append(buffer, static_cast<std::size_t>(n));
        if (n < 5)
            break;
    }
    EXPECT_EQ(read, text);
    EXPECT_EQ(reader->GetText(static_cast<int>(text.size()), buffer, 5), 0);
    EXPECT_EQ(reader->GetText(-1, buffer, 5), 0);

    // Columns and lines from 1; a column counts bytes; beyond a line's end it is held at
    // the end.
    TIntfPtr<TIEditView> view(editor->GetView(0));
    view->SetPos(EditViewCursor, {6, 3}); // after the two bytes of "é"
    EXPECT_EQ(a->Editor()->CaretPos(), (TEditPos{6, 3}));
    EXPECT_EQ(view->GetPos(EditViewCursor), (TEditPos{6, 3}));
    a->Editor()->insert("!");
    EXPECT_NE(a->Editor()->Utf8Text().find("caf\xC3\xA9!"), std::string::npos);
    view->SetPos(EditViewCursor, {99, 1});
    EXPECT_EQ(view->GetPos(EditViewCursor), (TEditPos{8, 1}));
    view->SetPos(EditViewCursor, {1, 999});
    EXPECT_EQ(view->GetPos(EditViewCursor).Line, 5); // the empty last line

    // The top line.
    std::string many;
    for (int i = 1; i <= 300; ++i)
        many += "line " + std::to_string(i) + "\n";
    TIdeModule* b = Open("B.pas", many);
    TIntfPtr<TIModuleInterface> bm(ToolServices->GetModuleInterface(b->FileName()));
    TIntfPtr<TIEditorInterface> be(bm->GetEditorInterface());
    TIntfPtr<TIEditView> bv(be->GetView(0));
    bv->SetPos(EditViewCursor, {1, 120});
    bv->SetPos(EditViewTop, {1, 110});
    EXPECT_EQ(bv->GetPos(EditViewTop), (TEditPos{1, 110}));
    EXPECT_EQ(b->Editor()->CaretPos(), (TEditPos{1, 120}));
    EXPECT_EQ(ToolServices->GetCurrentFile(), b->FileName());

    // A module closed under a handle: the handle answers as for nothing.
    Answer(QMessageBox::No);
    ASSERT_TRUE(Window().CloseModule(a));
    EXPECT_EQ(reader->GetText(0, buffer, 5), 0);
    EXPECT_EQ(editor->FileName(), "");
    EXPECT_EQ(module->GetEditorInterface(), nullptr);
    view->SetPos(EditViewCursor, {1, 1}); // nothing to move, nothing breaks
    EXPECT_EQ(ToolServices->GetModuleInterface(Dir().File("A.pas")), nullptr);
}

TEST_F(ToolServicesTest, ModulesFormsAndComponents) {
    Dir().Write("Order.pas", "unit Order;\ninterface\ntype\n  TOrder = class(TForm)\n"
                             "    Edit1: TEdit;\n  end;\nend.\n");
    Dir().Write("Order.dfm", "object frmOrder: TOrder\n  Left = 8\n  Caption = 'Orders'\n"
                             "  object Edit1: TEdit\n  end\nend\n");
    TIdeModule* order = Window().OpenFile(Dir().File("Order.pas"));
    ASSERT_NE(order, nullptr);
    // Asked for by the unit's name in any case; the form's name is no module's name.
    TIntfPtr<TIModuleInterface> module(ToolServices->GetModuleInterface(Dir().File("ORDER.PAS")));
    ASSERT_TRUE(module);
    EXPECT_EQ(ToolServices->GetModuleInterface(Dir().File("Order.dfm")), nullptr);
    TIntfPtr<TIFormInterface> form(module->GetFormInterface());
    ASSERT_TRUE(form);
    EXPECT_EQ(form->FileName(), Dir().File("Order.dfm"));
    TIntfPtr<TIComponentInterface> root(form->GetFormComponent());
    ASSERT_TRUE(root);
    EXPECT_EQ(root->GetComponentType(), "TOrder");
    std::string value;
    ASSERT_TRUE(root->GetPropValueByName("Name", value));
    EXPECT_EQ(value, "frmOrder");
    ASSERT_TRUE(root->GetPropValueByName("left", value));
    EXPECT_EQ(value, "8");
    ASSERT_TRUE(root->GetPropValueByName("Caption", value));
    EXPECT_EQ(value, "Orders");
    EXPECT_FALSE(root->GetPropValueByName("Nothing", value));

    // ShowForm shows the form on the module's page: the current file is the form's.
    EXPECT_TRUE(module->ShowForm());
    EXPECT_TRUE(order->FormShown());
    EXPECT_EQ(ToolServices->GetCurrentFile(), Dir().File("Order.dfm"));
    // The designer's open form is on the screen the add-in sees.
    ASSERT_EQ(Screen().FormCount(), 1);
    EXPECT_EQ(Screen().Forms(0), order->Form()->Root());
    ASSERT_TRUE(Window().CloseModule(order));
    EXPECT_EQ(Screen().FormCount(), 0);
    EXPECT_FALSE(module->ShowForm());
    EXPECT_EQ(module->GetFormInterface(), nullptr);
    EXPECT_FALSE(root->GetPropValueByName("Name", value));
}

TEST_F(ToolServicesTest, ProjectAndFileCallsWithTheUsersAnswers) {
    const std::string unit = Dir().Write("U.pas", "unit U;\n");
    const std::string project =
        Dir().Write("P.dpr", "program P;\nuses U in 'U.pas';\nbegin end.\n");
    const std::string other = Dir().Write("Q.dpr", "program Q;\nbegin end.\n");
    EXPECT_TRUE(ToolServices->OpenProject(project));
    ASSERT_EQ(Window().Modules().size(), 1u);
    TIdeModule* u = Window().Modules()[0].get();
    u->Editor()->insert("changed ");

    // The user cancels: CloseProject is false and so is opening another project.
    Answer(QMessageBox::Cancel);
    EXPECT_FALSE(ToolServices->CloseProject());
    Answer(QMessageBox::Cancel);
    EXPECT_FALSE(ToolServices->OpenProject(other));
    EXPECT_EQ(Window().ProjectFile(), project);
    EXPECT_EQ(Window().Modules().size(), 1u);

    // OpenFile opens any file; a .dpr through it is a text, not the project.
    EXPECT_TRUE(ToolServices->OpenFile(other));
    EXPECT_EQ(ToolServices->GetCurrentFile(), other);
    EXPECT_EQ(Window().ProjectFile(), project);
    Answer(QMessageBox::Ok);
    EXPECT_FALSE(ToolServices->OpenFile(Dir().File("none.pas")));

    // Yes saves, and the project closes.
    Answer(QMessageBox::Yes);
    EXPECT_TRUE(ToolServices->CloseProject());
    EXPECT_EQ(Window().ProjectFile(), "");
    EXPECT_TRUE(Window().Modules().empty());
    EXPECT_EQ(ReadFileContent(unit), "changed unit U;\n");
    EXPECT_EQ(ToolServices->GetCurrentFile(), "");
}

} // namespace
} // namespace vesk::test
