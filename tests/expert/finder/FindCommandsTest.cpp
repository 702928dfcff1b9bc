// vesk find, packages and favorites, run as a user runs them.
#include "tests/cli/CliRunner.h"
#include "tests/library/utility/ScratchDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace vesk {
namespace {

using test::RunVesk;

class FindCommands : public test::ScratchDir {
protected:
    void SetUp() override {
        ScratchDir::SetUp();
        FStore = Path("registry.reg");
        ::setenv("VESK_REGISTRY", FStore.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("VESK_REGISTRY");
        ScratchDir::TearDown();
    }
    std::string FStore;
};

TEST_F(FindCommands, FindListsSortedOrSaysNothingWasFound) {
    Write(Path("b.PAS"), "");
    Write(Path("A.dpr"), "");
    Write(Path("c.txt"), "");
    auto found = RunVesk({"find", "--main", FDir.string(), ""});
    EXPECT_EQ(found.Status, 0);
    EXPECT_EQ(found.Out, Path("A.dpr") + "\n" + Path("b.PAS") + "\n");
    auto none = RunVesk({"find", "--main", FDir.string(), "--ext", "INC", "b"});
    EXPECT_EQ(none.Status, 1);
    EXPECT_EQ(none.Out, "No File(s) Found\n");

    Write(FStore, "not a store\n");
    auto corrupt = RunVesk({"find", "x"});
    EXPECT_EQ(corrupt.Status, 2);
    EXPECT_EQ(corrupt.Err,
              "vesk find: " + FStore + ":1: not a REGEDIT4 file (first line must be REGEDIT4)\n");
    EXPECT_EQ(Read(FStore), "not a store\n");
}

TEST_F(FindCommands, FavoritesAndPackagesAreStored) {
    Write(Path("Fav.pas"), "");
    EXPECT_EQ(RunVesk({"favorites", "--add", Path("Fav.pas")}).Out, "1\t" + Path("Fav.pas") + "\n");
    EXPECT_EQ(RunVesk({"favorites"}).Out, "1\t" + Path("Fav.pas") + "\n");
    EXPECT_EQ(RunVesk({"favorites", "--remove", "2"}).Status, 2);
    EXPECT_EQ(RunVesk({"favorites", "--add", Path("none.pas")}).Status, 2);
    EXPECT_EQ(RunVesk({"favorites", "--remove", "1"}).Out, "");

    Write(Path("Pk.dpk"), "");
    Write(FStore, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Borland\\Delphi\\3.0\\Library]\r\n"
                  "\"SearchPath\"=\"" +
                      FDir.string() +
                      "\"\r\n\r\n"
                      "[HKEY_CURRENT_USER\\Software\\Borland\\Delphi\\3.0\\Known Packages]\r\n"
                      "\"/bin/Pk.bpl\"=\"My package\"\r\n");
    EXPECT_EQ(RunVesk({"packages"}).Out, "");
    EXPECT_EQ(RunVesk({"packages", "--refresh"}).Out, "My package\t" + Path("Pk.dpk") + "\n");
    EXPECT_EQ(RunVesk({"packages"}).Out, "My package\t" + Path("Pk.dpk") + "\n");
}

// Ten commands adding ten favourites at the same moment leave all ten: each reads the
// list and writes it back inside one transaction of the store.
TEST_F(FindCommands, FavouritesAddedAtOnceAreAllKept) {
    constexpr int Count = 10;
    std::vector<std::unique_ptr<test::CliProcess>> runs;
    for (int i = 0; i < Count; ++i)
        Write(Path("F" + std::to_string(i) + ".pas"), "");
    for (int i = 0; i < Count; ++i)
        runs.push_back(std::make_unique<test::CliProcess>(
            std::vector<std::string>{"favorites", "--add", Path("F" + std::to_string(i) + ".pas")},
            test::CliOptions{}));
    for (auto& run : runs)
        EXPECT_EQ(run->Wait().Status, 0);
    const std::string listed = RunVesk({"favorites"}).Out;
    for (int i = 0; i < Count; ++i)
        EXPECT_NE(listed.find("\t" + Path("F" + std::to_string(i) + ".pas") + "\n"),
                  std::string::npos)
            << i << "\n"
            << listed;
    EXPECT_EQ(std::count(listed.begin(), listed.end(), '\n'), Count);
}

TEST_F(FindCommands, AFullListOfFavouritesSaysSo) {
    std::string store = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Borland\\Delphi\\Makory"
                        "\\Expert Source Find]\r\n";
    for (int i = 0; i < 256; ++i)
        store += "\"Favor" + std::to_string(i) + "\"=\"/f" + std::to_string(i) + "\"\r\n";
    Write(FStore, store);
    Write(Path("New.pas"), "");
    const auto full = RunVesk({"favorites", "--add", Path("New.pas")});
    EXPECT_EQ(full.Status, 2);
    EXPECT_EQ(full.Out, "");
    EXPECT_EQ(full.Err, "vesk favorites: the list of favourites is full: it holds the 256 "
                        "entries that are read back; remove one first\n");
    EXPECT_EQ(Read(FStore), store);
    ASSERT_EQ(RunVesk({"favorites", "--remove", "1"}).Status, 0);
    const auto added = RunVesk({"favorites", "--add", Path("New.pas")});
    EXPECT_EQ(added.Status, 0) << added.Err;
    EXPECT_NE(added.Out.find("256\t" + Path("New.pas") + "\n"), std::string::npos);
}

// A stored favourite holding a NUL byte cannot be written back: the error says so (not
// "line breaks"), in one line, and removing the entry mends the list.
TEST_F(FindCommands, AFavouriteHoldingANulByteIsNamedAsSuch) {
    const std::string store = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Borland\\Delphi"
                              "\\Makory\\Expert Source Find]\r\n\"Favor0\"=\"a" +
                              std::string(1, '\0') + "b\"\r\n";
    Write(FStore, store);
    Write(Path("New.pas"), "");
    const auto add = RunVesk({"favorites", "--add", Path("New.pas")});
    EXPECT_EQ(add.Status, 2);
    EXPECT_EQ(add.Err, "vesk favorites: Failed to set data for 'Favor0': a NUL byte cannot be "
                       "stored\n");
    EXPECT_EQ(Read(FStore), store);
    EXPECT_EQ(RunVesk({"favorites", "--remove", "1"}).Status, 0);
    EXPECT_EQ(RunVesk({"favorites", "--add", Path("New.pas")}).Out, "1\t" + Path("New.pas") + "\n");
}

TEST_F(FindCommands, FindsHelpExplainsEmptyPathsAndExtensions) {
    const auto help = RunVesk({"find", "--help"});
    EXPECT_EQ(help.Status, 0);
    EXPECT_NE(help.Out.find("extensions without a dot"), std::string::npos) << help.Out;
    EXPECT_NE(help.Out.find("An empty entry among the paths"), std::string::npos);
    EXPECT_NE(help.Out.find("the current directory"), std::string::npos);
    const auto dotted = RunVesk({"find", "--ext", ".pas", "x"});
    EXPECT_EQ(dotted.Status, 2);
    EXPECT_EQ(dotted.Err, "vesk find: --ext takes extensions without a dot: 'pas', not '.pas'\n");
}

// Commands that only read create neither the store nor its folder.
TEST_F(FindCommands, CommandsThatOnlyReadCreateNoStore) {
    const std::string store = Path("config/vesk/registry.reg");
    ::setenv("VESK_REGISTRY", store.c_str(), 1);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"find", "x"}, {"find", "--deep", "x"}, {"packages"}, {"favorites"}, {"paths"}}) {
        const auto run = RunVesk(args);
        EXPECT_LE(run.Status, 1) << args[0] << run.Err;
        EXPECT_FALSE(std::filesystem::exists(Path("config"))) << args[0];
    }
}

