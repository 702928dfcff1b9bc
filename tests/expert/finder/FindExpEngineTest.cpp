#include "expert/finder/FindExpEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vesk {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

Strings ToVector(const TStringList& list) {
    Strings out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list[i]);
    return out;
}

class FindExpTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vesk-find-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        R = std::string(pattern) + "/";
        FRegFile = R + "registry.reg";
        FStore = TRegistryFile::Open(FRegFile);
    }
    void TearDown() override { fs::remove_all(R); }

    void Touch(const std::string& rel) {
        fs::create_directories(fs::path(R + rel).parent_path());
        std::ofstream(R + rel) << "unit";
    }
    void Set(const std::string& key, const std::string& name, const std::string& value) {
        TRegistry reg(FRegFile);
        reg.OpenKey(key, true);
        reg.WriteString(name, value);
    }
    std::string Get(const std::string& name) {
        TRegistry reg(FRegFile);
        reg.OpenKey(FindSettingsKey, false);
        return reg.ReadString(name);
    }
    void SetLibPath(const std::string& path) { Set(IdeLibraryKey, "SearchPath", path); }
    std::unique_ptr<TFindExpEngine> Make(bool inIDE = true) {
        TFindExpHost host;
        host.InIDE = inIDE;
        host.Tools = &FTools;
        host.Form = &FForm;
        host.ProcessMessages = [this] { ++FEvents; };
        return std::make_unique<TFindExpEngine>(host, FStore);
    }

    std::string R; // the test's folder, with its trailing delimiter
    std::string FRegFile;
    std::shared_ptr<TRegistryFile> FStore; // passed in: no environment variable needed
    THeadlessToolServices FTools;
    TWindowBounds FForm{"FindExpDlg", 30, 40, 200, 450};
    int FEvents = 0;
};

TEST_F(FindExpTest, PathAndExtensionListsAreSplitAndDeduplicated) {
    TStringList source, paths;
    for (const char* line : {"/a;/A", "/a/", ";/b;", "", "C:/X;c:/x"})
        source.Add(line);
    TFindExpEngine::PathToSearch(source, paths);
    EXPECT_EQ(ToVector(paths), (Strings{"/a/", "/a/", "", "/b/", "C:/X/"}));

    auto engine = Make();
    engine->SetExtText("PAS;pas;DPR");
    engine->cbExtClick();
    EXPECT_EQ(ToVector(engine->ExtList()), (Strings{"PAS", "DPR"}));
}

TEST_F(FindExpTest, LiveSearchListsMainPathMatchesSorted) {
    for (const char* f : {"A/Unit1.pas", "A/unit2.dpr", "A/Ux.txt", "A/.Uhidden.pas", "A/unit1.pdf",
                          "A/sub/Udeep.pas", "B/UB.PAS"})
        Touch(f);
    fs::create_directory(R + "A/Usub.pas"); // a folder that matches is listed like a file
    SetLibPath(R + "A;" + R + "B");
    auto engine = Make();

    FEvents = 0;
    engine->SetSearchText("U");
    EXPECT_EQ(ToVector(engine->lbFound.Items),
              (Strings{R + "A/Unit1.pas", R + "A/unit2.dpr", R + "A/Usub.pas", R + "B/UB.PAS"}));
    EXPECT_EQ(engine->lbFound.ItemIndex, 0);
    EXPECT_TRUE(engine->LoadEnabled());
    // Found in path order, extensions in their order within each path.
    const Strings found = ToVector(engine->FoundList());
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[2], R + "A/unit2.dpr");
    EXPECT_EQ(found[3], R + "B/UB.PAS");
    EXPECT_EQ(FEvents, 4); // one pending-events call per file found

    engine->SetSearchText("unit1.p"); // a dot: prefix, then the extension filter
    EXPECT_EQ(ToVector(engine->lbFound.Items), (Strings{R + "A/Unit1.pas"}));

    engine->SetSearchText("sub/U"); // a folder part names what is found in it
    EXPECT_EQ(ToVector(engine->lbFound.Items), (Strings{R + "A/sub/Udeep.pas"}));

    engine->SetSearchText("zz");
    EXPECT_EQ(ToVector(engine->lbFound.Items), (Strings{NoFilesFound}));
    EXPECT_FALSE(engine->LoadEnabled());
    engine->btnLoadClick();
    EXPECT_TRUE(FTools.Calls().empty());
    EXPECT_FALSE(engine->CloseRequested());

    SetLibPath(R + "A;" + R + "A/"); // the same folder twice is searched twice
    auto twice = Make();
    twice->SetSearchText("Unit1");
    EXPECT_EQ(twice->lbFound.Items.Count(), 2);
}

