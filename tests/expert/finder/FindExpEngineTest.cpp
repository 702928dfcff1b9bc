#include "expert/finder/FindExpEngine.h"
#include "platform/ota/HeadlessHost.h"

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
        ::setenv("VESK_REGISTRY", FRegFile.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("VESK_REGISTRY");
        fs::remove_all(R);
    }

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
        FTools.Services().OnProcessMessages = [this] { ++FEvents; };
        return std::make_unique<TFindExpEngine>(&FForm, inIDE);
    }

    std::string R; // the test's folder, with its trailing delimiter
    std::string FRegFile;
    THeadlessHost FTools;
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
    EXPECT_EQ(ToVector(engine->FoundBox().Items),
              (Strings{R + "A/Unit1.pas", R + "A/unit2.dpr", R + "A/Usub.pas", R + "B/UB.PAS"}));
    EXPECT_EQ(engine->FoundBox().ItemIndex, 0);
    EXPECT_TRUE(engine->LoadEnabled());
    // Found in path order, extensions in their order within each path.
    const Strings found = ToVector(engine->FoundList());
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[2], R + "A/unit2.dpr");
    EXPECT_EQ(found[3], R + "B/UB.PAS");
    EXPECT_EQ(FEvents, 4); // one pending-events call per file found

    engine->SetSearchText("unit1.p"); // a dot: prefix, then the extension filter
    EXPECT_EQ(ToVector(engine->FoundBox().Items), (Strings{R + "A/Unit1.pas"}));

    engine->SetSearchText("sub/U"); // a folder part names what is found in it
    EXPECT_EQ(ToVector(engine->FoundBox().Items), (Strings{R + "A/sub/Udeep.pas"}));

    engine->SetSearchText("zz");
    EXPECT_EQ(ToVector(engine->FoundBox().Items), (Strings{NoFilesFound}));
    EXPECT_FALSE(engine->LoadEnabled());
    engine->btnLoadClick();
    EXPECT_TRUE(FTools.Calls().empty());
    EXPECT_FALSE(engine->CloseRequested());

    SetLibPath(R + "A;" + R + "A/"); // the same folder twice is searched twice
    auto twice = Make();
    twice->SetSearchText("Unit1");
    EXPECT_EQ(twice->FoundBox().Items.Count(), 2);
}

