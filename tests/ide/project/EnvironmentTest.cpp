#include "ide/project/Environment.h"

#include "tests/ide/TempFolder.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(EnvironmentTest, TheDefaultPathNamesTheSampleAndTheSourcesThatAreInstalled) {
    TTempFolder root;
    EXPECT_TRUE(InstalledSourceFolders(root.Path().string()).empty());
    EXPECT_EQ(DefaultSearchPath("/sample", {}), "/sample");
    root.Write("usr/share/fpcsrc/3.2.2/rtl/system.pp", "");
    root.Write("usr/share/fpcsrc/3.2.2/packages/x.pp", "");
    root.Write("usr/share/fpcsrc/3.0.4/rtl/system.pp", "");
    root.Write("usr/share/lazarus/2.2.6/lcl/forms.pp", "");
    root.Write("usr/share/lazarus/2.2.6/README", ""); // a file, no version folder
    const std::string base = root.Path().string();
    const std::vector<std::string> folders = InstalledSourceFolders(base);
    EXPECT_EQ(folders, (std::vector<std::string>{base + "/usr/share/fpcsrc/3.0.4/rtl",
                                                 base + "/usr/share/fpcsrc/3.2.2/rtl",
                                                 base + "/usr/share/fpcsrc/3.2.2/packages",
                                                 base + "/usr/share/lazarus/2.2.6/lcl"}));
    EXPECT_EQ(DefaultSearchPath("/sample", {"/a", "/b"}), "/sample;/a;/b");
}

TEST(EnvironmentTest, TheDefaultIsWrittenOnlyWhenNoPathIsStored) {
    TTempFolder dir;
    auto store = TRegistryFile::Open(dir.File("registry.reg"));
    std::string path;
    EXPECT_FALSE(ReadSearchPath(store, path));
    EXPECT_EQ(EnsureSearchPath(store, "/sample"), "/sample");
    ASSERT_TRUE(ReadSearchPath(store, path));
    EXPECT_EQ(path, "/sample");
    // Where the Find Source dialog reads it.
    TRegistry reg(store);
    ASSERT_TRUE(reg.OpenKey("Software\\Borland\\Delphi\\3.0\\Library", false));
    EXPECT_EQ(reg.ReadString("SearchPath"), "/sample");
    // A path the user set, even an empty one, is kept.
    WriteSearchPath(store, "");
    EXPECT_EQ(EnsureSearchPath(store, "/sample"), "");
    WriteSearchPath(store, "/mine;/other");
    EXPECT_EQ(EnsureSearchPath(store, "/sample"), "/mine;/other");
}

} // namespace
} // namespace vesk
