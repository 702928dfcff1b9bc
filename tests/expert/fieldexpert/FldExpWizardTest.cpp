// The wizard's page flow and list moves on plain control models, against a form and a
// real database in a scratch folder.
#include "expert/fieldexpert/FldExpWizard.h"
#include "platform/forms/FormFile.h"
#include "tests/expert/fieldexpert/ShopDatabase.h"
#include "tests/library/utility/ScratchDir.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

using Strings = std::vector<std::string>;

class FldExpWizardTest : public test::ScratchDir {
protected:
    void SetUp() override {
        ScratchDir::SetUp();
        test::CreateShopDatabase(Path("shop.db"));
        Form = TFormFile::Parse("object Form1: TForm1\n"
                                "  object Orders: TTable\n    DatabaseName = 'shop.db'\n"
                                "    TableName = 'orders'\n  end\n"
                                "  object Lost: TTable\n    DatabaseName = 'shop.db'\n"
                                "    TableName = 'nothing'\n  end\n"
                                "  object OrdersSrc: TDataSource\n    DataSet = Orders\n  end\n"
                                "end\n");
        NB.OnPageChanged = [this] { Wizard.NBPageChanged(); };
        Wizard.SetDesignForm(*Form->Root(), FDir.string());
        ASSERT_TRUE(Wizard.ReadDataSet());
    }
    // Selects exactly the items of List with these texts.
    static void Select(TListBoxModel& list, const Strings& texts) {
        for (int i = 0; i < list.Count(); ++i)
            list.SetSelected(i,
                             std::find(texts.begin(), texts.end(), list.Strings(i)) != texts.end());
    }
    // "<", "<<", ">", ">>", Next.
    std::vector<bool> Buttons() const {
        return {AddField.Enabled(), AddAllField.Enabled(), DelField.Enabled(),
                DelAllField.Enabled(), Next.Enabled()};
    }

    std::unique_ptr<TFormFile> Form;
    // The start state: the last page, Create hidden, "<" and "<<" disabled.
    TNotebookModel NB{3, pgOptions};
    TListBoxModel DataSets{false, false};
    TListBoxModel Create{true, true};
    TListBoxModel Available{true, true};
    TControlState AddField{false}, AddAllField{false}, DelField, DelAllField;
    TControlState Next{true, true, 153, 4};
    TControlState CreateButton{true, false, 170, 10};
    TFldExpWizard Wizard{{NB, DataSets, Create, Available, AddField, AddAllField, DelField,
                          DelAllField, Next, CreateButton}};
};

const Strings AllFields{"Amount", "Company", "CustNo", "Paid", "SaleDate"};

TEST_F(FldExpWizardTest, PagesFollowNextAndBackWithCreateInNextsPlace) {
    EXPECT_EQ(DataSets.Texts(),
              (Strings{"Orders" + std::string(11, ' ') + "OrdersSrc" + std::string(7, ' '),
                       "Lost" + std::string(29, ' ')}));
    EXPECT_EQ(DataSets.ItemIndex(), 0);

    Wizard.FormActivate();
    EXPECT_EQ(NB.PageIndex(), pgDataSet);
    EXPECT_EQ(CreateButton.Left(), 153);
    EXPECT_EQ(CreateButton.Top(), 4);
    EXPECT_TRUE(Next.Visible());
    EXPECT_FALSE(CreateButton.Visible());
    Wizard.bnBackClick(); // nothing before the first page
    EXPECT_EQ(NB.PageIndex(), pgDataSet);

    Wizard.bnNextClick();
    EXPECT_EQ(NB.PageIndex(), pgFields);
    EXPECT_EQ(Create.Texts(), AllFields); // alphabetical
    EXPECT_EQ(Available.Count(), 0);
    EXPECT_EQ(Buttons(), (std::vector<bool>{false, false, true, true, true}));

    Wizard.bnNextClick();
    EXPECT_EQ(NB.PageIndex(), pgOptions);
    EXPECT_FALSE(Next.Visible());
    EXPECT_TRUE(CreateButton.Visible());
    Wizard.bnNextClick(); // no page after the last
    EXPECT_EQ(NB.PageIndex(), pgOptions);

    Wizard.bnBackClick();
    EXPECT_EQ(NB.PageIndex(), pgFields);
    EXPECT_TRUE(Next.Visible());
    EXPECT_FALSE(CreateButton.Visible());
}

