// The loader on the real packages as built, and on libraries that are not good ones.
#include "ide/core/PackageLoader.h"

#include "expert/finder/FindExp.h"
#include "expert/frame/MgrExp.h"
#include "platform/design/Palette.h"
#include "platform/ota/HeadlessHost.h"
#include "tests/ide/PackageFixture.h"

#include <QListWidget>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace vesk {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

using test::FailingSo;
using test::NotAPackageSo;
using test::VeskExpSo;
using test::VeskSo;

class PackageLoaderTest : public test::PackageHostTest {
protected:
    void SetUp() override {
        PackageHostTest::SetUp();
        FHost->AddMainMenu("File", "FileMenu");
        FHost->AddMainMenu("Help", "HelpMenu");
    }
    void SetKnown(const Strings& files) {
        TRegistry reg(FStore);
        reg.OpenKey(KnownPackagesKey, true);
        for (const std::string& file : files)
            reg.WriteString(file, "(untitled)");
    }
    Strings Known() {
        TRegistry reg(FStore);
        TStringList names;
        if (reg.OpenKey(KnownPackagesKey, false))
            reg.GetValueNames(names);
        Strings list;
        for (int i = 0; i < names.Count(); ++i)
            list.push_back(names[i] + "=" + reg.ReadString(names[i]));
        return list;
    }
    static Strings Loaded(const TPackageLoader& loader) {
        Strings list;
        for (const TPackageInfo& package : loader.Packages())
            if (package.Loaded)
                list.push_back(fs::path(package.FileName).filename().string());
        return list;
    }
    static std::size_t PaletteCount() { return PaletteClasses("Vesk").size(); }
    bool HasVeskMenu() const { return FHost->FindMenuItem({"Vesk"}) != nullptr; }
    // A link to Target under the scratch folder, named Rel.
    std::string Link(const std::string& rel, const std::string& target) {
        const fs::path link = FDir / rel;
        fs::create_directories(link.parent_path());
        fs::create_symlink(target, link);
        return link.string();
    }
};

TEST_F(PackageLoaderTest, AMissingKeyIsWrittenWithTheIdesOwnPackagesWhichThenLoad) {
    // The test program is where the IDE is, beside the built packages.
    EXPECT_EQ(TPackageLoader::DefaultPackageDir(), test::BuiltFile("lib/vesk"));
    TPackageLoader loader;
    EXPECT_EQ(ExpertHost(), &loader);
    EXPECT_EQ(loader.LoadKnownPackages(*FStore), Strings{});
    EXPECT_EQ(Known(), (Strings{VeskSo + "=Vesk Components", VeskExpSo + "=Vesk Experts"}));
    EXPECT_EQ(Loaded(loader), (Strings{"Vesk.so", "VeskExp.so"}));
    EXPECT_EQ(PaletteCount(), 5u);
    EXPECT_EQ(FHost->MenuCaptions({}), (Strings{"File", "Vesk", "Help"}));
    EXPECT_EQ(FHost->ExpertCount(), 0); // the loader keeps the package's expert

    // Loading the key again loads nothing twice.
    EXPECT_EQ(loader.LoadKnownPackages(*FStore), Strings{});
    EXPECT_EQ(PaletteCount(), 5u);
    EXPECT_EQ(FHost->MenuCaptions({}).size(), 3u);
}

TEST_F(PackageLoaderTest, APackageLoadsAfterWhatItRequiresWhateverTheKeysOrder) {
    // By name the add-in comes first here; it requires the library, which loads first.
    const std::string exp = Link("a/VeskExp.so", VeskExpSo);
    const std::string lib = Link("b/Vesk.so", VeskSo);
    SetKnown({lib, exp});
    TPackageLoader loader;
    EXPECT_EQ(loader.LoadKnownPackages(*FStore), Strings{});
    ASSERT_EQ(loader.Packages().size(), 2u);
    EXPECT_EQ(loader.Packages()[0].FileName, exp); // listed in the key's order of names
    EXPECT_EQ(loader.Packages()[0].Description, "(untitled)");
    EXPECT_TRUE(loader.IsLoaded(exp));
    EXPECT_TRUE(loader.IsLoaded(lib));

    // Unloading the library takes the add-in with it, the add-in first.
    EXPECT_TRUE(loader.Unload(lib));
    EXPECT_FALSE(loader.IsLoaded(exp));
    EXPECT_FALSE(HasVeskMenu());
    EXPECT_EQ(loader.Packages()[0].Error, exp + ": requires package Vesk, which is not loaded");

    // Alone, the add-in does not load: nothing of it appears.
    std::string error;
    EXPECT_FALSE(loader.Load(exp, "", error));
    EXPECT_EQ(error, exp + ": requires package Vesk, which is not loaded");
    EXPECT_FALSE(HasVeskMenu());
    EXPECT_EQ(FHost->HandedOut(), 0);
}

