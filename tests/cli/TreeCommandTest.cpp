// `vesk tree`: the tree of a table, and one-line errors for what is missing.
#include "tests/cli/CliRunner.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vesk::test {

namespace {

std::vector<std::string> TreeArgs(std::vector<std::string> extra) {
    std::vector<std::string> args = {"tree",    SamplePath("customers.db"),
                                     "--table", "Book",
                                     "--id",    "ID",
                                     "--owner", "OwnerID",
                                     "--text",  "Name"};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

} // namespace

TEST(CliTree, PrintsTheTreeIndentedWithOptionalIds) {
    const CliResult ids = RunVesk(TreeArgs({"--ids", "--image", "ImageIndex"}));
    EXPECT_EQ(ids.Status, 0) << ids.Err;
    EXPECT_TRUE(ids.Out.starts_with("North-West [1]\n"
                                    "  Saint Petersburg [10]\n"
                                    "    Neva Shipping [100]\n"
                                    "    Baltic Timber [101]\n"
                                    "    Admiralty Print [108]\n"
                                    "  Novgorod [11]\n"))
        << ids.Out;
    const CliResult plain = RunVesk(TreeArgs({}));
    EXPECT_TRUE(plain.Out.starts_with("North-West\n  Saint Petersburg\n")) << plain.Out;
    EXPECT_EQ(plain.Err, "");
}

TEST(CliTree, MissingDatabaseTableOrFieldIsOneLineAndStatusTwo) {
    std::vector<std::string> missingDatabase = TreeArgs({});
    missingDatabase[1] = "/nonexistent/book.db";
    std::vector<std::string> missingTable = TreeArgs({});
    missingTable[3] = "Books";
    std::vector<std::string> missingOwner = TreeArgs({});
    missingOwner[7] = "Owner";
    const struct {
        std::vector<std::string> Args;
        std::string Message;
    } cases[] = {
        {missingDatabase, "Database '/nonexistent/book.db' not found"},
        {missingTable, "Table 'Books' not found"},
        {missingOwner, "Field 'Owner' not found"},
        {TreeArgs({"--image", "Picture"}), "Field 'Picture' not found"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Message);
        const CliResult run = RunVesk(c.Args);
        EXPECT_EQ(run.Status, 2);
        EXPECT_EQ(run.Out, "");
        EXPECT_NE(run.Err.find(c.Message), std::string::npos) << run.Err;
        EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1);
    }
}

} // namespace vesk::test
