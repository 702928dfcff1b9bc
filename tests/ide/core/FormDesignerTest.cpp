#include "ide/core/FormDesigner.h"
#include "library/package/VeskPackage.h"
#include "platform/design/PropertyEditors.h"
#include "platform/forms/UnitFields.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/FileUtils.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vesk {
namespace {

const std::string Sample = VESK_SOURCE_DIR "/examples/sample/";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// The lines of After that are not the line at the same place in Before.
std::vector<std::string> ChangedLines(const std::string& before, const std::string& after) {
    const auto a = Lines(before), b = Lines(after);
    std::vector<std::string> out;
    for (std::size_t i = 0; i < b.size(); ++i)
        if (i >= a.size() || a[i] != b[i])
            out.push_back(b[i]);
    return out;
}

const char* const PanelForm = "object Form1: TForm1\r\n"
                              "  Left = 0\r\n"
                              "  Top = 0\r\n"
                              "  Width = 300\r\n"
                              "  Height = 200\r\n"
                              "  object Panel1: TPanel\r\n"
                              "    Left = 10\r\n"
                              "    Top = 10\r\n"
                              "    Width = 120\r\n"
                              "    Height = 80\r\n"
                              "    object Edit1: TEdit\r\n"
                              "      Left = 4\r\n"
                              "      Top = 4\r\n"
                              "      Width = 60\r\n"
                              "      Height = 21\r\n"
                              "    end\r\n"
                              "  end\r\n"
                              "  object Label1: TLabel\r\n"
                              "    Left = 150\r\n"
                              "    Top = 10\r\n"
                              "    Width = 40\r\n"
                              "    Height = 13\r\n"
                              "    Caption = 'Name'\r\n"
                              "    FocusControl = Edit1\r\n"
                              "  end\r\n"
                              "end\r\n";

class FormDesignerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterVeskPackage(); }
    static void TearDownTestSuite() { UnregisterVeskPackage(); }

    TComponent* Find(const char* name) { return FForm->Root()->FindComponent(name); }

    std::unique_ptr<TFormFile> FForm = TFormFile::LoadFromFile(Sample + "OrderEntry.dfm");
    std::string FOriginal = FForm->Save();
    TFormDesigner FDesigner{*FForm};
};

TEST_F(FormDesignerTest, MovingWithTheKeysChangesOnlyTheMovedLinesAndUndoGivesTheBytesBack) {
    int changes = 0;
    FDesigner.OnChange = [&] { ++changes; };
    EXPECT_EQ(FForm->Save(), FOriginal);
    EXPECT_FALSE(FDesigner.MoveBy(5, 0)); // only the form is selected: nothing moves
    TComponent* edit = Find("DBEdit2");
    FDesigner.Select(edit);
    ASSERT_TRUE(FDesigner.Arrow(TDesignArrow::Right, true, false)); // Ctrl: a pixel
    ASSERT_TRUE(FDesigner.Arrow(TDesignArrow::Down, true, true));   // Ctrl+Shift: the grid
    EXPECT_EQ(edit->GetInt("Left"), 9);
    EXPECT_EQ(edit->GetInt("Top"), 66 + DesignGrid);
    EXPECT_EQ(ChangedLines(FOriginal, FForm->Save()),
              (std::vector<std::string>{"    Left = 9\r", "    Top = 74\r"}));
    ASSERT_TRUE(FDesigner.Arrow(TDesignArrow::Left, false, true)); // Shift: resizes
    ASSERT_TRUE(FDesigner.Arrow(TDesignArrow::Down, false, true));
    EXPECT_EQ(edit->GetInt("Width"), 92);
    EXPECT_EQ(edit->GetInt("Height"), 22);
    EXPECT_EQ(edit->GetInt("Left"), 9);
    EXPECT_EQ(changes, 4);

    // Whoever keys by component follows each rebuild.
    const TComponent* tracked = edit;
    std::size_t replacedCount = 0;
    FDesigner.OnReplaced = [&](const std::vector<TComponentReplacement>& replaced) {
        replacedCount = replaced.size();
        for (const auto& [before, after] : replaced)
            if (before == tracked) {
                tracked = after;
                break;
            }
    };
    while (FDesigner.CanUndo())
        ASSERT_TRUE(FDesigner.Undo());
    EXPECT_EQ(FForm->Save(), FOriginal); // the very bytes read
    // The model was rebuilt: the selection follows.
    TComponent* now = Find("DBEdit2");
    ASSERT_EQ(FDesigner.Selection(), std::vector<TComponent*>{now});
    EXPECT_EQ(tracked, now);
    EXPECT_EQ(replacedCount, 10u); // the form and its nine components
    ASSERT_TRUE(FDesigner.Redo());
    EXPECT_EQ(Find("DBEdit2")->GetInt("Left"), 9);
    EXPECT_TRUE(FDesigner.CanRedo());
}