TEST_F(FindCommands, PathsShowsAndStoresWhatTheDialogKeeps) {
    auto shown = RunVesk({"paths"});
    EXPECT_EQ(shown.Status, 0);
    EXPECT_EQ(shown.Out, "ext\tPAS;DPR;DPK\nlibrary\t\n");
    auto set = RunVesk({"paths", "--main", FDir.string() + ";/x", "--main", "/y", "--ex",
                        FDir.string(), "--ext", "INC;PAS"});
    EXPECT_EQ(set.Status, 0) << set.Err;
    EXPECT_EQ(set.Out, "main\t" + FDir.string() + ";/x\nmain\t/y\nex\t" + FDir.string() +
                           "\next\tINC;PAS\nlibrary\t\n");
    EXPECT_EQ(RunVesk({"paths"}).Out, set.Out);
    Write(Path("Unit1.inc"), "");
    EXPECT_EQ(RunVesk({"find", "Unit"}).Out,
              Path("Unit1.inc") + "\n"); // the dialog's search uses them
    EXPECT_EQ(RunVesk({"paths", "--main", ""}).Out,
              "ex\t" + FDir.string() + "\next\tINC;PAS\nlibrary\t\n");

    const std::string before = Read(FStore);
    const auto dotted = RunVesk({"paths", "--ext", "PAS;.INC"});
    EXPECT_EQ(dotted.Status, 2);
    EXPECT_EQ(dotted.Err, "vesk paths: --ext takes extensions without a dot: 'INC', not '.INC'\n");
    EXPECT_EQ(RunVesk({"paths", "--ext", ""}).Status, 2);
    EXPECT_EQ(Read(FStore), before);
}

} // namespace
} // namespace vesk
