#include "ide/project/NewForm.h"
#include "ide/project/ProjectFile.h"

#include <gtest/gtest.h>

using namespace vesk;

namespace {

const std::string Project = "program Sample;\r\n"
                            "\r\n"
                            "uses\r\n"
                            "  Forms,\r\n"
                            "  MainForm in 'MainForm.pas' {frmMain}, { the main window }\r\n"
                            "  TextUtils in 'TextUtils.pas';\r\n"
                            "\r\n"
                            "{$R *.RES}\r\n"
                            "\r\n"
                            "begin\r\n"
                            "  Application.Initialize;\r\n"
                            "  Application.CreateForm(TfrmMain, frmMain);\r\n"
                            "  Application.Run;\r\n"
                            "end.\r\n";

} // namespace

TEST(NewFormTest, TheUnitJoinsTheUsesClauseAndIsCreatedAfterTheOtherForms) {
    const auto added = AddUnitToProject(Project, "Unit2", "Unit2.pas", "Form2");
    ASSERT_TRUE(added);
    const auto units = ParseProjectUses(*added);
    ASSERT_EQ(units.size(), 4u);
    EXPECT_EQ(units.back(), (TProjectUnit{"Unit2", "Unit2.pas", "Form2"}));
    EXPECT_NE(added->find("  TextUtils in 'TextUtils.pas',\r\n  Unit2 in 'Unit2.pas' {Form2};\r\n"),
              std::string::npos);
    EXPECT_NE(added->find("  Application.CreateForm(TfrmMain, frmMain);\r\n"
                          "  Application.CreateForm(TForm2, Form2);\r\n"
                          "  Application.Run;\r\n"),
              std::string::npos);
    // Named already (in any case): nothing changes, nothing is doubled.
    EXPECT_EQ(AddUnitToProject(*added, "UNIT2", "Unit2.pas", "Form2"), added);
}

TEST(NewFormTest, ProjectsWithoutFormsQuotesAndLineEndsOfTheirOwn) {
    // No CreateForm yet: before Run. Unix line ends stay; a quote in the path is doubled.
    const std::string plain = "program P;\nuses Forms;\nbegin\n  Application.Run;\nend.\n";
    const auto added = AddUnitToProject(plain, "Unit1", "It's.pas", "Form1");
    ASSERT_TRUE(added);
    EXPECT_EQ(*added, "program P;\nuses Forms,\n  Unit1 in 'It''s.pas' {Form1};\nbegin\n"
                      "  Application.CreateForm(TForm1, Form1);\n  Application.Run;\nend.\n");
    EXPECT_EQ(ParseProjectUses(*added).back().InPath, "It's.pas");
    // No whole uses clause: nothing to add it to.
    EXPECT_FALSE(AddUnitToProject("program P;\nbegin\nend.\n", "Unit1", "Unit1.pas", "Form1"));
    EXPECT_FALSE(AddUnitToProject("program P;\nuses A, B", "Unit1", "Unit1.pas", "Form1"));
}
