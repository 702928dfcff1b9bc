// `vesk crypt` and `vesk time` as a user runs them.
#include "library/utility/Des.h"
#include "tests/cli/CliRunner.h"
#include "tests/library/utility/ScratchDir.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <thread>

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

// True once the process holds a file under Dir that has no name yet (its output) open.
bool WaitUntilWriting(pid_t pid, const std::filesystem::path& dir) {
    namespace fs = std::filesystem;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        std::error_code error;
        for (const auto& fd :
             fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
            const std::string target = fs::read_symlink(fd.path(), error).string();
            if (target.starts_with(dir.string()) && target.ends_with("(deleted)"))
                return true;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
}

// Stopped while it writes, by any signal, `vesk crypt` leaves the original whole and no
// temporary file behind.
TEST_F(UtilityCommands, AnInterruptedCryptLeavesTheFileWholeAndNothingBeside) {
    std::string plain(16 << 20, '\0');
    for (std::size_t i = 0; i < plain.size(); i += 4096)
        plain[i] = static_cast<char>(i >> 12);
    Write(Path("doc"), plain);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        test::CliProcess crypt({"crypt", "--encrypt", "--quiet", Path("doc")}, {});
        ASSERT_TRUE(WaitUntilWriting(crypt.Pid(), FDir));
        ::kill(crypt.Pid(), signal);
        EXPECT_EQ(crypt.Wait().Status, 128 + signal);
        EXPECT_EQ(EntryCount(), 1u);
    }
    // Even a kill no handler sees, wherever it falls.
    std::mt19937 random(7);
    for (int run = 0; run < 20; ++run) {
        test::CliProcess crypt({"crypt", "--encrypt", "--quiet", Path("doc")}, {});
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 60));
        ::kill(crypt.Pid(), SIGKILL);
        crypt.Wait();
        EXPECT_EQ(EntryCount(), 1u) << "run " << run;
    }
    EXPECT_EQ(Read(Path("doc")), plain);
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