TEST_F(FindExpTest, EmptyPathEntrySearchesTheCurrentFolder) {
    Touch("A/Unit1.pas");
    auto engine = Make(); // no library path: one empty entry
    EXPECT_EQ(ToVector(engine->MainPathList()), (Strings{""}));
    const fs::path old = fs::current_path();
    fs::current_path(R + "A");
    engine->SetSearchText("unit");
    fs::current_path(old);
    EXPECT_EQ(ToVector(engine->FoundBox().Items), (Strings{"Unit1.pas"}));
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
    FTools.Services().OnProcessMessages = [&] {
        disabledMeanwhile = disabledMeanwhile && !engine->SearchBox().Enabled;
    };
    EXPECT_TRUE(engine->btnSearchClick());
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_TRUE(engine->SearchBox().Enabled);
    EXPECT_EQ(engine->Focused(), TFindFocus::fcFound);
    Strings names;
    for (const std::string& name : ToVector(engine->FoundBox().Items))
        names.push_back(fs::path(name).filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Strings{"Udeep.pas", "Udeeper.dpr", "Utop.pas"}));
    EXPECT_EQ(engine->FoundList()[0], R + "EX/Utop.pas"); // a folder's own files first

    engine->SetSearchText("nothing");
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
                ::setenv("VESK_REGISTRY", (R + "reg/registry.reg").c_str(), 1);
                TFindExpEngine engine;
                engine.SetPathText(TFindPathEdit::edExPath, R + "EX");
                engine.RebuildPathLists();
                engine.SetSearchText("U");
                engine.btnSearchClick();
                for (const std::string& name : ToVector(engine.FoundBox().Items))
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
    using Call = THeadlessHost::TCall;
    EXPECT_EQ(FTools.Calls(),
              (std::vector<Call>{{"CloseProject", ""}, {"OpenProject", R + "A/Project1.dpr"}}));
    EXPECT_TRUE(engine->CloseRequested());

    FTools.ClearCalls();
    engine->SetSearchText("Unit1");
    engine->btnLoadClick();
    engine->btnLoadClick(); // the same name goes into the history once
    EXPECT_EQ(FTools.Calls(), (std::vector<Call>{{"OpenFile", R + "A/Unit1.pas"},
                                                 {"OpenFile", R + "A/Unit1.pas"}}));
    EXPECT_EQ(ToVector(engine->SearchBox().Items), (Strings{"Unit1.pas", "Project1.dpr"}));

    FTools.ClearCalls();
    FTools.SetCloseProjectResult(false); // the user keeps the current project
    auto fresh = Make();                 // a history without the names opened above
    fresh->SetSearchText("Project1");
    fresh->btnLoadClick();
    EXPECT_EQ(FTools.Calls(), (std::vector<Call>{{"CloseProject", ""}}));
    EXPECT_EQ(ToVector(fresh->SearchBox().Items), (Strings{"Project1.dpr"}));
    EXPECT_EQ(FForm.CloseCount(), 4); // every choice closes the dialog

    FTools.ClearCalls(); // the keys of the search page
    engine->SetSearchText("");
    EXPECT_FALSE(engine->cbSearchKeyDown(TFindKey::fkDown, false, true)); // list dropped down
    EXPECT_TRUE(engine->cbSearchKeyDown(TFindKey::fkDown, false, false));
    EXPECT_EQ(engine->Focused(), TFindFocus::fcFound);
    EXPECT_EQ(engine->FoundBox().ItemIndex, 1);
    EXPECT_TRUE(engine->cbSearchKeyDown(TFindKey::fkDown, false, false)); // at the end: stays
    EXPECT_EQ(engine->FoundBox().ItemIndex, 1);
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
    EXPECT_EQ(ToVector(engine->ExtBox().Items), (Strings{DefaultExtensions}));
    EXPECT_EQ(engine->ExtBox().Text, DefaultExtensions);
    EXPECT_EQ(ToVector(engine->ExtList()), (Strings{"PAS", "DPR", "DPK"}));
    EXPECT_EQ(engine->SearchBox().Items.Count() + engine->FavorBox().Items.Count() +
                  engine->DpkBox().Items.Count() +
                  engine->PathMemo(TFindPathEdit::edMainPath).Lines.Count(),
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

    // 20 files opened, 10 extension texts taken: the newest 16 and 8 are kept.
    for (int i = 0; i < 20; ++i)
        Touch("H/S" + IntToStr(i) + ".pas");
    engine->SetPathText(TFindPathEdit::edMainPath, R + "H");
    engine->RebuildPathLists();
    for (int i = 0; i < 20; ++i) {
        engine->SetSearchText("S" + IntToStr(i) + ".pas");
        engine->btnLoadClick();
    }
    for (int i = 0; i < 10; ++i) {
        engine->SetExtText("E" + IntToStr(i));
        engine->tsConfigExit();
    }
    engine->Save();
    auto next = Make();
    EXPECT_EQ(next->SearchBox().Items.Count(), 16);
    EXPECT_EQ(next->SearchBox().Items[0], "S19.pas");
    EXPECT_EQ(next->SearchBox().Items[15], "S4.pas");
    EXPECT_EQ(ToVector(next->ExtBox().Items),
              (Strings{"E9", "E8", "E7", "E6", "E5", "E4", "E3", "E2"}));
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
    EXPECT_EQ(engine->ExtBox().Text, "PAS");
    EXPECT_EQ(engine->SearchBox().Text, "Unit1.pas");
    EXPECT_EQ(ToVector(engine->FavorBox().Items), (Strings{"/f/a.pas"}));
    EXPECT_EQ(ToVector(engine->DpkBox().Items), (Strings{"Pk"}));
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
    EXPECT_EQ(again->SearchBox().Items.Count(), 0);
    EXPECT_EQ(ToVector(again->FavorBox().Items), (Strings{"/f/a.pas"}));
    EXPECT_EQ(ToVector(again->DpkBox().Items), (Strings{"Pk"}));
}

