// `vesk tree` run as a user runs it: output, exit status and the error line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct TRun {
    int Status;
    std::string Out;
    std::string Err;
};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TRun Vesk(const std::string& arguments) {
    const fs::path dir = fs::temp_directory_path();
    const std::string tag = std::to_string(::getpid());
    const fs::path out = dir / ("vesk-tree-out-" + tag);
    const fs::path err = dir / ("vesk-tree-err-" + tag);
    const std::string command = std::string(VESK_BINARY_DIR "/bin/vesk tree ") + arguments + " >" +
                                out.string() + " 2>" + err.string();
    const int status = std::system(command.c_str());
    TRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(out), ReadAll(err)};
    fs::remove(out);
    fs::remove(err);
    return run;
}

const std::string Sample = VESK_SOURCE_DIR "/examples/sample/customers.db";

TEST(TreeCommand, PrintsTheTreeIndentedWithOptionalIds) {
    const TRun run = Vesk(Sample + " --table Book --id ID --owner OwnerID --text Name --ids");
    EXPECT_EQ(run.Status, 0);
    EXPECT_TRUE(run.Out.starts_with("North-West [1]\n"
                                    "  Saint Petersburg [10]\n"
                                    "    Neva Shipping [100]\n"
                                    "    Baltic Timber [101]\n"
                                    "    Admiralty Print [108]\n"
                                    "  Novgorod [11]\n"))
        << run.Out;
    const TRun plain = Vesk(Sample + " --table Book --id ID --owner OwnerID --text Name");
    EXPECT_TRUE(plain.Out.starts_with("North-West\n  Saint Petersburg\n")) << plain.Out;
    EXPECT_EQ(plain.Err, "");
}

TEST(TreeCommand, MissingDatabaseTableOrFieldIsOneLineAndStatusTwo) {
    const struct {
        std::string Arguments;
        std::string Message;
    } cases[] = {
        {"/nonexistent/book.db --table Book --id ID --owner OwnerID --text Name",
         "Database '/nonexistent/book.db' not found"},
        {Sample + " --table Books --id ID --owner OwnerID --text Name", "Table 'Books' not found"},
        {Sample + " --table Book --id ID --owner Owner --text Name", "Field 'Owner' not found"},
        {Sample + " --table Book --id ID --owner OwnerID --text Name --image Picture",
         "Field 'Picture' not found"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Arguments);
        const TRun run = Vesk(c.Arguments);
        EXPECT_EQ(run.Status, 2);
        EXPECT_EQ(run.Out, "");
        EXPECT_NE(run.Err.find(c.Message), std::string::npos) << run.Err;
        EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1);
    }
}

} // namespace