TEST_F(FindExpTest, EmptyPathEntrySearchesTheCurrentFolder) {
    Touch("A/Unit1.pas");
    auto engine = Make(); // no library path: one empty entry
    EXPECT_EQ(ToVector(engine->MainPathList()), (Strings{""}));
    const fs::path old = fs::current_path();
    fs::current_path(R + "A");
    engine->SetSearchText("unit");
    fs::current_path(old);
    EXPECT_EQ(ToVector(engine->lbFound.Items), (Strings{"Unit1.pas"}));
}

TEST_F(FindExpTest, DeepSearchWalksEveryFolderOnceAndSkipsHiddenOnes) {
    for (const char* f : {"EX/Utop.pas", "EX/d1/Udeep.pas", "EX/d1/d2/Udeeper.dpr",
                          "EX/.hid/Uhidden.pas", "EX/d1/.Uhid.pas"})
        Touch(f);
    fs::create_directory_symlink(R + "EX", R + "EX/d1/loop");  // a link back up
    fs::create_directory_symlink(R + "EX/d1", R + "EX/again"); // a second way in
    Set(FindSettingsKey, "ExPath0", R + "EX");
    auto engine = Make();
    engine->SetSearchText("U");
    EXPECT_FALSE(engine->LoadEnabled()); // the live search does not go there

    bool disabledMeanwhile = true;
    FEvents = 0;
    engine = nullptr;
    TFindExpHost host;
    host.ProcessMessages = [&] {
        disabledMeanwhile = disabledMeanwhile && !engine->cbSearch.Enabled;
    };
    engine = std::make_unique<TFindExpEngine>(host, FStore);
    engine->cbSearch.Text = "U";
    EXPECT_TRUE(engine->btnSearchClick());
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_TRUE(engine->cbSearch.Enabled);
    EXPECT_EQ(engine->Focused(), TFindFocus::fcFound);
    Strings names;
    for (const std::string& name : ToVector(engine->lbFound.Items))
        names.push_back(fs::path(name).filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Strings{"Udeep.pas", "Udeeper.dpr", "Utop.pas"}));
    EXPECT_EQ(engine->FoundList()[0], R + "EX/Utop.pas"); // a folder's own files first

    engine->cbSearch.Text = "nothing";
    EXPECT_FALSE(engine->btnSearchClick());
    EXPECT_EQ(engine->Focused(), TFindFocus::fcSearch);
}

TEST_F(FindExpTest, DeepSearchSkipsAFolderItCannotRead) {
    Touch("EX/ok/Uok.pas");
    Touch("EX/locked/Ulocked.pas");
    fs::create_directory(R + "reg");
    ::chmod(R.c_str(), 0755);
    ::chmod((R + "reg").c_str(), 0777);
    ::chmod((R + "EX/locked").c_str(), 0);
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) { // reads as an ordinary user, since the owner of everything reads all
        std::string out;
        if (::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0)) {
            try {
                TFindExpEngine engine({}, TRegistryFile::Open(R + "reg/registry.reg"));
                engine.edExPath.Lines.Add(R + "EX");
                engine.RebuildPathLists();
                engine.cbSearch.Text = "U";
                engine.btnSearchClick();
                for (const std::string& name : ToVector(engine.lbFound.Items))
                    out += name + "\n";
            } catch (const std::exception& e) {
                out = std::string("error: ") + e.what();
            }
        }
        (void)!::write(pipeFds[1], out.data(), out.size());
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string out;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        out.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    ::waitpid(child, nullptr, 0);
    ::chmod((R + "EX/locked").c_str(), 0755);
    EXPECT_EQ(out, R + "EX/ok/Uok.pas\n");
}

