#include "platform/forms/UnitFields.h"
#include "platform/forms/Component.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

const std::string Unit = "unit Orders;\r\n"
                         "interface\r\n"
                         "type\r\n"
                         "  TfrmOrders = class(TForm)\r\n"
                         "    Label1: TLabel;\r\n"
                         "    DBEdit1: TDBEdit;\r\n"
                         "    Left, Right: TPanel;\r\n"
                         "    procedure DBEdit1Change(Sender: TObject);\r\n"
                         "  private\r\n"
                         "    FCount: Integer;\r\n"
                         "  end;\r\n"
                         "implementation\r\n"
                         "end.\r\n";

TComponent* Add(TComponent& form, const char* className, const char* name) {
    auto* c = new TComponent(className, &form);
    c->SetName(name);
    return c;
}

TEST(FormFields, RenamedAddedAndRemovedComponentsKeepTheDeclarationsInStep) {
    TComponent form("TfrmOrders", nullptr);
    TComponent* label = Add(form, "TLabel", "Label1");
    TComponent* edit = Add(form, "TDBEdit", "DBEdit1");
    Add(form, "TPanel", "Left");
    Add(form, "TPanel", "Right");
    TFormFields fields(form);
    EXPECT_EQ(fields.Apply(Unit, form), Unit); // nothing changed, nothing written

    edit->SetName("edCustNo");
    label->Free();
    Add(form, "TDBCheckBox", "cbPaid");
    form.FindComponent("Left")->Free(); // declared with another: left alone
    const std::string text = fields.Apply(Unit, form);
    EXPECT_EQ(text, "unit Orders;\r\n"
                    "interface\r\n"
                    "type\r\n"
                    "  TfrmOrders = class(TForm)\r\n"
                    "    edCustNo: TDBEdit;\r\n"
                    "    Left, Right: TPanel;\r\n"
                    "    cbPaid: TDBCheckBox;\r\n"
                    "    procedure DBEdit1Change(Sender: TObject);\r\n"
                    "  private\r\n"
                    "    FCount: Integer;\r\n"
                    "  end;\r\n"
                    "implementation\r\n"
                    "end.\r\n");
    // Once saved, applying again changes nothing more.
    fields.Remember(form);
    EXPECT_EQ(fields.Apply(text, form), text);
}

TEST(FormFields, AnEmptyClassAnUnknownClassAndAFieldDeclaredByHand) {
    TComponent form("TForm2", nullptr);
    TFormFields fields(form);
    Add(form, "TButton", "btnOk");
    const std::string empty = "type\n  TForm2 = class(TForm)\n  private\n  end;\n";
    EXPECT_EQ(fields.Apply(empty, form),
              "type\n  TForm2 = class(TForm)\n    btnOk: TButton;\n  private\n  end;\n");
    const std::string other = "type\n  TForm3 = class(TForm)\n  end;\n";
    EXPECT_EQ(fields.Apply(other, form), other);
    const std::string declared = "type\n  TForm2 = class(TForm)\n    BTNOK: TButton;\n  end;\n";
    EXPECT_EQ(fields.Apply(declared, form), declared);
}

TEST(FormFields, AComponentOfAnotherClassUnderAnOldNameIsDeclaredAfresh) {
    TComponent form("TForm2", nullptr);
    Add(form, "TEdit", "Edit1");
    TFormFields fields(form);
    form.FindComponent("Edit1")->Free();
    Add(form, "TMemo", "Edit1"); // may even lie where the old one did
    EXPECT_EQ(fields.Apply("type\n  TForm2 = class(TForm)\n    Edit1: TEdit;\n  end;\n", form),
              "type\n  TForm2 = class(TForm)\n    Edit1: TMemo;\n  end;\n");
}

} // namespace
} // namespace vesk