TEST_F(FldExpWizardTest, MovesBetweenTheListsAndTheButtonsFollow) {
    Wizard.FormActivate();
    Wizard.bnNextClick();
    // Two items apart out of the Create list: the selection lands on the one that took
    // the first one's place, and the focus stays with the list.
    Select(Create, {"Company", "Paid"});
    const int focused = Create.FocusCount();
    Wizard.sbDelFieldClick();
    EXPECT_EQ(Create.Texts(), (Strings{"Amount", "CustNo", "SaleDate"}));
    EXPECT_EQ(Available.Texts(), (Strings{"Company", "Paid"}));
    EXPECT_EQ(Create.SelectedIndexes(), std::vector<int>{1});
    EXPECT_EQ(Create.FocusCount(), focused + 1);
    EXPECT_EQ(Buttons(), (std::vector<bool>{true, true, true, true, true}));

    // Back with "<": sorted in again; moved at the end, the selection takes the last.
    Select(Available, {"Paid"});
    Wizard.sbAddFieldClick();
    EXPECT_EQ(Create.Texts(), (Strings{"Amount", "CustNo", "Paid", "SaleDate"}));
    EXPECT_EQ(Available.SelectedIndexes(), std::vector<int>{0});
    // Nothing selected: nothing moves, the first item gets the selection.
    Available.SetSelected(0, false);
    Wizard.sbAddFieldClick();
    EXPECT_EQ(Available.Texts(), Strings{"Company"});
    EXPECT_EQ(Available.SelectedIndexes(), std::vector<int>{0});

    // "<<" then ">>": everything ends in the Available list, Next disabled.
    Wizard.sbAddAllFieldClick();
    EXPECT_EQ(Create.Texts(), AllFields);
    EXPECT_EQ(Buttons(), (std::vector<bool>{false, false, true, true, true}));
    Wizard.sbDelAllFieldClick();
    EXPECT_EQ(Available.Texts(), AllFields);
    EXPECT_EQ(Create.Count(), 0);
    EXPECT_EQ(Buttons(), (std::vector<bool>{true, true, false, false, false}));

    // The last item out of the Create list disables ">", ">>" and Next.
    Select(Available, {"CustNo"});
    Wizard.sbAddFieldClick();
    Select(Create, {"CustNo"});
    Wizard.sbDelFieldClick();
    EXPECT_EQ(Create.Count(), 0);
    EXPECT_EQ(Buttons(), (std::vector<bool>{true, true, false, false, false}));
    EXPECT_TRUE(Create.SelectedIndexes().empty());
}

TEST_F(FldExpWizardTest, ReenteringTheFieldPageStartsBothListsAfresh) {
    Wizard.FormActivate();
    Wizard.bnNextClick();
    Select(Create, {"Amount", "Paid"});
    Wizard.sbDelFieldClick();
    Wizard.bnNextClick();
    Wizard.bnBackClick();
    // Every field in the Create list again, and none standing in both lists.
    EXPECT_EQ(Create.Texts(), AllFields);
    EXPECT_EQ(Available.Count(), 0);
    EXPECT_EQ(Buttons(), (std::vector<bool>{false, false, true, true, true}));
}

TEST_F(FldExpWizardTest, ADataSetThatCannotBeOpenedLeavesNothingToGenerate) {
    Wizard.FormActivate();
    Wizard.bnNextClick();
    Select(Create, {"Amount"});
    Wizard.sbDelFieldClick();
    Wizard.bnBackClick();
    DataSets.SetItemIndex(1); // the table that is not there
    EXPECT_THROW(Wizard.bnNextClick(), EDatabaseError);
    EXPECT_EQ(NB.PageIndex(), pgFields); // the page it opened stays
    EXPECT_EQ(Create.Count(), 0);
    EXPECT_EQ(Available.Count(), 0);
    EXPECT_EQ(Buttons(), (std::vector<bool>{false, false, false, false, false}));
}

TEST_F(FldExpWizardTest, CreateGeneratesTheCreateListWithThePagesOptions) {
    Wizard.FormActivate();
    Wizard.bnNextClick();
    Select(Create, {"Amount", "Paid"});
    Wizard.sbDelFieldClick();
    Wizard.bnNextClick();
    Wizard.bnCreateClick(false, lpLabelLeft);
    TComponent* root = Form->Root();
    EXPECT_EQ(root->FindComponent("edAmount"), nullptr);
    ASSERT_NE(root->FindComponent("edSaleDate"), nullptr);
    EXPECT_EQ(root->FindComponent("edSaleDate")->ClassName(), "TDBEdit"); // the option off
    EXPECT_EQ(root->FindComponent("lbCompany")->GetString("Alignment"), "taRightJustify");
    EXPECT_EQ(root->FindComponent("edCompany")->GetRef("DataSource"),
              root->FindComponent("OrdersSrc"));
    // In the Create list's order: Company, CustNo, SaleDate.
    EXPECT_LT(root->FindComponent("edCompany")->GetInt("Top"),
              root->FindComponent("edCustNo")->GetInt("Top"));
    EXPECT_LT(root->FindComponent("edCustNo")->GetInt("Top"),
              root->FindComponent("edSaleDate")->GetInt("Top"));
}

TEST(FldExpWizardLists, SetItemKeepsToTheListsBounds) {
    TNotebookModel nb(3);
    TListBoxModel data, create(true, true), available(true, true);
    TControlState a, b, c, d, next, createButton;
    TFldExpWizard wizard({nb, data, create, available, a, b, c, d, next, createButton});
    for (const char* text : {"A", "B", "C"})
        create.Add(text);
    wizard.SetItem(create, 7);
    EXPECT_EQ(create.SelectedIndexes(), std::vector<int>{2});
    wizard.SetItem(create, -1);
    EXPECT_EQ(create.SelectedIndexes(), (std::vector<int>{0, 2})); // added to what is left
    EXPECT_EQ(TFldExpWizard::GetFirstSelection(create), 0);
    wizard.SetItem(available, 0); // empty: nothing selected, the buttons still follow
    EXPECT_FALSE(a.Enabled());
    EXPECT_TRUE(next.Enabled());
    EXPECT_EQ(TFldExpWizard::GetFirstSelection(available), -1);
    EXPECT_THROW(wizard.ReadDataSet(), Exception); // no designed form
}

} // namespace
} // namespace vesk