// Closing stores the favourites and the edited paths as leaving their page would.
TEST_F(FindExpTest, ClosingStoresFavouritesAndEditedPaths) {
    auto engine = Make();
    engine->SelectPage(PageType::ptFFavor);
    EXPECT_EQ(engine->Focused(), TFindFocus::fcFavor);
    engine->AddFavorite("/src/Fav.pas");
    engine->FormClose();
    EXPECT_EQ(ToVector(Make()->FavorBox().Items), (Strings{"/src/Fav.pas"}));

    engine->FormActivate();
    engine->ChangePage(TFindPage::TabSheet21);
    engine->SetPathText(TFindPathEdit::edMainPath, "/p1\n/p2;/p3");
    engine->FormActivate(); // not stored yet: activation shows the stored paths again
    EXPECT_EQ(engine->PathMemo(TFindPathEdit::edMainPath).Lines.Count(), 0);
    engine->SetPathText(TFindPathEdit::edMainPath, "/p1\n/p2;/p3");
    engine->FormClose();
    auto next = Make();
    EXPECT_EQ(ToVector(next->PathMemo(TFindPathEdit::edMainPath).Lines),
              (Strings{"/p1", "/p2;/p3"}));
    EXPECT_EQ(ToVector(next->MainPathList()), (Strings{"", "/p1/", "/p2/", "/p3/"}));

    next->ChangePage(TFindPage::TabSheet22); // leaving the page stores too
    next->SetPathText(TFindPathEdit::edExPath, "/deep");
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
    EXPECT_EQ(next->ExtBox().Text, "PAS;INC");
    EXPECT_EQ(ToVector(next->ExtBox().Items), (Strings{"PAS;INC", DefaultExtensions}));

    // A stored -1 selects nothing: one empty extension, files without one are found.
    Touch("A/Makefile");
    Touch("A/Main.pas");
    SetLibPath(R + "A");
    TRegistry reg(FRegFile);
    reg.OpenKey(FindSettingsKey, false);
    reg.WriteInteger("cbExt.ItemIndex", -1);
    auto none = Make();
    EXPECT_EQ(none->ExtBox().Text, "");
    EXPECT_EQ(ToVector(none->ExtList()), (Strings{""}));
    none->SetSearchText("M");
    EXPECT_EQ(ToVector(none->FoundBox().Items), (Strings{R + "A/Makefile"}));
    none->PickExt(1);
    EXPECT_EQ(ToVector(none->FoundBox().Items), (Strings{R + "A/Main.pas"}));
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
    EXPECT_EQ(ToVector(engine->DpkBox().Items), (Strings{"Empty", "MyPack", "Other things"}));
    EXPECT_EQ(ToVector(engine->PackagesPathList()),
              (Strings{R + "A/Empty.dpk", R + "A/MyPack.dpk", R + "B/Other.dpk"}));
    engine->SelectDpk(2);
    engine->lbFilesPackagesDblClick();
    EXPECT_EQ(FTools.OpenFiles(), (Strings{R + "B/Other.dpk"}));
    engine->FormClose();

    auto next = Make(); // a new run shows the same list, each entry with its source
    EXPECT_EQ(ToVector(next->DpkBox().Items), ToVector(engine->DpkBox().Items));
    EXPECT_EQ(ToVector(next->PackagesPathList()), ToVector(engine->PackagesPathList()));

    next->lbDpkKeyDown(TFindKey::fkEnd);
    EXPECT_EQ(next->DpkBox().ItemIndex, 2);
    next->lbDpkKeyDown(TFindKey::fkPageUp);
    next->lbDpkKeyDown(TFindKey::fkEnter);
    EXPECT_EQ(FTools.Calls().back().FileName, R + "A/Empty.dpk");
    next->FormKeyPress(27);
    EXPECT_TRUE(next->CloseRequested());

    next->SetExtText("PAS;DPR");
    next->cbExtClick();
    next->ReadDpk();
    EXPECT_EQ(next->DpkBox().Items.Count(), 0);
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
    engine->SelectFavor(1);
    engine->lbFavorDblClick();
    EXPECT_EQ(FTools.Calls().back(), (THeadlessHost::TCall{"OpenFile", "/b.pas"}));
    engine->DelFavorite1Click();
    EXPECT_EQ(ToVector(engine->FavorBox().Items), (Strings{"/a.pas", "/a.pas"}));
    engine->DelFavorite1Click(); // nothing selected any more
    EXPECT_EQ(engine->FavorBox().Items.Count(), 2);

    THeadlessServices& dialogs = FTools.Services();
    dialogs.AnswerDirectory("/Dir");
    dialogs.AnswerDirectory("/DIR");
    dialogs.AnswerDirectory(std::nullopt); // the chooser cancelled
    EXPECT_TRUE(engine->edPathDblClick(TFindPathEdit::edExPath));
    EXPECT_FALSE(engine->edPathDblClick(TFindPathEdit::edExPath));
    EXPECT_FALSE(engine->edPathDblClick(TFindPathEdit::edExPath));
    const TMemoState& paths = engine->PathMemo(TFindPathEdit::edExPath);
    EXPECT_EQ(ToVector(paths.Lines), (Strings{"/Dir"}));
    EXPECT_TRUE(paths.Modified);
    ASSERT_EQ(dialogs.DirectoryRequests().size(), 3u);
    EXPECT_EQ(dialogs.DirectoryRequests()[0].Start, "");              // from no directory,
    EXPECT_EQ(dialogs.DirectoryRequests()[0].Options, sdAllowCreate); // a new one may be typed
}

