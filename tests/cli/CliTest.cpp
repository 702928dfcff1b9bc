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

TEST(CliErrors, MessagesNameWhatWasWrong) {
    const struct {
        std::vector<std::string> Args;
        std::string Err;
    } cases[] = {
        {{"no-such-command", "x"}, "vesk: unknown command 'no-such-command' (see vesk --help)\n"},
        {{"--help", "Methods"}, "vesk: unknown command 'Methods' (see vesk --help)\n"},
        {{"numtostr", "ten"}, "vesk numtostr: 'ten' is not a whole number from 0 to 2147483647\n"},
        {{"numtostr", "-1"}, "vesk numtostr: '-1' is not a whole number from 0 to 2147483647\n"},
        {{"numtostr", "99999999999"},
         "vesk numtostr: '99999999999' is not a whole number from 0 to 2147483647\n"},
        {{"methods", "/"}, "vesk methods: '/' is a directory\n"},
    };
    for (const auto& c : cases) {
        const CliResult result = RunVesk(c.Args);
        EXPECT_EQ(result.Status, 2) << c.Args[0];
        EXPECT_EQ(result.Err, c.Err);
    }
    const CliResult version = RunVesk({"--version"});
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Out, "vesk " VESK_VERSION "\n");
    EXPECT_EQ(RunVesk({"numtostr", "007"}).Out, "семь рублей\n");
}

// A full disk or a closed pipe on standard output is an error to report, whatever the
// command (or the help) was printing.
TEST(CliOutput, AFailedWriteOfStandardOutputIsReportedWithStatusTwo) {
    const std::vector<std::vector<std::string>> commands = {
        {"methods", SamplePath("MainForm.pas")},
        {"goto", SamplePath("MainForm.pas")},
        {"numtostr", "12"},
        {"win2dos"},
        {"--version"},
        {"methods", "--help"},
    };
    for (const bool pipe : {false, true}) {
        CliOptions options;
        options.Input = "text to convert";
        options.ClosedPipe = pipe;
        options.OutputFile = pipe ? "" : "/dev/full";
        const std::string reason = pipe ? "Broken pipe" : "No space left on device";
        for (const auto& args : commands) {
            const CliResult result = RunVesk(args, options);
            EXPECT_EQ(result.Status, 2) << args[0] << " " << reason;
            const std::string who =
                args[0].starts_with("-") || args.back() == "--help" ? "vesk" : "vesk " + args[0];
            EXPECT_EQ(result.Err, who + ": cannot write to standard output: " + reason + "\n");
        }
    }
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
