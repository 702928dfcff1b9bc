// vesk rename and vesk fields on copies of the sample's order-entry form.
#include "platform/forms/FormFile.h"
#include "tests/cli/CliRunner.h"
#include "tests/library/utility/ScratchDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vesk::test {
namespace {

namespace fs = std::filesystem;

class FormCommandsTest : public ScratchDir {
protected:
    void SetUp() override {
        ScratchDir::SetUp();
        Dir = FDir;
        for (const char* f : {"OrderEntry.dfm", "OrderEntry.pas", "orders.db"})
            fs::copy_file(SamplePath(f), Dir / f);
    }
    std::string Form() const { return (Dir / "OrderEntry.dfm").string(); }

    fs::path Dir;
};

TEST_F(FormCommandsTest, RenameKeepsFormAndUnitInStep) {
    const CliResult r = RunVesk({"rename", Form()});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "DBEdit1 -> edOrderNo\nDBEdit2 -> edCustNo\nDBCheckBox1 -> edPaid\n" +
                         (Dir / "OrderEntry.pas").string() + ": field declarations renamed\n");
    const std::string unit = Read(Dir / "OrderEntry.pas");
    EXPECT_NE(unit.find("    edOrderNo: TDBEdit;\r\n"), std::string::npos);
    EXPECT_EQ(unit.find("DBEdit1"), std::string::npos);
    const std::string form = Read(Form());
    EXPECT_NE(form.find("FocusControl = edOrderNo\r\n"), std::string::npos);
    // A second run changes nothing and says why.
    const CliResult again = RunVesk({"rename", Form()});
    EXPECT_EQ(again.Status, 0);
    EXPECT_NE(again.Out.find("edOrderNo kept: already named after its field\n"), std::string::npos);
    EXPECT_EQ(Read(Form()), form);
}

TEST_F(FormCommandsTest, RenameBinaryFormWithoutUnitToAnotherFile) {
    fs::copy_file(std::string(VESK_SOURCE_DIR) + "/tests/platform/forms/data/OrderEntry.bin.dfm",
                  Dir / "Binary.dfm");
    const std::string before = Read(Dir / "Binary.dfm");
    const std::string out = (Dir / "Renamed.dfm").string();
    const CliResult r = RunVesk({"rename", (Dir / "Binary.dfm").string(), "-o", out});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_NE(r.Out.find("no unit beside"), std::string::npos);
    EXPECT_EQ(Read(Dir / "Binary.dfm"), before);
    auto form = TFormFile::LoadFromFile(out);
    EXPECT_EQ(form->Format(), TFormFormat::Binary);
    EXPECT_NE(form->Root()->FindComponent("edPaid"), nullptr);
}

TEST_F(FormCommandsTest, FieldsPlacesControlsAndRefusesASecondRun) {
    const std::vector<std::string> args = {"fields",  Form(),     "--dataset", "TBORDERS",
                                           "--field", "SaleDate", "--field",   "amount"};
    const CliResult r = RunVesk(args);
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "created TLabel lbAmount\ncreated TDBEdit edAmount\n"
                     "created TLabel lbSaleDate\ncreated TDBDateEdit edSaleDate\n");
    const std::string after = Read(Form());
    auto form = TFormFile::LoadFromFile(Form());
    EXPECT_EQ(form->Root()->FindComponent("edAmount")->GetRef("DataSource"),
              form->Root()->FindComponent("dsOrders"));

    const CliResult again = RunVesk(args);
    EXPECT_EQ(again.Status, 2);
    EXPECT_EQ(again.Err, "vesk fields: field Amount: A component named lbAmount already exists;"
                         " the form was not changed\n");
    EXPECT_EQ(Read(Form()), after);

    const CliResult left = RunVesk(
        {"fields", Form(), "--dataset", "qyShipping", "--all", "--label-left", "--no-date-edit"});
    ASSERT_EQ(left.Status, 0) << left.Err;
    EXPECT_EQ(left.Out.substr(0, 28), "created TDataSource ds1\ncrea");
    EXPECT_NE(left.Out.find("created TDBEdit edShipDate\n"), std::string::npos);
}

TEST_F(FormCommandsTest, ErrorsLeaveTheFilesAlone) {
    const std::string before = Read(Form());
    const std::vector<std::vector<std::string>> bad = {
        {"fields", Form(), "--dataset", "Nothing", "--all"},
        {"fields", Form(), "--dataset", "tbOrders", "--field", "Nope"},
        {"fields", Form(), "--dataset", "tbOrders"},
        {"fields", (Dir / "missing.dfm").string(), "--dataset", "tbOrders", "--all"},
        {"rename", (Dir / "missing.dfm").string()},
    };
    for (const auto& args : bad) {
        const CliResult r = RunVesk(args);
        EXPECT_EQ(r.Status, 2) << args[2];
        EXPECT_EQ(std::count(r.Err.begin(), r.Err.end(), '\n'), 1) << r.Err;
    }
    EXPECT_EQ(Read(Form()), before);

    std::ofstream(Dir / "Broken.dfm") << "object A: TForm\n  Left = 'x\nend\n";
    const CliResult broken = RunVesk({"rename", (Dir / "Broken.dfm").string()});
    EXPECT_EQ(broken.Status, 2);
    EXPECT_EQ(broken.Err,
              "vesk rename: " + (Dir / "Broken.dfm").string() + ": line 2: unterminated string\n");
}

} // namespace
} // namespace vesk::test