TEST_F(FindExpTest, OpeningAProjectOrAUnitRecordsItsName) {
    for (const char* f : {"A/Project1.dpr", "A/Unit1.pas"})
        Touch(f);
    SetLibPath(R + "A");
    auto engine = Make();
    engine->SetSearchText("Project1");
    engine->btnLoadClick();
    using Call = THeadlessToolServices::Call;
    EXPECT_EQ(FTools.Calls(),
              (std::vector<Call>{{"CloseProject", ""}, {"OpenProject", R + "A/Project1.dpr"}}));
    EXPECT_TRUE(engine->CloseRequested());

    FTools.ClearCalls();
    engine->SetSearchText("Unit1");
    engine->btnLoadClick();
    engine->btnLoadClick(); // the same name goes into the history once
    EXPECT_EQ(FTools.Calls(), (std::vector<Call>{{"OpenFile", R + "A/Unit1.pas"},
                                                 {"OpenFile", R + "A/Unit1.pas"}}));
    EXPECT_EQ(ToVector(engine->cbSearch.Items), (Strings{"Unit1.pas", "Project1.dpr"}));

    FTools.ClearCalls();
    FTools.SetCloseProjectResult(false); // the user keeps the current project
    engine->cbSearch.Items.Clear();
    engine->SetSearchText("Project1");
    engine->btnLoadClick();
    EXPECT_EQ(FTools.Calls(), (std::vector<Call>{{"CloseProject", ""}}));
    EXPECT_EQ(ToVector(engine->cbSearch.Items), (Strings{"Project1.dpr"}));

    FTools.ClearCalls(); // the keys of the search page
    engine->SetSearchText("");
    EXPECT_FALSE(engine->cbSearchKeyDown(TFindKey::fkDown, false, true)); // list dropped down
    EXPECT_TRUE(engine->cbSearchKeyDown(TFindKey::fkDown, false, false));
    EXPECT_EQ(engine->Focused(), TFindFocus::fcFound);
    EXPECT_EQ(engine->lbFound.ItemIndex, 1);
    EXPECT_TRUE(engine->cbSearchKeyDown(TFindKey::fkDown, false, false)); // at the end: stays
    EXPECT_EQ(engine->lbFound.ItemIndex, 1);
    engine->lbFoundKeyPress('\r');
    EXPECT_EQ(FTools.OpenFiles(), (Strings{R + "A/Unit1.pas"}));

    FTools.ClearCalls();
    auto outside = Make(false);
    outside->SetSearchText("Unit1");
    outside->btnLoadClick();
    EXPECT_TRUE(FTools.Calls().empty());
    EXPECT_TRUE(outside->CloseRequested());
}

TEST_F(FindExpTest, FirstUseStoresDefaultsWhenClosed) {
    auto engine = Make();
    EXPECT_EQ(ToVector(engine->cbExt.Items), (Strings{DefaultExtensions}));
    EXPECT_EQ(engine->cbExt.Text, DefaultExtensions);
    EXPECT_EQ(ToVector(engine->ExtList()), (Strings{"PAS", "DPR", "DPK"}));
    EXPECT_EQ(engine->cbSearch.Items.Count() + engine->lbFavor.Items.Count() +
                  engine->lbDpk.Items.Count() + engine->edMainPath.Lines.Count(),
              0);
    engine->FormClose();
    TRegistry reg(FRegFile);
    reg.OpenKey(VeskRegistryRoot, false);
    EXPECT_EQ(reg.ReadString("FindExpDlgFormPlacement"), "30 40");
    EXPECT_EQ(Get("cbExt0"), DefaultExtensions);
    reg.CloseKey();
    reg.OpenKey(FindSettingsKey, false);
    EXPECT_EQ(reg.ReadInteger("cbExt.ItemIndex"), 0);
    EXPECT_TRUE(reg.ValueExists("cbSearch0"));
    EXPECT_TRUE(reg.ValueExists("Packages0"));
}

TEST_F(FindExpTest, ListsAreStoredCompactedAndReadBackUpTo256) {
    auto engine = Make();
    TStringList list;
    for (int i = 0; i < 300; ++i)
        list.Add("F" + IntToStr(i));
    list.Insert(3, ""); // an empty entry takes no index
    engine->WriteList("Favor", list);
    EXPECT_EQ(Get("Favor3"), "F3");
    EXPECT_EQ(Get("Favor299"), "F299");
    TStringList back;
    engine->ReadList("Favor", back);
    EXPECT_EQ(back.Count(), 256);

    list.Clear();
    for (const char* s : {"a", "b", "c", "d", "e"})
        list.Add(s);
    engine->WriteList("Short", list);
    list.Delete(4);
    list.Delete(3);
    engine->WriteList("Short", list);
    EXPECT_EQ(Get("Short3"), "");
    EXPECT_EQ(Get("Short4"), "e"); // left over, never read
    engine->ReadList("Short", back);
    EXPECT_EQ(ToVector(back), (Strings{"a", "b", "c"}));

    for (int i = 0; i < 20; ++i)
        engine->cbSearch.Items.Add("S" + IntToStr(i));
    for (int i = 0; i < 10; ++i)
        engine->cbExt.Items.Add("E" + IntToStr(i));
    engine->Save();
    auto next = Make();
    EXPECT_EQ(next->cbSearch.Items.Count(), 16);
    EXPECT_EQ(next->cbSearch.Items[15], "S15");
    EXPECT_EQ(next->cbExt.Items.Count(), 8);
}

