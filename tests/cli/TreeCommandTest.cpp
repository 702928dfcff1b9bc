// `vesk tree`: the tree of a table, and one-line errors for what is missing.
#include "tests/cli/CliRunner.h"

#include <gtest/gtest.h>

#include <SQLiteCpp/SQLiteCpp.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

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
    EXPECT_TRUE(ids.Out.starts_with("North-West [1] (image 0)\n"
                                    "  Saint Petersburg [10] (image 1)\n"
                                    "    Neva Shipping [100] (image 2)\n"
                                    "    Baltic Timber [101] (image 2)\n"
                                    "    Admiralty Print [108] (image 2)\n"
                                    "  Novgorod [11] (image 1)\n"))
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
    std::vector<std::string> noText = TreeArgs({});
    noText[9] = "";
    std::vector<std::string> folder = TreeArgs({});
    folder[1] = "/";
    const std::string fifoPath = std::filesystem::temp_directory_path() /
                                 ("vesk-tree-" + std::to_string(::getpid()) + ".fifo");
    ASSERT_EQ(::mkfifo(fifoPath.c_str(), 0600), 0);
    std::vector<std::string> fifo = TreeArgs({});
    fifo[1] = fifoPath; // SQLite would wait on it for a writer
    const struct {
        std::vector<std::string> Args;
        std::string Message;
    } more[] = {
        {noText, "vesk tree: --text must name a field\n"},
        {TreeArgs({"--image", ""}), "vesk tree: --image must name a field\n"},
        {folder, "vesk tree: Database '/' is a directory\n"},
        {fifo, "vesk tree: Database '" + fifoPath + "' is a fifo, not a file\n"},
    };
    for (const auto& c : more) {
        const CliResult run = RunVesk(c.Args);
        EXPECT_EQ(run.Status, 2);
        EXPECT_EQ(run.Err, c.Message);
    }
    std::filesystem::remove(fifoPath);
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

namespace vesk::test {

// An identifier that is no number is named with its field and its record, and a NUL
// byte in it shows in the one line instead of cutting it short.
TEST(CliTree, AnIdentifierThatIsNoNumberNamesItsFieldAndRecord) {
    const std::string db = std::filesystem::temp_directory_path() /
                           ("vesk-tree-" + std::to_string(::getpid()) + ".db");
    {
        SQLite::Database make(db, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        make.exec("CREATE TABLE T (ID BLOB, Owner INTEGER, Name TEXT);"
                  "INSERT INTO T VALUES (1, 0, 'first');"
                  "INSERT INTO T VALUES (x'41004243', 0, 'second');");
    }
    const CliResult run =
        RunVesk({"tree", db, "--table", "T", "--id", "ID", "--owner", "Owner", "--text", "Name"});
    std::filesystem::remove(db);
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err,
              "vesk tree: Record 2: Value 'A\\0BC' of field 'ID' is not a valid integer\n");
}

} // namespace vesk::test