// Keys typed while a search lets pending events run: the running search ends first,
// one more search follows with the final text, and only its results are shown.
TEST_F(FindExpTest, TypingDuringASearchLeadsToOneSearchWithTheFinalText) {
    for (const char* f : {"A/Ua.pas", "A/Ub.pas", "A/Uc.pas", "A/Unit1.pas", "A/Unit1x.pas"})
        Touch(f);
    SetLibPath(R + "A");
    auto engine = Make();
    int changes = 0;
    engine->SetOnChange([&] { ++changes; });
    std::vector<std::string> searchedMeanwhile;
    bool typed = false;
    FTools.Services().OnProcessMessages = [&] {
        ++FEvents;
        searchedMeanwhile.push_back(engine->SearchName());
        if (!typed) {
            typed = true;
            for (const char* text : {"Un", "Uni", "Unit1"})
                engine->SetSearchText(text);
            EXPECT_EQ(engine->SearchBox().Text, "Unit1"); // the field shows it at once
            EXPECT_EQ(engine->SearchName(), "U");         // the running search goes on
        }
    };
    FEvents = 0;
    engine->SetSearchText("U");
    // Five files for "U", then two for "Unit1": no search for "Un" or "Uni".
    EXPECT_EQ(FEvents, 5 + 2);
    EXPECT_EQ(searchedMeanwhile, (Strings{"U", "U", "U", "U", "U", "Unit1", "Unit1"}));
    EXPECT_EQ(ToVector(engine->FoundList()), (Strings{R + "A/Unit1.pas", R + "A/Unit1x.pas"}));
    EXPECT_EQ(ToVector(engine->FoundBox().Items), ToVector(engine->FoundList()));
    EXPECT_EQ(engine->SearchName(), "Unit1");
    EXPECT_GE(changes, 1);

    // Other handlers wait too: Enter during a search opens the first result of the
    // search that ends last, and a new extension list does not change a running search.
    typed = false;
    FTools.Services().OnProcessMessages = [&] {
        if (!typed) {
            typed = true;
            engine->SetSearchText("Ub");
            engine->SetExtText("PAS;INC");
            engine->cbExtClick();
            engine->btnLoadClick();
            EXPECT_EQ(ToVector(engine->ExtList()), (Strings{"PAS", "DPR", "DPK"}));
            EXPECT_TRUE(FTools.Calls().empty());
        }
    };
    engine->SetSearchText("U");
    EXPECT_EQ(ToVector(engine->ExtList()), (Strings{"PAS", "INC"}));
    EXPECT_EQ(FTools.Calls(), (std::vector<THeadlessHost::TCall>{{"OpenFile", R + "A/Ub.pas"}}));
    EXPECT_TRUE(engine->CloseRequested());
}

TEST_F(FindExpTest, TheWindowIsToldOnceAfterEachHandler) {
    Touch("A/Unit1.pas");
    SetLibPath(R + "A");
    auto engine = Make();
    int changes = 0;
    engine->SetOnChange([&] { ++changes; });
    engine->SetSearchText("Unit");
    EXPECT_EQ(changes, 1);
    engine->PickExt(0); // itself a search and an extension rebuild: still one
    EXPECT_EQ(changes, 2);
    engine->FormClose();
    EXPECT_EQ(changes, 3);
    engine->SelectFound(5); // out of range: nothing selected
    EXPECT_EQ(engine->FoundBox().ItemIndex, -1);
    EXPECT_EQ(changes, 4);
}