TEST_F(PackageLoaderTest, BadPackagesAreReportedOneLineEachAndTheOthersLoad) {
    const std::string missing = Path("gone/Missing.so");
    const std::string text = Path("Text.so");
    Write(text, "not a shared library");
    SetKnown({missing, text, NotAPackageSo, FailingSo, VeskSo, VeskExpSo});
    TPackageLoader loader;
    const Strings errors = loader.LoadKnownPackages(*FStore);
    ASSERT_EQ(errors.size(), 4u);
    const auto has = [&](const std::string& start, const std::string& part) {
        for (const std::string& line : errors)
            if (line.starts_with(start + ": ") && line.find(part) != std::string::npos)
                return line.find('\n') == std::string::npos;
        return false;
    };
    EXPECT_TRUE(has(missing, "no such package file"));
    EXPECT_TRUE(has(text, "cannot be loaded"));
    EXPECT_TRUE(has(NotAPackageSo, "not a package"));
    EXPECT_TRUE(has(FailingSo, "the third unit cannot register"));
    EXPECT_EQ(Loaded(loader), (Strings{"Vesk.so", "VeskExp.so"}));

    // Of the failing package nothing is left: its component, its expert and its menu
    // went, and the real packages' are there once.
    EXPECT_EQ(PaletteCount(), 5u);
    EXPECT_EQ(FHost->MenuCaptions({}), (Strings{"File", "Vesk", "Help"}));
    for (const TPackageInfo& package : loader.Packages())
        EXPECT_EQ(package.Error.empty(), package.Loaded) << package.FileName;
}

TEST_F(PackageLoaderTest, AStoreThatCannotBeReadIsReportedAndLeftAsItIs) {
    const std::string broken =
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\"A\"=hex:01,\\\r\n";
    Write(Path("registry.reg"), broken);
    TPackageLoader loader;
    const Strings errors = loader.LoadKnownPackages(*FStore);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].starts_with(
        "the list of known packages cannot be read: " + Path("registry.reg") + ":"))
        << errors[0];
    EXPECT_TRUE(loader.Packages().empty());
    EXPECT_EQ(Read(Path("registry.reg")), broken);
}

TEST_F(PackageLoaderTest, AFailedRegistrationLeavesNothingBehind) {
    TPackageLoader loader;
    std::string error;
    EXPECT_FALSE(loader.Load(FailingSo, "", error));
    EXPECT_EQ(error, FailingSo + ": its registration failed: the third unit cannot register");
    EXPECT_EQ(PaletteCount(), 0u);
    EXPECT_FALSE(HasVeskMenu());
    EXPECT_EQ(FHost->HandedOut(), 0);
    EXPECT_FALSE(loader.IsLoaded(FailingSo));
    // A second package of the same name is refused while the first is loaded.
    EXPECT_TRUE(loader.Load(VeskSo, "", error));
    const std::string again = Link("copy/Vesk.so", VeskSo);
    EXPECT_FALSE(loader.Load(again, "", error));
    EXPECT_EQ(error, again + ": package Vesk is already loaded from " + VeskSo);
    EXPECT_EQ(PaletteCount(), 5u);
}

TEST_F(PackageLoaderTest, UnloadingUndoesTheRegistrationsAndLoadingAgainRedoesThem) {
    TPackageLoader loader;
    std::string error;
    ASSERT_TRUE(loader.Load(VeskSo, "", error)) << error;
    ASSERT_TRUE(loader.Load(VeskExpSo, "", error)) << error;
    ASSERT_TRUE(FHost->PickMenuItem({"Vesk", "Component Renamer"}));
    EXPECT_EQ(FHost->Services().Messages().size(), 1u);

    EXPECT_TRUE(loader.Unload(VeskExpSo));
    EXPECT_FALSE(loader.Unload(VeskExpSo)); // not loaded any more
    EXPECT_EQ(FHost->MenuCaptions({}), (Strings{"File", "Help"}));
    EXPECT_FALSE(FHost->PickMenuItem({"Vesk", "Component Renamer"}));
    EXPECT_EQ(FHost->HandedOut(), 0);
    EXPECT_EQ(PaletteCount(), 5u); // the library stays
    EXPECT_TRUE(loader.Unload(VeskSo));
    EXPECT_EQ(PaletteCount(), 0u);

    // The entries run again: everything is back, once.
    ASSERT_TRUE(loader.Load(VeskSo, "", error)) << error;
    ASSERT_TRUE(loader.Load(VeskExpSo, "", error)) << error;
    EXPECT_EQ(PaletteCount(), 5u);
    EXPECT_EQ(FHost->MenuCaptions({}), (Strings{"File", "Vesk", "Help"}));
    EXPECT_TRUE(FHost->PickMenuItem({"Vesk", "Component Renamer"}));
    EXPECT_EQ(FHost->Services().Messages().size(), 2u);
}