// One bad value costs only its own setting: the lists after it still load, and the
// next save does not write empty lists over the stored ones.
TEST_F(FindExpTest, LoadingGoesOnPastABadValue) {
    Set(FindSettingsKey, "cbExt0", "PAS"); // and no "cbExt.ItemIndex"
    Set(FindSettingsKey, "cbSearch0", "Unit1.pas");
    Set(FindSettingsKey, "Favor0", "/f/a.pas");
    Set(FindSettingsKey, "Packages0", "Pk");
    Set(FindSettingsKey, "PackagesPath0", "/p/Pk.dpk");
    auto engine = Make();
    EXPECT_EQ(engine->cbExt.Text, "PAS");
    EXPECT_EQ(engine->cbSearch.Text, "Unit1.pas");
    EXPECT_EQ(ToVector(engine->lbFavor.Items), (Strings{"/f/a.pas"}));
    EXPECT_EQ(ToVector(engine->lbDpk.Items), (Strings{"Pk"}));
    EXPECT_EQ(ToVector(engine->PackagesPathList()), (Strings{"/p/Pk.dpk"}));
    engine->ChangePage(TFindPage::tsFavor);
    engine->ChangePage(TFindPage::tsSearch);
    engine->FormClose();
    EXPECT_EQ(Get("Favor0"), "/f/a.pas");
    EXPECT_EQ(Get("Packages0"), "Pk");

    TRegistry reg(FRegFile); // a value of the wrong kind in the middle
    reg.OpenKey(FindSettingsKey, false);
    reg.WriteString("cbExt.ItemIndex", "0");
    reg.WriteInteger("cbSearch0", 5);
    reg.WriteInteger("MainPath0", 1);
    reg.WriteString("ExPath0", "/deep");
    auto again = Make();
    EXPECT_EQ(ToVector(again->ExPathList()), (Strings{"/deep/"}));
    EXPECT_EQ(again->cbSearch.Items.Count(), 0);
    EXPECT_EQ(ToVector(again->lbFavor.Items), (Strings{"/f/a.pas"}));
    EXPECT_EQ(ToVector(again->lbDpk.Items), (Strings{"Pk"}));
}

// Closing stores the favourites and the edited paths as leaving their page would.
TEST_F(FindExpTest, ClosingStoresFavouritesAndEditedPaths) {
    auto engine = Make();
    engine->SelectPage(PageType::ptFFavor);
    EXPECT_EQ(engine->Focused(), TFindFocus::fcFavor);
    engine->AddFavorite("/src/Fav.pas");
    engine->FormClose();
    EXPECT_EQ(ToVector(Make()->lbFavor.Items), (Strings{"/src/Fav.pas"}));

    engine->FormActivate();
    engine->ChangePage(TFindPage::TabSheet21);
    engine->SetPathText(engine->edMainPath, "/p1\n/p2;/p3");
    engine->FormActivate(); // not stored yet: activation shows the stored paths again
    EXPECT_EQ(engine->edMainPath.Lines.Count(), 0);
    engine->SetPathText(engine->edMainPath, "/p1\n/p2;/p3");
    engine->FormClose();
    auto next = Make();
    EXPECT_EQ(ToVector(next->edMainPath.Lines), (Strings{"/p1", "/p2;/p3"}));
    EXPECT_EQ(ToVector(next->MainPathList()), (Strings{"", "/p1/", "/p2/", "/p3/"}));

    next->ChangePage(TFindPage::TabSheet22); // leaving the page stores too
    next->SetPathText(next->edExPath, "/deep");
    next->ChangePage(TFindPage::tsConfig);
    EXPECT_EQ(Get("ExPath0"), "/deep");
    EXPECT_EQ(ToVector(next->ExPathList()), (Strings{"/deep/"}));
}

