// vesk find, packages and favorites, run as a user runs them.
#include "tests/cli/CliRunner.h"
#include "tests/library/utility/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

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

} // namespace
} // namespace vesk
