#include "expert/fieldexpert/FldExpLogic.h"
#include "platform/forms/FormFile.h"
#include "tests/library/utility/ScratchDir.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace vesk {
namespace {

namespace fs = std::filesystem;

// A form folder with a database "shop.db" beside the form.
class FldExpTest : public test::ScratchDir {
protected:
    void SetUp() override {
        ScratchDir::SetUp();
        Dir = FDir;
        SQLite::Database db((Dir / "shop.db").string(),
                            SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        db.exec("CREATE TABLE orders (SaleDate DATE, CustNo INTEGER, Company VARCHAR(30),"
                " ShipTime TIME, \"Cust Name\" VARCHAR(10))");
        db.exec("CREATE TABLE parts (PartNo INTEGER, Description VARCHAR(12), Cost FLOAT)");
    }
    TComponent& Load(const std::string& body, const char* font = "  Font.Height = -11\n") {
        Form = TFormFile::Parse("object Form1: TForm1\n" + std::string(font) +
                                "  PixelsPerInch = 96\n" + body + "end\n");
        Expert = std::make_unique<TFieldExpertLogic>(*Form->Root(), Dir.string());
        return *Form->Root();
    }
    TComponent* C(const char* name) { return Form->Root()->FindComponent(name); }

    fs::path Dir;
    std::unique_ptr<TFormFile> Form;
    std::unique_ptr<TFieldExpertLogic> Expert;
};

const char* const Orders = "  object Orders: TTable\n    DatabaseName = 'shop.db'\n"
                           "    TableName = 'orders'\n  end\n";

TEST_F(FldExpTest, DataSetLines) {
    Load(std::string(Orders) + "  object Mem: TClientDataSet\n  end\n"
                               "  object OrdersSrc: TDataSource\n    DataSet = Orders\n  end\n"
                               "  object Second: TDataSource\n    DataSet = Orders\n  end\n"
                               "  object AVeryLongQueryNameIndeed: TQuery\n  end\n"
                               "  object AnotherVeryLongSourceName: TDataSource\n    DataSet = "
                               "AVeryLongQueryNameIndeed\n  end\n"
                               "  object Proc: TStoredProc\n  end\n");
    ASSERT_TRUE(Expert->ReadDataSet());
    EXPECT_EQ(Expert->ItemIndex, 0);
    ASSERT_EQ(Expert->DataSetLines.size(), 3u);
    EXPECT_EQ(Expert->DataSetLines[0].Text, "Orders           OrdersSrc       ");
    EXPECT_EQ(Expert->DataSetLines[0].Text.size(), 33u);
    EXPECT_EQ(Expert->DataSetLines[0].DataSource, C("OrdersSrc"));
    // Names wider than the columns still lead back to their components.
    EXPECT_EQ(Expert->DataSetLines[1].Text, "AVeryLongQueryNameIndeed AnotherVeryLongSourceName");
    EXPECT_EQ(Expert->DataSetLines[1].DataSet, C("AVeryLongQueryNameIndeed"));
    EXPECT_EQ(Expert->DataSetLines[1].DataSource, C("AnotherVeryLongSourceName"));
    EXPECT_EQ(Expert->DataSetLines[2].Text, "Proc" + std::string(13, ' ') + std::string(16, ' '));

    Load("  object Mem: TClientDataSet\n  end\n");
    EXPECT_FALSE(Expert->ReadDataSet());
    EXPECT_EQ(Expert->ItemIndex, -1);
}

TEST_F(FldExpTest, FieldsFromTheDatabaseOrFromPersistentFields) {
    Load(Orders);
    Expert->ReadDataSet();
    EXPECT_EQ(Expert->ReadFields(),
              (std::vector<std::string>{"Company", "Cust Name", "CustNo", "SaleDate", "ShipTime"}));
    EXPECT_EQ(Expert->FieldByName("company").DisplayWidth, 30);
    EXPECT_EQ(Expert->FieldByName("SaleDate").DataType, ftDate);
    EXPECT_THROW(Expert->FieldByName("Nope"), EDatabaseError);

    // Field components of the data set stand for its fields, with their captions.
    Load("  object Orders: TTable\n    DatabaseName = 'shop.db'\n    TableName = 'orders'\n"
         "    object OrdersCompany: TStringField\n      FieldName = 'Company'\n"
         "      DisplayLabel = 'Firm'\n      Size = 30\n    end\n  end\n"
         "  object OrdersSaleDate: TDateTimeField\n    FieldName = 'SaleDate'\n"
         "    DataSet = Orders\n    DisplayWidth = 12\n  end\n");
    Expert->ReadDataSet();
    EXPECT_EQ(Expert->ReadFields(), (std::vector<std::string>{"Company", "SaleDate"}));
    EXPECT_EQ(Expert->FieldByName("Company").DisplayLabel, "Firm");
    EXPECT_EQ(Expert->FieldByName("Company").DisplayWidth, 30);
    EXPECT_EQ(Expert->FieldByName("SaleDate").DataType, ftDateTime);
    EXPECT_EQ(Expert->FieldByName("SaleDate").DisplayWidth, 12);

    // A query, and a table that is not there.
    Load("  object Q: TQuery\n    DatabaseName = 'shop.db'\n    SQL.Strings = (\n"
         "      'SELECT PartNo, Cost'\n      'FROM parts')\n  end\n"
         "  object T: TTable\n    DatabaseName = 'shop.db'\n    TableName = 'nothing'\n  end\n");
    Expert->ReadDataSet();
    EXPECT_EQ(Expert->ReadFields(), (std::vector<std::string>{"Cost", "PartNo"}));
    Expert->ItemIndex = 1;
    EXPECT_THROW(Expert->ReadFields(), EDatabaseError);
}

TEST_F(FldExpTest, LabelUpWithAnEightPointFont) {
    Load(std::string(Orders) + "  object ds1: TDataSource\n  end\n  object DS2: TLabel\n  end\n");
    Expert->ReadDataSet();
    Expert->ReadFields();
    Expert->bnCreateClick({"Company", "CustNo", "SaleDate"});
    TComponent* ds3 = C("ds3");
    ASSERT_NE(ds3, nullptr);
    EXPECT_EQ(ds3->GetRef("DataSet"), C("Orders"));
    const char* labels[] = {"lbCompany", "lbCustNo", "lbSaleDate"};
    const char* editors[] = {"edCompany", "edCustNo", "edSaleDate"};
    for (int k = 0; k < 3; ++k) {
        TComponent* label = C(labels[k]);
        TComponent* editor = C(editors[k]);
        ASSERT_TRUE(label && editor) << k;
        EXPECT_EQ(label->GetInt("Top"), 10 + 40 * k);
        EXPECT_EQ(label->GetInt("Left"), 8);
        EXPECT_FALSE(label->HasProperty("AutoSize"));
        EXPECT_EQ(label->GetRef("FocusControl"), editor);
        EXPECT_EQ(label->Parent(), Form->Root());
        EXPECT_EQ(editor->GetInt("Top"), 24 + 40 * k);
        EXPECT_EQ(editor->GetInt("Left"), 8);
        EXPECT_EQ(editor->GetInt("Height"), 20);
        EXPECT_EQ(editor->GetRef("DataSource"), ds3);
        EXPECT_EQ(editor->GetInt("TabOrder"), k);
    }
    EXPECT_EQ(C("edCompany")->GetInt("Width"), 245);
    EXPECT_EQ(C("edCustNo")->ClassName(), "TDBEdit");
    EXPECT_EQ(C("edSaleDate")->ClassName(), "TDBDateEdit");
    EXPECT_EQ(C("edSaleDate")->GetString("DataField"), "SaleDate");
    // Creation order: the data source, then label and editor per field.
    EXPECT_EQ(Expert->Created.front(), ds3);
    EXPECT_EQ(Expert->Created[1], C("lbCompany"));
    EXPECT_EQ(Expert->Created[2], C("edCompany"));

    // The form reads back with all of it.
    auto again = TFormFile::Parse(Form->Save());
    EXPECT_EQ(again->Root()->FindComponent("lbSaleDate")->GetRef("FocusControl"),
              again->Root()->FindComponent("edSaleDate"));
}

TEST_F(FldExpTest, LabelLeftDateOptionAndExistingSource) {
    Load(std::string(Orders) +
         "  object OrdersSrc: TDataSource\n    DataSet = Orders\n  end\n"
         "  object OrdersCompany: TStringField\n    FieldName = 'Company'\n    DataSet = Orders\n"
         "    DisplayLabel = 'Company name'\n  end\n"
         "  object OrdersCustNo: TIntegerField\n    FieldName = 'CustNo'\n    DataSet = Orders\n"
         "    DisplayLabel = 'Cust'\n  end\n"
         "  object OrdersSaleDate: TDateField\n    FieldName = 'SaleDate'\n    DataSet = Orders\n"
         "    DisplayLabel = 'Sale date'\n  end\n"
         "  object OrdersShipTime: TTimeField\n    FieldName = 'ShipTime'\n    DataSet = Orders\n"
         "  end\n");
    Expert->ReadDataSet();
    Expert->ReadFields();
    Expert->LabelPos = lpLabelLeft;
    Expert->UseDateEdit = false;
    const int before = Form->Root()->ComponentCount();
    Expert->bnCreateClick({"Company", "CustNo", "SaleDate", "ShipTime"});
    EXPECT_EQ(Form->Root()->ComponentCount(), before + 8); // no new data source
    for (int k = 0; k < 4; ++k) {
        const char* field[] = {"Company", "CustNo", "SaleDate", "ShipTime"};
        TComponent* label = C(("lb" + std::string(field[k])).c_str());
        TComponent* editor = C(("ed" + std::string(field[k])).c_str());
        ASSERT_TRUE(label && editor) << k;
        EXPECT_EQ(editor->GetInt("Left"), 112);
        EXPECT_EQ(editor->GetInt("Top"), 8 + 24 * k);
        EXPECT_EQ(label->GetInt("Top"), 10 + 24 * k);
        EXPECT_EQ(label->GetInt("Width"), 96);
        EXPECT_EQ(label->GetString("Alignment"), "taRightJustify");
        EXPECT_EQ(label->GetString("AutoSize"), "False");
        EXPECT_EQ(editor->ClassName(), "TDBEdit");
        EXPECT_EQ(editor->GetRef("DataSource"), C("OrdersSrc"));
    }
    EXPECT_EQ(C("lbCompany")->GetString("Caption"), "Company name");
    EXPECT_EQ(C("edShipTime")->GetInt("Width"), 8 * 8 + 5);
}

TEST_F(FldExpTest, NamingErrorsStopTheRunAndKeepWhatWasMade) {
    Load(Orders);
    Expert->ReadDataSet();
    Expert->ReadFields();
    Expert->bnCreateClick({"CustNo", "SaleDate"});
    const std::string first = Form->Save();
    const int count = Form->Root()->ComponentCount();
    // The wizard once more: ds1 now feeds the data set; the first label fails and is
    // freed, the first set stays as it was.
    Expert->ReadDataSet();
    Expert->ReadFields();
    try {
        Expert->bnCreateClick({"CustNo", "SaleDate"});
        ADD_FAILURE();
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "A component named lbCustNo already exists");
    }
    EXPECT_EQ(Form->Root()->ComponentCount(), count);
    EXPECT_EQ(Form->Save(), first);

