// `vesk crypt` and `vesk time` as a user runs them.
#include "library/utility/Des.h"
#include "tests/cli/CliRunner.h"
#include "tests/library/utility/ScratchDir.h"

#include <algorithm>

namespace vesk {
namespace {

using test::RunVesk;

class UtilityCommands : public test::ScratchDir {};

TEST_F(UtilityCommands, CryptRoundTripsAndReplacesInPlace) {
    Write(Path("a"), "thirteen byte");
    auto run = RunVesk({"crypt", "--encrypt", "--key", "pass", Path("a"), Path("b")});
    ASSERT_EQ(run.Status, 0) << run.Err;
    TEncryption c;
    c.SetKey("pass");
    std::string expected = "thirteen byte" + std::string(3, '\0');
    c.Crypt(expected.data(), expected.data(), 16, true);
    EXPECT_EQ(Read(Path("b")), expected);

    run = RunVesk({"crypt", "-d", "-k", "pass", Path("b")});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(Read(Path("b")), "thirteen byte" + std::string(3, '\0'));
    EXPECT_EQ(run.Err, "");
}

TEST_F(UtilityCommands, CryptFailuresExitTwoWithOneLineAndTouchNothing) {
    Write(Path("out"), "keep");
    auto run = RunVesk({"crypt", "--encrypt", Path("missing"), Path("out")});
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
    EXPECT_NE(run.Err.find("missing"), std::string::npos) << run.Err;
    EXPECT_EQ(Read(Path("out")), "keep");

    EXPECT_EQ(RunVesk({"crypt", Path("out")}).Status, 2);
    EXPECT_EQ(RunVesk({"crypt", "--encrypt", "--decrypt", Path("out")}).Status, 2);
    EXPECT_EQ(Read(Path("out")), "keep");
}

TEST_F(UtilityCommands, TimePrintsTheStopwatchAndKeepsTheCommandsStatus) {
    auto run = RunVesk({"time", "--decimal", "3", "--", "sh", "-c", "exit 3"});
    EXPECT_EQ(run.Status, 3);
    EXPECT_EQ(run.Err.rfind("Sec: ", 0), 0u) << run.Err;
    EXPECT_EQ(run.Err.size(), std::string("Sec: 0.000\n").size()) << run.Err;

    run = RunVesk({"time", "--", "ls", "-d", Path("")});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, Path("") + "\n");
    run = RunVesk({"time", "--", "vesk-no-such-command"});
    EXPECT_EQ(run.Status, 127);
    EXPECT_EQ(run.Err.find("Sec:"), std::string::npos) << run.Err;
}

} // namespace
} // namespace vesk