TEST_F(FormDesignerTest, APlainArrowSelectsTheNearestComponentThatWayAndChangesNoModel) {
    using enum TDesignArrow;
    auto from = [&](const char* name, TDesignArrow arrow) -> std::string {
        FDesigner.Select(Find(name));
        EXPECT_FALSE(FDesigner.Arrow(arrow, false, false));
        return FDesigner.Selection().front()->Name();
    };
    // The sample's left column: labels over their edits, the check box beside the first
    // edit, the navigator at the bottom, the data sets' icons at the right.
    EXPECT_EQ(from("Label1", Down), "DBEdit1");
    EXPECT_EQ(from("DBEdit1", Down), "Label2");
    EXPECT_EQ(from("DBEdit2", Down), "DBNavigator1");
    EXPECT_EQ(from("DBEdit2", Up), "Label2");
    EXPECT_EQ(from("DBEdit1", Right), "DBCheckBox1");
    // The nearest below, not the first below (the label) nor the one straight under it
    // far down (the navigator).
    EXPECT_EQ(from("DBCheckBox1", Down), "DBEdit2");
    EXPECT_EQ(from("DBCheckBox1", Left), "DBEdit1");
    EXPECT_EQ(from("DBCheckBox1", Right), "tbOrders");
    EXPECT_EQ(from("tbOrders", Down), "dsOrders");
    EXPECT_EQ(from("dsOrders", Left), "DBCheckBox1");
    // Nothing that way: the selection stays.
    EXPECT_EQ(from("Label1", Up), "Label1");
    EXPECT_EQ(from("Label1", Left), "Label1");
    EXPECT_EQ(from("DBNavigator1", Down), "DBNavigator1");
    EXPECT_EQ(from("qyShipping", Right), "qyShipping");
    // Only the form selected: nothing to go from.
    FDesigner.Select(nullptr);
    EXPECT_EQ(FDesigner.Neighbour(Right), nullptr);
    EXPECT_FALSE(FDesigner.Arrow(Right, false, false));
    EXPECT_EQ(FDesigner.Selection(), std::vector<TComponent*>{FForm->Root()});
    EXPECT_FALSE(FDesigner.CanUndo());
    EXPECT_EQ(FForm->Save(), FOriginal);

    // Only those on the same parent: from the edit on the panel nothing lies to the
    // right, though the label on the form does.
    FForm = TFormFile::Parse(PanelForm);
    TFormDesigner designer(*FForm);
    designer.Select(FForm->Root()->FindComponent("Edit1"));
    EXPECT_EQ(designer.Neighbour(Right), nullptr);
    designer.Select(FForm->Root()->FindComponent("Panel1"));
    EXPECT_EQ(designer.Neighbour(Right), FForm->Root()->FindComponent("Label1"));
    EXPECT_EQ(designer.Neighbour(Down), nullptr);
}

