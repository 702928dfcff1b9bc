#include "expert/renamer/RenExp.h"
#include "platform/forms/UnitFields.h"
#include "platform/forms/FormFile.h"
#include "platform/ota/HeadlessHost.h"
#include "tests/library/utility/ScratchDir.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

// The plain message boxes the host was asked to show.
std::vector<std::string> Shown(const THeadlessHost& host) {
    std::vector<std::string> shown;
    for (const auto& m : host.Services().Messages())
        if (m.Plain)
            shown.push_back(m.Text);
    return shown;
}

const char* const FormText = "object Form1: TForm1\n"
                             "  object Label1: TLabel\n    FocusControl = DBEdit1\n  end\n"
                             "  object DBEdit1: TDBEdit\n    DataField = 'CustNo'\n  end\n"
                             "  object DBEdit2: TDBEdit\n    DataField = 'CustNo'\n  end\n"
                             "  object DBEdit3: TDBEdit\n  end\n"
                             "  object DBEdit4: TDBEdit\n  end\n"
                             "  object DBEdit5: TDBEdit\n    DataField = 'Cust No'\n  end\n"
                             "  object Panel1: TPanel\n"
                             "    object DBDateEdit1: TDBDateEdit\n      DataField = 'SaleDate'\n"
                             "    end\n  end\n"
                             "  object DBCheckBox1: TDBCheckBox\n    DataField = 'Paid'\n  end\n"
                             "  object Edit1: TEdit\n    DataField = 'Other'\n  end\n"
                             "end\n";

std::vector<std::string> Names(const TComponent& form) {
    std::vector<std::string> names;
    for (int i = 0; i < form.ComponentCount(); ++i)
        names.push_back(form.Components(i)->Name());
    return names;
}

TEST(RenExpTest, RenamesInComponentOrderAndIgnoresRefusedNames) {
    auto form = TFormFile::Parse(FormText);
    THeadlessHost host;
    const auto outcomes = RunRenamer(form->Root());
    EXPECT_EQ(Shown(host), std::vector<std::string>{"Run Renamer Expert?"});
    // A duplicate field, an empty field twice, a blank in the field name; a date edit
    // nested in a panel and a check box get "ed" too; a plain edit is left alone.
    EXPECT_EQ(Names(*form->Root()),
              (std::vector<std::string>{"Label1", "edCustNo", "DBEdit2", "ed", "DBEdit4", "DBEdit5",
                                        "Panel1", "edSaleDate", "edPaid", "Edit1"}));
    ASSERT_EQ(outcomes.size(), 7u);
    EXPECT_TRUE(outcomes[0].Renamed);
    EXPECT_FALSE(outcomes[1].Renamed);
    EXPECT_EQ(outcomes[1].Reason, "A component named edCustNo already exists");
    EXPECT_EQ(outcomes[4].Reason, "'edCust No' is not a valid component name");
    // The label still points at the renamed edit.
    EXPECT_NE(form->Save().find("FocusControl = edCustNo\n"), std::string::npos);

    // A second run changes nothing.
    const std::string once = form->Save();
    const auto again = RunRenamer(form->Root());
    EXPECT_EQ(form->Save(), once);
    EXPECT_FALSE(again[0].Renamed);
    EXPECT_EQ(again[0].Reason, "already named after its field");
}

TEST(RenExpTest, NothingToRenameStillAsks) {
    THeadlessHost host;
    EXPECT_TRUE(RunRenamer(nullptr).empty());
    const std::string plain = "object Form1: TForm1\n  object Edit1: TEdit\n  end\nend\n";
    auto form = TFormFile::Parse(plain);
    EXPECT_TRUE(RunRenamer(form->Root()).empty());
    EXPECT_EQ(form->Save(), plain);
    EXPECT_EQ(Shown(host).size(), 2u);
}

