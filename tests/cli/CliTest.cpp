// The command line's contract: output, exit statuses and one-line errors.
#include "tests/cli/CliRunner.h"

#include <gtest/gtest.h>

namespace vesk::test {

namespace {

int Lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace

TEST(CliMethods, ListsFilteredNamesAndPrefixesFilesWhenThereAreSeveral) {
    const CliResult one =
        RunVesk({"methods", SamplePath("MainForm.pas"), "--filter", "tfrmmain.btnS"});
    EXPECT_EQ(one.Status, 0) << one.Err;
    EXPECT_EQ(one.Out, "TfrmMain.btnSearchClick\nTfrmMain.btnSaveClick\n");

    const CliResult two = RunVesk(
        {"methods", SamplePath("TextUtils.pas"), SamplePath("Customers.pas"), "--filter", "S"});
    EXPECT_EQ(two.Status, 0) << two.Err;
    const std::string text = SamplePath("TextUtils.pas") + ": ";
    const std::string customers = SamplePath("Customers.pas") + ": ";
    EXPECT_EQ(two.Out, text + "StartsWithText\n" + text + "SplitName\n" + customers +
                           "TCustomer.SetName\n" + customers + "Sender\n" + customers +
                           "TCustomerBook.SaveToFile\n");
}

TEST(CliGoto, PrintsTopAndCursorLinesOrFailsOutsideTheList) {
    const CliResult found =
        RunVesk({"goto", SamplePath("MainForm.pas"), "--filter", "FormatCaption"});
    EXPECT_EQ(found.Status, 0) << found.Err;
    EXPECT_EQ(found.Out, "top 66\ncursor 68 3\n");

    const CliResult outside = RunVesk({"goto", SamplePath("MainForm.pas"), "--index", "99"});
    EXPECT_EQ(outside.Status, 1);
    EXPECT_EQ(outside.Out, "");
    EXPECT_EQ(Lines(outside.Err), 1);

    const CliResult none = RunVesk({"goto", SamplePath("Sample.dpr")});
    EXPECT_EQ(none.Status, 1); // a program declares no routines: index 0 is outside
}

TEST(CliErrors, OneLineAndStatusTwo) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"methods", "/no/such/unit.pas"},
                                               {"methods", "/"},
                                               {"goto"},
                                               {"goto", SamplePath("MainForm.pas"), "--index", "x"},
                                               {"numtostr", "-1"},
                                               {"numtostr", "2147483648"},
                                               {"numtostr", "ten"},
                                               {"no-such-command"}}) {
        const CliResult result = RunVesk(args);
        EXPECT_EQ(result.Status, 2) << args[0];
        EXPECT_EQ(Lines(result.Err), 1) << result.Err;
        EXPECT_EQ(result.Out, "");
    }
    const CliResult help = RunVesk({"methods", "--help"});
    EXPECT_EQ(help.Status, 0);
    EXPECT_NE(help.Out.find("--filter"), std::string::npos);
}

TEST(CliText, NumbersInWordsAndCodePagesThroughStandardStreams) {
    EXPECT_EQ(RunVesk({"numtostr", "2002"}).Out, "две тысячи два рубля\n");
    const std::string dos("\xA0\xAF\x80 text\r\n\0end", 14);
    const CliResult win = RunVesk({"dos2win"}, dos);
    EXPECT_EQ(win.Status, 0);
    EXPECT_EQ(win.Out, std::string("\xE0\xEF\xC0 text\r\n\0end", 14));
    EXPECT_EQ(RunVesk({"win2dos"}, win.Out).Out, dos);
}

} // namespace vesk::test
