// `vesk crypt` and `vesk time` as a user runs them.
#include "library/utility/Des.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/wait.h>
#include <unistd.h>

namespace vesk {
namespace {

namespace fs = std::filesystem;

class UtilityCommands : public ::testing::Test {
protected:
    void SetUp() override {
        FDir = fs::temp_directory_path() /
               ("vesk-cmd-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(FDir);
        fs::create_directories(FDir);
    }
    void TearDown() override { fs::remove_all(FDir); }

    std::string Path(const std::string& name) const { return (FDir / name).string(); }
    static void Write(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Runs vesk with the arguments (a shell word list); the exit status, stderr in Err.
    int Vesk(const std::string& arguments) {
        const std::string command = std::string(VESK_BINARY_DIR) + "/bin/vesk " + arguments + " >" +
                                    Path("stdout") + " 2>" + Path("stderr");
        const int status = std::system(command.c_str());
        Err = Read(Path("stderr"));
        fs::remove(Path("stdout"));
        fs::remove(Path("stderr"));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path FDir;
    std::string Err;
};

TEST_F(UtilityCommands, CryptRoundTripsAndReplacesInPlace) {
    Write(Path("a"), "thirteen byte");
    ASSERT_EQ(Vesk("crypt --encrypt --key pass " + Path("a") + " " + Path("b")), 0) << Err;
    TEncryption c;
    c.SetKey("pass");
    std::string expected = "thirteen byte" + std::string(3, '\0');
    c.Crypt(expected.data(), expected.data(), 16, true);
    EXPECT_EQ(Read(Path("b")), expected);

    ASSERT_EQ(Vesk("crypt -d -k pass " + Path("b")), 0) << Err;
    EXPECT_EQ(Read(Path("b")), "thirteen byte" + std::string(3, '\0'));
    EXPECT_EQ(Err, "");
}

TEST_F(UtilityCommands, CryptFailuresExitTwoWithOneLineAndTouchNothing) {
    Write(Path("out"), "keep");
    EXPECT_EQ(Vesk("crypt --encrypt " + Path("missing") + " " + Path("out")), 2);
    EXPECT_EQ(std::count(Err.begin(), Err.end(), '\n'), 1) << Err;
    EXPECT_NE(Err.find("missing"), std::string::npos) << Err;
    EXPECT_EQ(Read(Path("out")), "keep");

    EXPECT_EQ(Vesk("crypt " + Path("out")), 2);
    EXPECT_EQ(Vesk("crypt --encrypt --decrypt " + Path("out")), 2);
    EXPECT_EQ(Read(Path("out")), "keep");
}

TEST_F(UtilityCommands, TimePrintsTheStopwatchAndKeepsTheCommandsStatus) {
    EXPECT_EQ(Vesk("time --decimal 3 -- sh -c 'exit 3'"), 3);
    EXPECT_EQ(Err.rfind("Sec: ", 0), 0u) << Err;
    EXPECT_EQ(Err.size(), std::string("Sec: 0.000\n").size()) << Err;

    EXPECT_EQ(Vesk("time -- ls -d " + Path("")), 0) << Err;
    EXPECT_EQ(Vesk("time -- vesk-no-such-command"), 127);
    EXPECT_EQ(Err.find("Sec:"), std::string::npos) << Err;
}

} // namespace
} // namespace vesk
