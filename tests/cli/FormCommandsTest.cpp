// vesk rename and vesk fields on copies of the sample's order-entry form.
#include "platform/forms/FormFile.h"
#include "tests/cli/CliRunner.h"
#include "tests/library/utility/ScratchDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

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

// -o OUT never overwrites a file that is not the form's: the renamed unit goes beside
// OUT only where no file is, or where the form's own unit is.
TEST_F(FormCommandsTest, RenameToAnotherFileWritesOnlyWhatTheUserNamed) {
    fs::create_directory(Dir / "out");
    const std::string out = (Dir / "out" / "Copy.dfm").string();
    Write((Dir / "out" / "Copy.pas").string(), "unit Unrelated;\n");
    const std::string form = Read(Form());
    const CliResult refused = RunVesk({"rename", Form(), "-o", out});
    EXPECT_EQ(refused.Status, 2);
    EXPECT_EQ(refused.Out, "");
    EXPECT_EQ(refused.Err, "vesk rename: '" + (Dir / "out" / "Copy.pas").string() +
                               "' is not the unit of '" + Form() +
                               "' and is left alone; nothing was written\n");
    EXPECT_EQ(Read((Dir / "out" / "Copy.pas").string()), "unit Unrelated;\n");
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(Read(Form()), form);

    // -o naming the place of the unit itself is refused too.
    const CliResult onUnit = RunVesk({"rename", Form(), "-o", (Dir / "out" / "x.pas").string()});
    EXPECT_EQ(onUnit.Status, 2);
    EXPECT_FALSE(fs::exists(Dir / "out" / "x.pas"));

    fs::remove(Dir / "out" / "Copy.pas");
    const CliResult written = RunVesk({"rename", Form(), "-o", out});
    ASSERT_EQ(written.Status, 0) << written.Err;
    EXPECT_NE(Read((Dir / "out" / "Copy.pas").string()).find("edOrderNo: TDBEdit"),
              std::string::npos);
    EXPECT_EQ(Read(Form()), form);
    EXPECT_EQ(Read((Dir / "OrderEntry.pas").string()), Read(SamplePath("OrderEntry.pas")));
}

// A write that fails (here: past a file size limit, as on a full disk) leaves the form
// and its unit as they were, and prints the error alone. The unit is made the larger
// file, so that it fails after the form could have been written.
TEST_F(FormCommandsTest, AFailedWriteLeavesFormAndUnitInStep) {
    const std::string unitPath = (Dir / "OrderEntry.pas").string();
    Write(unitPath, Read(unitPath) + "{" + std::string(4000, '.') + "}\r\n");
    const std::string form = Read(Form());
    const std::string unit = Read(unitPath);
    CliOptions options;
    options.FileSizeLimit = 3000;
    const CliResult r = RunVesk({"rename", Form()}, options);
    EXPECT_EQ(r.Status, 2);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err, "vesk rename: Cannot write '" + unitPath + "': File too large\n");
    EXPECT_EQ(Read(Form()), form);
    EXPECT_EQ(Read(unitPath), unit);
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 3);
}

TEST_F(FormCommandsTest, FieldsReportsOnlyWhatWasWritten) {
    const std::string form = Read(Form());
    CliOptions options;
    options.FileSizeLimit = 2000; // the form grows past it, as on a full disk
    const CliResult r =
        RunVesk({"fields", Form(), "--dataset", "tbOrders", "--field", "SaleDate"}, options);
    EXPECT_EQ(r.Status, 2);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err, "vesk fields: Cannot write '" + Form() + "': File too large\n");
    EXPECT_EQ(Read(Form()), form);
}

TEST_F(FormCommandsTest, OddAndUnwritableFormsAreRefusedWithOneLine) {
    ASSERT_EQ(::mkfifo((Dir / "Pipe.dfm").c_str(), 0600), 0);
    const CliResult folder = RunVesk({"rename", Dir.string()});
    EXPECT_EQ(folder.Err, "vesk rename: '" + Dir.string() + "' is a directory\n");
    const CliResult pipe = RunVesk({"rename", (Dir / "Pipe.dfm").string()});
    EXPECT_EQ(pipe.Err,
              "vesk rename: '" + (Dir / "Pipe.dfm").string() + "' is a fifo, not a file\n");
    const CliResult fields =
        RunVesk({"fields", (Dir / "Pipe.dfm").string(), "--dataset", "tbOrders", "--all"});
    EXPECT_EQ(fields.Status, 2);

    // A read-only form is not replaced through its writable folder.
    const std::string form = Read(Form());
    fs::permissions(Form(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(Dir, fs::perms::all);
    CliOptions options;
    if (::geteuid() == 0)
        options.User = 65534; // the superuser may write anything
    const CliResult readOnly = RunVesk({"rename", Form()}, options);
    EXPECT_EQ(readOnly.Status, 2);
    EXPECT_EQ(readOnly.Out, "");
    EXPECT_EQ(readOnly.Err, "vesk rename: Cannot replace '" + Form() + "': Permission denied\n");
    EXPECT_EQ(Read(Form()), form);
}

} // namespace
} // namespace vesk::test