TEST_F(FormDesignerTest, ASeveralSelectionMovesTogetherAndControlsOnASelectedPanelGoWithIt) {
    FForm = TFormFile::Parse(PanelForm);
    TFormDesigner designer(*FForm);
    TComponent* panel = FForm->Root()->FindComponent("Panel1");
    TComponent* edit = FForm->Root()->FindComponent("Edit1");
    TComponent* label = FForm->Root()->FindComponent("Label1");
    designer.Select(panel);
    designer.ToggleSelected(edit);
    designer.ToggleSelected(label);
    designer.ToggleSelected(FForm->Root()); // the form never joins a selection
    EXPECT_EQ(designer.Selection().size(), 3u);
    ASSERT_TRUE(designer.MoveBy(3, -2));
    EXPECT_EQ(panel->GetInt("Left"), 13);
    EXPECT_EQ(label->GetInt("Top"), 8);
    EXPECT_EQ(edit->GetInt("Left"), 4); // placed on the panel: moves with it, not twice
    designer.ToggleSelected(label);
    EXPECT_FALSE(designer.IsSelected(label));
    // Dragging the left and top edges keeps the right and bottom where they were, and a
    // size never goes below a pixel.
    designer.Select(panel);
    ASSERT_TRUE(designer.ResizeBy(deLeft | deTop, 500, 10));
    EXPECT_EQ(panel->GetInt("Width"), 1);
    EXPECT_EQ(panel->GetInt("Left"), 13 + 119);
    EXPECT_EQ(panel->GetInt("Height"), 70);
    EXPECT_EQ(panel->GetInt("Top"), 18);
}

TEST_F(FormDesignerTest, DeletingDropsTheReferencesAndUndoBringsTheComponentBackWhole) {
    FDesigner.SetSelection({Find("dsOrders"), Find("Label1")});
    ASSERT_TRUE(FDesigner.DeleteSelection());
    EXPECT_EQ(Find("dsOrders"), nullptr);
    EXPECT_EQ(Find("DBEdit1")->FindProperty("DataSource"), nullptr);
    EXPECT_EQ(FDesigner.Selection(), std::vector<TComponent*>{FForm->Root()});
    EXPECT_FALSE(FDesigner.DeleteSelection()); // the form itself stays
    ASSERT_TRUE(FDesigner.Undo());
    EXPECT_EQ(FForm->Save(), FOriginal);
    ASSERT_NE(Find("dsOrders"), nullptr);
    EXPECT_EQ(Find("DBEdit1")->GetRef("DataSource"), Find("dsOrders"));
    EXPECT_EQ(FDesigner.Selection().size(), 2u);
}

TEST_F(FormDesignerTest, PastedComponentsGetFreeNamesAndKeepTheirReferences) {
    FDesigner.SetSelection({Find("DBEdit1"), Find("Label1")});
    const std::string copied = FDesigner.CopySelection();
    EXPECT_NE(copied.find("object Label1: TLabel"), std::string::npos);
    EXPECT_EQ(FForm->Save(), FOriginal); // copying changes nothing

    const std::vector<TComponent*> pasted = FDesigner.Paste(copied);
    ASSERT_EQ(pasted.size(), 2u);
    EXPECT_EQ(pasted[0]->Name(), "Label3");
    EXPECT_EQ(pasted[1]->Name(), "DBEdit3");
    EXPECT_EQ(pasted[0]->GetString("Caption"), "Order No");
    // The pasted label focuses the pasted edit; the edit's data source is the form's.
    EXPECT_EQ(pasted[0]->GetRef("FocusControl"), pasted[1]);
    EXPECT_EQ(pasted[1]->GetRef("DataSource"), Find("dsOrders"));
    EXPECT_EQ(FDesigner.Selection(), pasted);
    // What was there before is written as it was: the new objects come after it.
    const std::string saved = FForm->Save();
    const std::size_t kept = FOriginal.rfind("end");
    EXPECT_EQ(saved.substr(0, kept), FOriginal.substr(0, kept));
    EXPECT_NE(saved.find("  object DBEdit3: TDBEdit\r\n    Left = 8\r\n"), std::string::npos);
    // The saved form reads back the same.
    EXPECT_EQ(TFormFile::Parse(saved)->Save(), saved);

    EXPECT_THROW(FDesigner.Paste("Left = 3"), EFormError);
    EXPECT_THROW(FDesigner.Paste(""), EFormError);
    EXPECT_EQ(FForm->Save(), saved);
    ASSERT_TRUE(FDesigner.Undo());
    EXPECT_EQ(FForm->Save(), FOriginal);
}

