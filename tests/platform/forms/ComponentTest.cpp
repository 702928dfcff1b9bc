#include "platform/forms/FormFile.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

std::unique_ptr<TFormFile> Form(const std::string& text) {
    return TFormFile::Parse(text);
}

TEST(ComponentTest, NamesMustBeValidAndUniqueWithinTheOwner) {
    TComponent form("TForm", nullptr);
    auto* a = new TComponent("TEdit", &form);
    auto* b = new TComponent("TEdit", &form);
    a->SetName("Edit1");
    EXPECT_THROW(b->SetName("EDIT1"), EComponentError);
    EXPECT_EQ(b->Name(), "");
    for (const char* bad : {"1Edit", "ed Cust No", "ed-x", "edé"})
        EXPECT_THROW(b->SetName(bad), EComponentError) << bad;
    try {
        b->SetName("ed Cust");
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "'ed Cust' is not a valid component name");
    }
    try {
        b->SetName("edit1");
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "A component named edit1 already exists");
    }
    a->SetName("EDIT1"); // its own name in another case
    EXPECT_EQ(a->Name(), "EDIT1");
    b->SetName("_x9");
    b->SetName(""); // a component may have no name
    // Another owner's components do not count.
    TComponent other("TForm", nullptr);
    auto* c = new TComponent("TEdit", &other);
    c->SetName("Edit1");
    EXPECT_EQ(form.FindComponent("edit1"), a);
    EXPECT_EQ(form.FindComponent(""), nullptr);
    EXPECT_EQ(form.FindComponent("nothing"), nullptr);
}

// Lookups by name go through the owner's index: it follows renames and frees, and of
// the duplicate names a file may hold, the first in component order is found.
TEST(ComponentTest, LookupsByNameFollowRenamesFreesAndDuplicates) {
    auto form = Form("object F: TForm\n  object A: TEdit\n  end\n  object a: TEdit\n  end\n"
                     "  object B: TEdit\n  end\nend\n");
    TComponent* root = form->Root();
    TComponent* first = root->Components(0);
    TComponent* second = root->Components(1);
    TComponent* third = root->Components(2);
    EXPECT_EQ(root->FindComponent("A"), first);
    EXPECT_THROW(third->SetName("a"), EComponentError);
    first->SetName("C");
    EXPECT_EQ(root->FindComponent("A"), second);
    EXPECT_EQ(root->FindComponent("c"), first);
    second->Free();
    EXPECT_EQ(root->FindComponent("a"), nullptr);
    third->SetName("A");
    EXPECT_EQ(root->FindComponent("a"), third);
    EXPECT_EQ(root->FindComponent("B"), nullptr);
    first->SetName("");
    EXPECT_EQ(root->FindComponent("C"), nullptr);
}

TEST(ComponentTest, ClassTestsFollowInheritance) {
    auto f = Form("object Form1: TForm1\n"
                  "  object E: TDBEdit\n  end\n  object D: TDBDateEdit\n  end\n"
                  "  object T: TTable\n  end\n  object Q: TQuery\n  end\n"
                  "  object P: TStoredProc\n  end\n  object M: TClientDataSet\n  end\n"
                  "  object S: TStringField\n  end\n  object X: TMystery\n  end\n"
                  "  object G: TGroupBox\n  end\nend\n");
    TComponent* root = f->Root();
    EXPECT_TRUE(root->InheritsFrom("TForm"));
    EXPECT_TRUE(root->InheritsFrom("TForm1"));
    EXPECT_TRUE(root->ClassInfo()->AcceptsControls());
    auto c = [&](const char* n) { return root->FindComponent(n); };
    EXPECT_TRUE(c("E")->InheritsFrom("TWinControl"));
    EXPECT_FALSE(c("D")->InheritsFrom("TDBEdit")); // a different branch of edits
    EXPECT_TRUE(c("D")->InheritsFrom("TCustomMaskEdit"));
    for (const char* n : {"T", "Q", "P"})
        EXPECT_TRUE(c(n)->InheritsFrom("TDBDataSet")) << n;
    EXPECT_TRUE(c("M")->InheritsFrom("TDataSet"));
    EXPECT_FALSE(c("M")->InheritsFrom("TDBDataSet"));
    EXPECT_TRUE(c("S")->InheritsFrom("TField"));
    EXPECT_TRUE(c("X")->InheritsFrom("TMystery"));
    EXPECT_FALSE(c("X")->InheritsFrom("TComponent"));
    EXPECT_TRUE(c("G")->ClassInfo()->AcceptsControls());
    EXPECT_FALSE(c("E")->ClassInfo()->AcceptsControls());

    const TPropInfo* ds = GetPropInfo(FindClassInfo("TDBEdit"), "datasource");
    ASSERT_NE(ds, nullptr);
    EXPECT_EQ(ds->Kind, TTypeKind::tkClass);
    EXPECT_EQ(GetPropInfo(FindClassInfo("TDBEdit"), "Left")->Kind, TTypeKind::tkInteger);
    EXPECT_EQ(GetPropInfo(FindClassInfo("TDBEdit"), "NoSuch"), nullptr);
    EXPECT_EQ(GetPropInfo(nullptr, "Left"), nullptr);
}