    // A blank in the field name: the label is refused after the fields before it.
    Load(std::string(Orders) + "  object edCustNo: TEdit\n  end\n");
    Expert->ReadDataSet();
    Expert->ReadFields();
    EXPECT_THROW(Expert->bnCreateClick({"Company", "Cust Name"}), EComponentError);
    EXPECT_NE(C("edCompany"), nullptr);
    EXPECT_EQ(C("lbCust Name"), nullptr);
    // The editor is refused: its label stays, without a focus control.
    EXPECT_THROW(Expert->bnCreateClick({"CustNo"}), EComponentError);
    ASSERT_NE(C("lbCustNo"), nullptr);
    EXPECT_FALSE(C("lbCustNo")->HasProperty("FocusControl"));
    EXPECT_EQ(C("edCustNo")->ClassName(), "TEdit");
}

TEST_F(FldExpTest, FontSizeAndSixteenBitColumns) {
    EXPECT_EQ(FormFontSize(Load("")), 8);
    EXPECT_EQ(FormFontSize(Load("", "  Font.Height = -13\n")), 10);
    EXPECT_EQ(FormFontSize(Load("", "  Font.Size = 12\n  Font.Height = -11\n")), 12);
    EXPECT_EQ(FormFontSize(Load("", "")), 8);
    EXPECT_EQ(FormFontSize(Load("", "  Font.Height = 0\n")), 8);
    // A positive height (the cell height) still gives a size, not a negative one.
    EXPECT_EQ(FormFontSize(Load("", "  Font.Height = 16\n")), 12);
    // Label Left with a caption of 8200 characters at 8 points: 8 * 8200 + 16 wraps
    // to 80 in the 16-bit column.
    Load(std::string(Orders) +
         "  object OrdersCustNo: TIntegerField\n    FieldName = 'CustNo'\n"
         "    DataSet = Orders\n    DisplayLabel = '" +
         std::string(8200, 'x') + "'\n  end\n");
    Expert->ReadDataSet();
    Expert->ReadFields();
    Expert->LabelPos = lpLabelLeft;
    Expert->bnCreateClick({"CustNo"});
    EXPECT_EQ(Expert->EdLeft, 80);
    EXPECT_EQ(C("edCustNo")->GetInt("Left"), 80);
    EXPECT_EQ(C("lbCustNo")->GetInt("Width"), 64);
}

} // namespace
} // namespace vesk