TEST_F(FormDesignerTest, CutAndPasteOfAPanelKeepsItsControlsOnItAndTheirNames) {
    FForm = TFormFile::Parse(PanelForm);
    TFormDesigner designer(*FForm);
    designer.Select(FForm->Root()->FindComponent("Panel1"));
    const std::string cut = designer.CutSelection();
    EXPECT_EQ(FForm->Root()->FindComponent("Edit1"), nullptr);
    EXPECT_EQ(FForm->Root()->FindComponent("Label1")->FindProperty("FocusControl"), nullptr);
    const auto pasted = designer.Paste(cut);
    ASSERT_EQ(pasted.size(), 1u);
    EXPECT_EQ(pasted[0]->Name(), "Panel1"); // free again: kept
    TComponent* edit = FForm->Root()->FindComponent("Edit1");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Parent(), pasted[0]);
    // Pasted again onto the selected panel: new names, placed on it.
    const auto again = designer.Paste(cut);
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0]->Name(), "Panel2");
    EXPECT_EQ(again[0]->Parent(), pasted[0]);
    EXPECT_NE(FForm->Root()->FindComponent("Edit2"), nullptr);
    EXPECT_EQ(TFormFile::Parse(FForm->Save())->Save(), FForm->Save());
}

TEST_F(FormDesignerTest, ADroppedComponentGetsTheNextFreeNameItsCaptionAndItsPlace) {
    const TClassInfo* labelEffect = TClassRegistry::Instance().Find("TLabelEffect");
    ASSERT_NE(labelEffect, nullptr);
    EXPECT_EQ(FDesigner.FreeName("TLabelEffect"), "LabelEffect1");
    TComponent* first = FDesigner.Drop(*labelEffect, 16, 120);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Name(), "LabelEffect1");
    EXPECT_EQ(first->GetInt("Left"), 16);
    EXPECT_EQ(first->GetInt("Top"), 120);
    EXPECT_EQ(first->GetString("Caption"), "LabelEffect1");
    EXPECT_EQ(first->Parent(), FForm->Root());
    EXPECT_GE(first->GetInt("Width"), DesignGrid); // big enough to be picked
    EXPECT_EQ(first->FindProperty("Visible"), nullptr);
    // Its own font, as the library's control sets it, is written; its colour is the
    // form's.
    EXPECT_EQ(first->GetString("Font.Name"), "Times New Roman");
    EXPECT_EQ(first->FindProperty("Color"), nullptr);
    EXPECT_EQ(FDesigner.Selection(), std::vector<TComponent*>{first});
    // Only what differs from the stored defaults is written.
    for (int i = 0; i < first->PropertyCount(); ++i) {
        const TProperty& p = first->Properties(i);
        const TPropInfo* info = labelEffect->FindProp(p.Name);
        ASSERT_NE(info, nullptr) << p.Name;
        EXPECT_FALSE(IsDefaultValue(*info, p.Value)) << p.Name;
    }
    EXPECT_EQ(FDesigner.Drop(*labelEffect, 0, 0)->Name(), "LabelEffect2");
    const TClassInfo* table = TClassRegistry::Instance().Find("TTable");
    TComponent* t = FDesigner.Drop(*table, 300, 8);
    EXPECT_EQ(t->Name(), "Table1");
    EXPECT_EQ(t->GetInt("Left"), 300);
    EXPECT_EQ(t->FindProperty("Caption"), nullptr);
    const std::string saved = FForm->Save();
    EXPECT_EQ(TFormFile::Parse(saved)->Save(), saved);
    FDesigner.Undo();
    FDesigner.Undo();
    ASSERT_TRUE(FDesigner.Undo());
    EXPECT_EQ(FForm->Save(), FOriginal);
}