TEST(ComponentTest, ReferencesFollowRenamesAndVanishWithTheirComponent) {
    const std::string text = "object Form1: TForm1\n"
                             "  ActiveControl = Edit1\n"
                             "  object Label1: TLabel\n    FocusControl = Edit1\n  end\n"
                             "  object Edit1: TDBEdit\n    DataSource = DataSource1\n  end\n"
                             "  object DataSource1: TDataSource\n    DataSet = Table1\n  end\n"
                             "  object Table1: TTable\n    Alias = Table1\n  end\n"
                             "end\n";
    auto f = Form(text);
    TComponent* root = f->Root();
    TComponent* edit = root->FindComponent("Edit1");
    EXPECT_EQ(root->FindComponent("Label1")->GetRef("FocusControl"), edit);
    EXPECT_EQ(root->GetRef("ActiveControl"), edit);
    edit->SetName("edCustNo");
    root->FindComponent("Table1")->SetName("tbCustomers");
    const std::string saved = f->Save();
    EXPECT_NE(saved.find("FocusControl = edCustNo\n"), std::string::npos);
    EXPECT_NE(saved.find("ActiveControl = edCustNo\n"), std::string::npos);
    EXPECT_NE(saved.find("object edCustNo: TDBEdit\n"), std::string::npos);
    EXPECT_NE(saved.find("DataSet = tbCustomers\n"), std::string::npos);
    // A property we do not know as a reference keeps its text.
    EXPECT_NE(saved.find("Alias = Table1\n"), std::string::npos);

    // A reference spelt in another case than its component is kept as written.
    const std::string spelt = "object F: TForm\n  object L: TLabel\n    FocusControl = EDIT1\n"
                              "  end\n  object Edit1: TEdit\n  end\nend\n";
    auto f2 = Form(spelt);
    EXPECT_EQ(f2->Root()->FindComponent("L")->GetRef("FocusControl"),
              f2->Root()->FindComponent("Edit1"));
    EXPECT_EQ(f2->Save(), spelt);

    root->FindComponent("DataSource1")->Free();
    EXPECT_EQ(root->FindComponent("DataSource1"), nullptr);
    EXPECT_FALSE(edit->HasProperty("DataSource"));
    const std::string after = f->Save();
    EXPECT_EQ(after.find("DataSource"), std::string::npos);
    EXPECT_EQ(root->ComponentCount(), 3);
    EXPECT_EQ(root->Children().size(), 3u);
}

TEST(ComponentTest, OwnersParentsAndNesting) {
    auto f = Form("object Form1: TForm1\n"
                  "  object Panel1: TPanel\n    object Edit1: TEdit\n    end\n  end\n"
                  "  object Table1: TTable\n    object Table1Id: TIntegerField\n    end\n  end\n"
                  "  inline Frame1: TFrame1\n    object Button1: TButton\n    end\n  end\n"
                  "end\n");
    TComponent* root = f->Root();
    ASSERT_EQ(root->ComponentCount(), 5);
    const char* order[] = {"Panel1", "Edit1", "Table1", "Table1Id", "Frame1"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(root->Components(i)->Name(), order[i]);
    EXPECT_THROW(root->Components(5), EListError);
    TComponent* edit = root->FindComponent("Edit1");
    EXPECT_EQ(edit->Owner(), root);
    EXPECT_EQ(edit->Parent(), root->FindComponent("Panel1"));
    TComponent* field = root->FindComponent("Table1Id");
    EXPECT_EQ(field->Parent(), nullptr);
    EXPECT_EQ(field->StreamParent(), root->FindComponent("Table1"));
    TComponent* frame = root->FindComponent("Frame1");
    EXPECT_TRUE(frame->InheritsFrom("TFrame"));
    EXPECT_EQ(root->FindComponent("Button1"), nullptr);
    EXPECT_EQ(frame->FindComponent("Button1")->Owner(), frame);

    // Freeing a data set frees its fields; the form itself cannot be freed.
    root->FindComponent("Table1")->Free();
    EXPECT_EQ(root->FindComponent("Table1Id"), nullptr);
    EXPECT_THROW(root->Free(), EComponentError);

    // Moving a control writes it under its new parent.
    edit->SetParent(root);
    EXPECT_EQ(f->Save(), "object Form1: TForm1\n"
                         "  object Panel1: TPanel\n  end\n"
                         "  inline Frame1: TFrame1\n    object Button1: TButton\n    end\n  end\n"
                         "  object Edit1: TEdit\n  end\n"
                         "end\n");
}

} // namespace
} // namespace vesk