TEST_F(FindExpTest, AFavouriteIsChosenWithTheOpenDialog) {
    auto engine = Make();
    THeadlessServices& dialogs = FTools.Services();
    EXPECT_FALSE(engine->AddFavorite1Click()); // cancelled
    dialogs.AnswerOpenDialog("/src/Fav.pas");
    EXPECT_TRUE(engine->AddFavorite1Click());
    EXPECT_EQ(ToVector(engine->FavorBox().Items), (Strings{"/src/Fav.pas"}));
    ASSERT_EQ(dialogs.OpenDialogs().size(), 2u);
    const TOpenDialog& shown = dialogs.OpenDialogs()[1];
    EXPECT_EQ(shown.Filter, engine->FavoriteFilter());
    EXPECT_EQ(shown.Options, ofHideReadOnly | ofPathMustExist | ofFileMustExist);
}

TEST_F(FindExpTest, OptionsWidenTheMatchOpenSeveralFilesAndStopADeepSearch) {
    for (const char* f : {"A/Unit1.pas", "A/MyUnit.pas", "A/sub/OldUnit.pas", "A/Project1.dpr",
                          "EX/a/Ua.pas", "EX/b/Ub.pas", "EX/c/Uc.pas"})
        Touch(f);
    Set(IdePackagesKey, R + "bpl/MyPack.bpl", "Mine");
    Touch("A/MyPack.dpk");
    Touch("A/OtherMyPack.dpk");
    SetLibPath(R + "A");
    Set(FindSettingsKey, "ExPath0", R + "EX");
    auto engine = Make();
    EXPECT_EQ(engine->Options(), TFindExpOptions{});

    TFindExpOptions options;
    options.MatchAnywhere = true;
    engine->SetSearchText("unit");
    EXPECT_EQ(engine->FoundBox().Items.Count(), 1);
    engine->SetOptions(options); // searches again at once
    EXPECT_EQ(ToVector(engine->FoundBox().Items), (Strings{R + "A/MyUnit.pas", R + "A/Unit1.pas"}));
    engine->SetSearchText("sub/unit"); // after a folder part too
    EXPECT_EQ(ToVector(engine->FoundBox().Items), (Strings{R + "A/sub/OldUnit.pas"}));
    engine->SetSearchText("unit1.p");
    EXPECT_EQ(ToVector(engine->FoundBox().Items), (Strings{R + "A/Unit1.pas"}));
    // The package refresh still asks for the package's own source only.
    engine->ReadDpk();
    EXPECT_EQ(ToVector(engine->PackagesPathList()), (Strings{R + "A/MyPack.dpk"}));
    EXPECT_EQ(Make()->Options(), options); // kept for the next dialog

    // Several files at once: each opened, the dialog closed once.
    engine->SetSearchText("");
    const int closed = FForm.CloseCount();
    engine->LoadFiles({1, 3, 99}); // of MyPack.dpk, MyUnit.pas, OtherMyPack.dpk, Project1.dpr
    using Call = THeadlessHost::TCall;
    EXPECT_EQ(FTools.Calls(), (std::vector<Call>{{"OpenFile", R + "A/MyUnit.pas"},
                                                 {"CloseProject", ""},
                                                 {"OpenProject", R + "A/Project1.dpr"}}));
    EXPECT_EQ(ToVector(engine->SearchBox().Items), (Strings{"Project1.dpr", "MyUnit.pas"}));
    EXPECT_EQ(FForm.CloseCount(), closed + 1);
    FTools.ClearCalls();
    engine->SetSearchText("zz");
    engine->LoadFiles({0}); // the "No File(s) Found" line opens nothing
    engine->SetSearchText("");
    engine->LoadFiles({-1, 50});
    EXPECT_TRUE(FTools.Calls().empty());
    EXPECT_EQ(FForm.CloseCount(), closed + 1);

    // A stop asked for while the deep search lets events run keeps what it found.
    engine->SetSearchText("u");
    engine->CancelSearch(); // no deep search running: nothing to stop
    int events = 0;
    FTools.Services().OnProcessMessages = [&] {
        if (++events == 2) // the first call comes before the walk starts
            engine->CancelSearch();
    };
    EXPECT_TRUE(engine->btnSearchClick());
    ASSERT_EQ(engine->FoundBox().Items.Count(), 1); // the first folder's, in listing order
    EXPECT_EQ(engine->FoundBox().Items[0].rfind(R + "EX/", 0), 0u);
    EXPECT_FALSE(engine->DeepSearching());
    EXPECT_TRUE(engine->SearchBox().Enabled);
    FTools.Services().OnProcessMessages = nullptr;
    EXPECT_TRUE(engine->btnSearchClick()); // the next search is whole again
    EXPECT_EQ(engine->FoundBox().Items.Count(), 3);
}

} // namespace
} // namespace vesk