TEST_F(FormDesignerTest, AnEditThatFailsChangesNothingAndAnOutsideChangeEndsTheUndoSteps) {
    FDesigner.SetSelection({Find("DBEdit1"), Find("DBEdit2")});
    auto editor = CreatePropertyEditor(FDesigner.Selection(), "Width");
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(FDesigner.Modify([&] { editor->SetValue("50"); }));
    EXPECT_EQ(Find("DBEdit1")->GetInt("Width"), 50);
    EXPECT_EQ(Find("DBEdit2")->GetInt("Width"), 50);
    const std::string edited = FForm->Save();
    EXPECT_THROW(FDesigner.Modify([&] { editor->SetValue("wide"); }), EConvertError);
    // Half an edit is taken back too.
    EXPECT_THROW(FDesigner.Modify([&] {
        Find("DBEdit1")->SetInt("Top", 1);
        throw EConvertError("refused");
    }),
                 EConvertError);
    EXPECT_EQ(FForm->Save(), edited);
    EXPECT_THROW(FDesigner.Rename(Find("DBEdit1"), "DBEdit2"), EComponentError);
    EXPECT_THROW(FDesigner.Rename(Find("DBEdit1"), "1st"), EComponentError);
    ASSERT_TRUE(FDesigner.Rename(Find("DBEdit1"), "edOrderNo"));
    EXPECT_NE(FForm->Save().find("FocusControl = edOrderNo"), std::string::npos);
    ASSERT_TRUE(FDesigner.Undo());
    EXPECT_EQ(FForm->Save(), edited);
    // Changed by another tool: undoing would lose that change, so the steps go.
    Find("DBEdit2")->SetInt("Tag", 7);
    EXPECT_FALSE(FDesigner.Undo());
    EXPECT_FALSE(FDesigner.CanUndo());
    EXPECT_EQ(Find("DBEdit2")->GetInt("Tag"), 7);
}

TEST_F(FormDesignerTest, TheUnitsFieldsFollowRenamesAndDeletesAcrossUndoAndRedo) {
    const std::string unit = ReadFileContent(Sample + "OrderEntry.pas");
    TFormFields fields(*FForm->Root());
    FDesigner.OnReplaced = [&](const std::vector<TComponentReplacement>& replaced) {
        fields.Rebuilt(replaced);
    };
    ASSERT_TRUE(FDesigner.Rename(Find("DBEdit1"), "edOrderNo"));
    FDesigner.Select(Find("Label2"));
    ASSERT_TRUE(FDesigner.DeleteSelection());
    ASSERT_TRUE(FDesigner.Undo()); // the label is back, the rename stays
    std::string text = fields.Apply(unit, *FForm->Root());
    EXPECT_NE(text.find("    edOrderNo: TDBEdit;\r\n"), std::string::npos);
    EXPECT_EQ(text.find("DBEdit1"), std::string::npos);
    std::string expected = unit;
    expected.replace(expected.find("DBEdit1"), 7, "edOrderNo");
    EXPECT_EQ(text, expected); // Label2 keeps its line where it was
    ASSERT_TRUE(FDesigner.Undo());
    EXPECT_EQ(fields.Apply(unit, *FForm->Root()), unit);
    ASSERT_TRUE(FDesigner.Redo());
    ASSERT_TRUE(FDesigner.Redo()); // the label deleted again
    text = fields.Apply(unit, *FForm->Root());
    EXPECT_EQ(text.find("Label2"), std::string::npos);
    EXPECT_NE(text.find("edOrderNo: TDBEdit;"), std::string::npos);
}

} // namespace
} // namespace vesk
