#include "ide/project/ProjectFile.h"

#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysUtils.h"
#include "tests/ide/TempFolder.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

std::vector<std::string> Names(const std::vector<TProjectUnit>& units) {
    std::vector<std::string> names;
    for (const TProjectUnit& unit : units)
        names.push_back(unit.Name);
    return names;
}

TEST(ProjectUsesTest, ReadsNamesPathsAndForms) {
    const auto units = ParseProjectUses("program Sample;\r\n\r\nuses\r\n  Forms,\r\n"
                                        "  MainForm in 'MainForm.pas' {frmMain},\r\n"
                                        "  Data in 'data\\Data.pas' {DataModule1: TDataModule},\r\n"
                                        "  TextUtils in 'TextUtils.pas';\r\n\r\n"
                                        "{$R *.RES}\r\nbegin\r\nend.\r\n");
    ASSERT_EQ(units.size(), 4u);
    EXPECT_EQ(units[0], (TProjectUnit{"Forms", "", ""}));
    EXPECT_EQ(units[1], (TProjectUnit{"MainForm", "MainForm.pas", "frmMain"}));
    EXPECT_EQ(units[2], (TProjectUnit{"Data", "data\\Data.pas", "DataModule1"}));
    EXPECT_EQ(units[3], (TProjectUnit{"TextUtils", "TextUtils.pas", ""}));
}

TEST(ProjectUsesTest, CommentsAndDirectivesAreNoUnits) {
    // A "uses" inside a comment is not the clause; comments between the entries are
    // skipped, and a comment that is not right after a path names no form.
    const auto units = ParseProjectUses("program P; { uses Fake in 'fake.pas'; }\n"
                                        "(* uses Other; *) // uses Third;\n"
                                        "USES {$IFDEF X} A, {$ENDIF}\n"
                                        "  // B,\n"
                                        "  C (* c *) in 'c.pas' { the form } ,\n"
                                        "  D in 'd.pas' // no form here\n"
                                        "  {later};\n");
    EXPECT_EQ(Names(units), (std::vector<std::string>{"A", "C", "D"}));
    EXPECT_EQ(units[1].FormName, "the form");
    EXPECT_EQ(units[2].FormName, "");
}

TEST(ProjectUsesTest, QuotedPathsDottedNamesAndBrokenClauses) {
    const auto units = ParseProjectUses("library L; uses System.Utils in 'It''s here.pas', "
                                        "B in 'b.pas';");
    ASSERT_EQ(units.size(), 2u);
    EXPECT_EQ(units[0].Name, "System.Utils");
    EXPECT_EQ(units[0].InPath, "It's here.pas");
    // No clause at all; a clause broken off after a name or after "in".
    EXPECT_TRUE(ParseProjectUses("program P; begin end.").empty());
    EXPECT_EQ(Names(ParseProjectUses("uses A, B")), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(Names(ParseProjectUses("uses A, B in ")), (std::vector<std::string>{"A"}));
    EXPECT_EQ(Names(ParseProjectUses("uses A in 'a.pas")), (std::vector<std::string>{"A"}));
    // An unterminated comment swallows the rest of the text.
    EXPECT_EQ(Names(ParseProjectUses("uses A, { B, C;")), (std::vector<std::string>{"A"}));
}

TEST(ProjectFilesTest, UnitsResolveAgainstTheProjectFolderWithoutRegardToCase) {
    TTempFolder dir;
    const std::string main = dir.Write("proj/Main.pas", "unit Main;");
    const std::string data = dir.Write("shared/Data.PAS", "unit Data;");
    const std::string beside = dir.Write("proj/Beside.pas", "unit Beside;");
    const std::string project =
        dir.Write("proj/App.dpr", "program App;\nuses Forms, Main in 'MAIN.pas',\n"
                                  "  Data in '..\\Shared\\data.pas', Beside,\n"
                                  "  Gone in 'gone.pas';\nbegin end.\n");
    const TProject p = ReadProject(project);
    ASSERT_EQ(p.Units.size(), 5u);
    EXPECT_EQ(p.UnitFiles[0], "");                     // Forms: a unit of the library
    EXPECT_EQ(p.UnitFiles[1], ExpandFileName(main));   // the case of the path differs
    EXPECT_EQ(p.UnitFiles[2], ExpandFileName(data));   // back slashes, "..", other case
    EXPECT_EQ(p.UnitFiles[3], ExpandFileName(beside)); // no "in": Name.pas beside
    EXPECT_EQ(p.UnitFiles[4], "");                     // named but missing
    EXPECT_THROW(ReadProject(dir.File("none.dpr")), EInOutError);
}

TEST(ProjectFilesTest, FormsAndUnitsBesideEachOther) {
    TTempFolder dir;
    const std::string unit = dir.Write("Order.pas", "unit Order;");
    const std::string form = dir.Write("ORDER.DFM", "object F: TForm\nend\n");
    const std::string lazUnit = dir.Write("Laz.pp", "unit Laz;");
    const std::string lazForm = dir.Write("Laz.lfm", "object F: TForm\nend\n");
    dir.Write("Alone.pas", "unit Alone;");
    EXPECT_EQ(FormFileBeside(unit), form);
    EXPECT_EQ(FormFileBeside(lazUnit), lazForm);
    EXPECT_EQ(FormFileBeside(dir.File("Alone.pas")), "");
    EXPECT_EQ(FormFileBeside(dir.File("App.dpr")), ""); // no unit
    EXPECT_EQ(UnitFileBeside(form), unit);
    EXPECT_EQ(UnitFileBeside(lazForm), lazUnit);
    EXPECT_EQ(UnitFileBeside(unit), "");
    EXPECT_EQ(FindFileNoCase(dir.File("order.pas")), unit);
    EXPECT_EQ(FindFileNoCase(dir.File("nothing.pas")), "");
    EXPECT_EQ(FindFileNoCase(dir.Path().string()), ""); // a folder is no file
}

} // namespace
} // namespace vesk