TEST_F(FindExpTest, ExtensionSelectionIsKept) {
    auto engine = Make();
    engine->ChangePage(TFindPage::tsConfig);
    engine->SetExtText("PAS;INC");
    engine->ChangePage(TFindPage::tsSearch); // leaving the page takes the text
    EXPECT_EQ(ToVector(engine->ExtList()), (Strings{"PAS", "INC"}));
    engine->FormClose();
    auto next = Make();
    EXPECT_EQ(next->cbExt.Text, "PAS;INC");
    EXPECT_EQ(ToVector(next->cbExt.Items), (Strings{"PAS;INC", DefaultExtensions}));

    // A stored -1 selects nothing: one empty extension, files without one are found.
    Touch("A/Makefile");
    Touch("A/Main.pas");
    SetLibPath(R + "A");
    TRegistry reg(FRegFile);
    reg.OpenKey(FindSettingsKey, false);
    reg.WriteInteger("cbExt.ItemIndex", -1);
    auto none = Make();
    EXPECT_EQ(none->cbExt.Text, "");
    EXPECT_EQ(ToVector(none->ExtList()), (Strings{""}));
    none->SetSearchText("M");
    EXPECT_EQ(ToVector(none->lbFound.Items), (Strings{R + "A/Makefile"}));
    none->PickExt(1);
    EXPECT_EQ(ToVector(none->lbFound.Items), (Strings{R + "A/Main.pas"}));
}

TEST_F(FindExpTest, PackagesAreLocatedAndKeptInOrder) {
    for (const char* f : {"A/MyPack.dpk", "A/Dup.dpk", "B/Dup.dpk", "B/Other.dpk", "A/Empty.dpk"})
        Touch(f);
    SetLibPath(R + "A");
    Set(FindSettingsKey, "MainPath0", R + "B");
    Set(IdePackagesKey, "/x/MyPack.bpl", "(untitled)");
    Set(IdePackagesKey, "/y/Dup.bpl", "Duplicated");
    Set(IdePackagesKey, "/z/Other.bpl", "Other things");
    Set(IdePackagesKey, "/x/NoSource.bpl", "Nowhere");
    Set(IdePackagesKey, "/w/Empty.bpl", "");
    auto engine = Make();
    engine->ReadDpk();
    EXPECT_EQ(ToVector(engine->lbDpk.Items), (Strings{"Empty", "MyPack", "Other things"}));
    EXPECT_EQ(ToVector(engine->PackagesPathList()),
              (Strings{R + "A/Empty.dpk", R + "A/MyPack.dpk", R + "B/Other.dpk"}));
    engine->lbDpk.ItemIndex = 2;
    engine->lbFilesPackagesDblClick();
    EXPECT_EQ(FTools.OpenFiles(), (Strings{R + "B/Other.dpk"}));
    engine->FormClose();

    auto next = Make(); // a new run shows the same list, each entry with its source
    EXPECT_EQ(ToVector(next->lbDpk.Items), ToVector(engine->lbDpk.Items));
    EXPECT_EQ(ToVector(next->PackagesPathList()), ToVector(engine->PackagesPathList()));

    next->lbDpkKeyDown(TFindKey::fkEnd);
    EXPECT_EQ(next->lbDpk.ItemIndex, 2);
    next->lbDpkKeyDown(TFindKey::fkPageUp);
    next->lbDpkKeyDown(TFindKey::fkEnter);
    EXPECT_EQ(FTools.Calls().back().FileName, R + "A/Empty.dpk");
    next->FormKeyPress(27);
    EXPECT_TRUE(next->CloseRequested());

    next->SetExtText("PAS;DPR");
    next->cbExtClick();
    next->ReadDpk();
    EXPECT_EQ(next->lbDpk.Items.Count(), 0);
    next->lbFilesPackagesDblClick(); // nothing selected: nothing happens
    EXPECT_EQ(FTools.Calls().size(), 2u);
}

TEST_F(FindExpTest, FavouritesAndPickedFolders) {
    auto engine = Make();
    EXPECT_EQ(engine->FavoriteFilter(),
              "Search Files (*.PAS;*.DPR;*.DPK;)|*.PAS;*.DPR;*.DPK;|All Files (*.*)|*.*");
    engine->AddFavorite("/a.pas");
    engine->AddFavorite("/b.pas");
    engine->AddFavorite("/a.pas"); // no test for duplicates
    engine->lbFavor.ItemIndex = 1;
    engine->lbFavorDblClick();
    EXPECT_EQ(FTools.OpenFiles(), (Strings{"/b.pas"}));
    engine->DelFavorite1Click();
    EXPECT_EQ(ToVector(engine->lbFavor.Items), (Strings{"/a.pas", "/a.pas"}));
    engine->DelFavorite1Click(); // nothing selected any more
    EXPECT_EQ(engine->lbFavor.Items.Count(), 2);

    EXPECT_TRUE(engine->edPathDblClick(engine->edExPath, "/Dir"));
    EXPECT_FALSE(engine->edPathDblClick(engine->edExPath, "/DIR"));
    EXPECT_FALSE(engine->edPathDblClick(engine->edExPath, "")); // chooser cancelled
    EXPECT_EQ(ToVector(engine->edExPath.Lines), (Strings{"/Dir"}));
    EXPECT_TRUE(engine->edExPath.Modified);
}