TEST_F(PackageLoaderTest, ANameWithoutAFolderIsTheFileInTheCurrentFolder) {
    Link("Vesk.so", VeskSo);
    const fs::path before = fs::current_path();
    fs::current_path(FDir);
    TPackageLoader loader;
    std::string error;
    EXPECT_TRUE(loader.Load("Vesk.so", "", error)) << error;
    EXPECT_EQ(PaletteCount(), 5u);
    EXPECT_FALSE(loader.Load("VeskExp.so", "", error)); // not here, wherever else it is
    EXPECT_EQ(error, "VeskExp.so: no such package file");
    fs::current_path(before);
}

TEST_F(PackageLoaderTest, TheLoadersEndReleasesEverythingAndPutsTheHostBack) {
    {
        TPackageLoader loader;
        EXPECT_EQ(loader.LoadKnownPackages(*FStore), Strings{});
        // An expert registered outside any package is the loader's until it ends.
        FHost->AddMainMenu("Tools", "ToolsMenu");
        MgrExp::Register();
        EXPECT_EQ(FHost->MenuCaptions({}), (Strings{"File", "Vesk", "Help", "Vesk", "Tools"}));
        // A Find Source dialog is open in the background when the IDE ends.
        QTimer::singleShot(0, [] { FindExpDlg->close(); });
        ASSERT_TRUE(FHost->PickMenuItem({"Vesk", "Find Source"}));
        ASSERT_NE(FindExpDlg, nullptr);
    }
    EXPECT_EQ(FindExpDlg, nullptr);
    EXPECT_EQ(FHost->MenuCaptions({}), (Strings{"File", "Help", "Tools"}));
    EXPECT_EQ(PaletteCount(), 0u);
    EXPECT_EQ(FHost->HandedOut(), 0);
    EXPECT_EQ(ExpertHost(), FHost.get());
}

TEST_F(PackageLoaderTest, InstallingAndRemovingEditTheKey) {
    SetKnown({});
    TPackageLoader loader;
    std::string error;
    EXPECT_FALSE(loader.Add(*FStore, NotAPackageSo, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Known(), Strings{});
    EXPECT_TRUE(loader.Packages().empty()); // a failed install is not listed

    EXPECT_TRUE(loader.Add(*FStore, VeskSo, error)) << error;
    EXPECT_TRUE(loader.Add(*FStore, VeskExpSo, error)) << error;
    EXPECT_EQ(Known(), (Strings{VeskSo + "=Vesk Components", VeskExpSo + "=Vesk Experts"}));
    EXPECT_TRUE(HasVeskMenu());

    EXPECT_TRUE(loader.Remove(*FStore, VeskExpSo));
    EXPECT_FALSE(loader.Remove(*FStore, VeskExpSo));
    EXPECT_EQ(Known(), Strings{VeskSo + "=Vesk Components"});
    EXPECT_FALSE(HasVeskMenu());
    EXPECT_EQ(Loaded(loader), Strings{"Vesk.so"});
}

TEST_F(PackageLoaderTest, TheFindSourcePackagePageListsAndOpensTheShippedSources) {
    const std::string sources = TPackageLoader::DefaultPackageSourceDir();
    EXPECT_EQ(sources, VESK_SOURCE_DIR "/examples/packages");
    {
        TRegistry reg(FStore);
        reg.OpenKey("Software\\Borland\\Delphi\\3.0\\Library", true);
        reg.WriteString("SearchPath", sources);
    }
    TPackageLoader loader;
    EXPECT_EQ(loader.LoadKnownPackages(*FStore), Strings{});
    Strings rows;
    QTimer::singleShot(0, [&] {
        ASSERT_NE(FindExpDlg, nullptr);
        EXPECT_EQ(FindExpDlg->pc->currentWidget(), FindExpDlg->tsPackages);
        FindExpDlg->RefreshDPKItem->trigger();
        for (int i = 0; i < FindExpDlg->lbDpk->count(); ++i)
            rows.push_back(FindExpDlg->lbDpk->item(i)->text().toStdString());
        FindExpDlg->lbDpk->setCurrentRow(1);
        FindExpDlg->lbFilesPackagesDblClick();
        if (FindExpDlg->isVisible())
            FindExpDlg->close();
    });
    ASSERT_TRUE(FHost->PickMenuItem({"Vesk", "Packages"}));
    EXPECT_EQ(rows, (Strings{"Vesk Components", "Vesk Experts"}));
    EXPECT_EQ(FHost->OpenFiles(), Strings{sources + "/VeskExp.dpk"});
}

} // namespace
} // namespace vesk