TEST(RenExpTest, UnitFieldsFollowTheForm) {
    std::string unit = "unit Main;\ninterface\ntype\n"
                       "  TOther = class(TForm)\n    DBEdit1: TDBEdit;\n  end;\n"
                       "  TForm1 = class(TForm) { DBEdit1: in a comment }\n"
                       "    Label1, DBEdit1: TDBEdit;\n"
                       "    dbedit2 : TDBEdit;\n"
                       "    procedure DoIt(DBEdit3: TObject);\n"
                       "  end;\n"
                       "implementation\nend.\n";
    const auto missing = RenameClassFields(
        unit, "tform1", {{"DBEdit1", "edCustNo"}, {"DBEdit2", "edName"}, {"DBEdit3", "edX"}});
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(missing[0].OldName, "DBEdit3");
    EXPECT_EQ(unit, "unit Main;\ninterface\ntype\n"
                    "  TOther = class(TForm)\n    DBEdit1: TDBEdit;\n  end;\n"
                    "  TForm1 = class(TForm) { DBEdit1: in a comment }\n"
                    "    Label1, edCustNo: TDBEdit;\n"
                    "    edName : TDBEdit;\n"
                    "    procedure DoIt(DBEdit3: TObject);\n"
                    "  end;\n"
                    "implementation\nend.\n");
    std::string none = "unit X;\nend.\n";
    EXPECT_EQ(RenameClassFields(none, "TForm1", {{"A", "B"}}).size(), 1u);
    EXPECT_EQ(none, "unit X;\nend.\n");
}

// The menu's entry on the form the headless host's designer shows, with the settings
// in a store of the test's own.
class ExecuteRenamerTest : public test::ScratchDir {
protected:
    void SetUp() override {
        ScratchDir::SetUp();
        Write(Path("Main.pas"), "unit Main;\ninterface\nimplementation\nend.\n");
        Write(Path("Main.dfm"), FormText);
        FHost = std::make_unique<THeadlessHost>(TRegistryFile::Open(Path("settings.reg")));
        FHost->OpenModule(Path("Main.pas"));
        FHost->SetCurrentFile(Path("Main.pas"));
    }
    TComponent& Root() { return *FHost->FormRoot(Path("Main.pas")); }
    std::unique_ptr<THeadlessHost> FHost;
};

TEST_F(ExecuteRenamerTest, AsksOnceThenRenamesTheFormTheDesignerShows) {
    // The form is not open yet: asked once, the host is asked to show it, nothing renamed.
    ExecuteRenamer();
    EXPECT_EQ(Shown(*FHost), std::vector<std::string>{"Run Renamer Expert?"});
    EXPECT_EQ(FHost->ShowFormCount(Path("Main.pas")), 1);
    EXPECT_NE(Root().FindComponent("DBEdit1"), nullptr);

    ASSERT_TRUE(FHost->ShowDesigner(Path("Main.pas")));
    FHost->Services().ClearRecord();
    ExecuteRenamer();
    EXPECT_EQ(Shown(*FHost), std::vector<std::string>{"Run Renamer Expert?"}); // no summary
    EXPECT_NE(Root().FindComponent("edCustNo"), nullptr);
    EXPECT_NE(Root().FindComponent("edPaid"), nullptr);
    EXPECT_FALSE(RenamerSummaryEnabled());
}

TEST_F(ExecuteRenamerTest, TheSummaryOptionTellsWhatKeptItsNameAndWhy) {
    ASSERT_TRUE(FHost->ShowDesigner(Path("Main.pas")));
    SetRenamerSummaryEnabled(true);
    EXPECT_TRUE(RenamerSummaryEnabled());
    {
        TRegistry reg(TRegistryFile::Open(Path("settings.reg")));
        ASSERT_TRUE(reg.OpenKey(RenamerSettingsKey, false));
        EXPECT_EQ(reg.ReadString("ShowSummary"), "1");
    }
    ExecuteRenamer();
    const auto shown = Shown(*FHost);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "Run Renamer Expert?");
    EXPECT_EQ(shown[1], "Renamed 4 of 7 data-aware edit controls.\n"
                        "DBEdit1 -> edCustNo\n"
                        "DBEdit2 kept its name: A component named edCustNo already exists\n"
                        "DBEdit3 -> ed\n"
                        "DBEdit4 kept its name: A component named ed already exists\n"
                        "DBEdit5 kept its name: 'edCust No' is not a valid component name\n"
                        "DBDateEdit1 -> edSaleDate\n"
                        "DBCheckBox1 -> edPaid");
    EXPECT_EQ(RenamerSummary({}), "No data-aware edit controls on the form: nothing was renamed.");
    SetRenamerSummaryEnabled(false);
    EXPECT_FALSE(RenamerSummaryEnabled());
}

} // namespace
} // namespace vesk