// Two dialogs (of two IDE windows, or two processes) on one store: each save is made to
// the store as it is then, so neither loses what the other stored meanwhile.
TEST_F(FindExpTest, SavesKeepWhatAnotherDialogStoredMeanwhile) {
    for (const char* f : {"A/One.pas", "A/Two.pas", "A/Pk.dpk"})
        Touch(f);
    SetLibPath(R + "A");
    Set(FindSettingsKey, "Favor0", "/kept.pas");
    Set(FindSettingsKey, "Favor1", "/removed.pas");
    auto first = Make();
    auto second = Make();

    first->SelectPage(PageType::ptFFavor);
    first->AddFavorite("/first.pas");
    first->lbFavor.ItemIndex = 1;
    first->DelFavorite1Click();
    first->SetSearchText("One");
    first->btnLoadClick();
    Set(IdePackagesKey, "/bin/Pk.bpl", "Package");
    first->ReadDpk();
    first->FormClose();

    second->SelectPage(PageType::ptFFavor);
    second->AddFavorite("/second.pas");
    second->SetSearchText("Two");
    second->btnLoadClick();
    second->FormClose(); // its package list, read before the refresh, is not written back

    auto next = Make();
    EXPECT_EQ(ToVector(next->lbFavor.Items), (Strings{"/kept.pas", "/first.pas", "/second.pas"}));
    EXPECT_EQ(ToVector(next->cbSearch.Items), (Strings{"Two.pas", "One.pas"}));
    EXPECT_EQ(ToVector(next->lbDpk.Items), (Strings{"Package"}));
    EXPECT_EQ(ToVector(next->PackagesPathList()), (Strings{R + "A/Pk.dpk"}));
    // The second dialog shows what it stored.
    EXPECT_EQ(ToVector(second->lbFavor.Items), ToVector(next->lbFavor.Items));
    EXPECT_EQ(ToVector(second->lbDpk.Items), (Strings{"Package"}));

    // The selected extension text stays selected however the history around it moved.
    second->ChangePage(TFindPage::tsConfig);
    second->SetExtText("INC");
    first->ChangePage(TFindPage::tsConfig);
    first->SetExtText("PAS;INC");
    first->FormClose();
    second->FormClose();
    auto last = Make();
    EXPECT_EQ(ToVector(last->cbExt.Items), (Strings{"INC", "PAS;INC", DefaultExtensions}));
    EXPECT_EQ(last->cbExt.Text, "INC");
}

// The favourites read back are 256: a 257th is refused, also when another dialog
// filled the list after this one read it.
TEST_F(FindExpTest, AFullListOfFavouritesRefusesMore) {
    auto engine = Make();
    for (int i = 0; i < 255; ++i)
        ASSERT_TRUE(engine->AddFavorite("/f" + IntToStr(i)));
    auto other = Make();
    EXPECT_TRUE(engine->AddFavorite("/last"));
    EXPECT_TRUE(engine->FavoritesFull());
    EXPECT_FALSE(engine->AddFavorite("/one too many"));
    EXPECT_TRUE(engine->StoreFavorites().empty());

    EXPECT_TRUE(other->AddFavorite("/late"));
    EXPECT_EQ(other->StoreFavorites(), (Strings{"/late"}));
    EXPECT_EQ(other->lbFavor.Items.Count(), 256);
    EXPECT_EQ(other->lbFavor.Items[255], "/last");
    EXPECT_EQ(Get("Favor256"), "");
}

// A dialog that only searches, activates and closes no page creates no store.
TEST_F(FindExpTest, ReadingTheSettingsCreatesNothing) {
    const std::string file = R + "none/registry.reg";
    TFindExpEngine engine({}, TRegistryFile::Open(file));
    engine.SetSearchText("x");
    engine.FormActivate();
    engine.ReadDpk();
    engine.btnSearchClick();
    EXPECT_FALSE(fs::exists(R + "none"));
}

} // namespace
} // namespace vesk
