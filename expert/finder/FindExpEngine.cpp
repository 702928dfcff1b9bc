#include "expert/finder/FindExpEngine.h"

#include "expert/parsing/Parser.h"
#include "platform/ota/HostServices.h"
#include "platform/ota/ToolServices.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <exception>
#include <vector>

namespace vesk {

namespace {

constexpr int SearchHistoryLimit = 16;
constexpr int ExtHistoryLimit = 8;
constexpr int ListReadLimit = 256;
constexpr const char* ExtIndexValue = "cbExt.ItemIndex";

// Splits each line at ";" into parts, left to right, dropping parts already present
// (case ignored). An empty line or part counts as one empty entry; a ";" at the end of
// a line adds nothing.
void SplitParts(const TStringList& source, TStringList& destination) {
    destination.Clear();
    auto add = [&](std::string part) {
        if (destination.IndexOf(part) < 0)
            destination.Add(std::move(part));
    };
    for (int i = 0; i < source.Count(); ++i) {
        std::string_view line = source[i];
        std::size_t start = 0;
        for (;;) {
            std::size_t semicolon = line.find(';', start);
            if (semicolon == std::string_view::npos) {
                if (start == 0 || start < line.size())
                    add(std::string(line.substr(start)));
                break;
            }
            add(std::string(line.substr(start, semicolon - start)));
            start = semicolon + 1;
        }
    }
}

// Holds a flag up for a scope, whatever leaves it.
class FlagGuard {
public:
    explicit FlagGuard(bool& flag) : FFlag(flag) { FFlag = true; }
    ~FlagGuard() { FFlag = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& FFlag;
};

// Loading a setting: a bad value costs that setting only.
template <typename Step>
void LoadStep(Step step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

} // namespace

void TComboBoxState::SelectItem(int index) {
    if (index >= 0 && index < Items.Count()) {
        ItemIndex = index;
        Text = Items[index];
    } else {
        ItemIndex = -1;
        Text.clear();
    }
}

// One call of a handler. The outermost one, when it ends, makes the calls that waited
// for it and then tells the window once.
class TFindExpEngine::THandlerScope {
public:
    explicit THandlerScope(TFindExpEngine& engine)
        : FEngine(engine), FUncaught(std::uncaught_exceptions()) {
        ++FEngine.FHandlerDepth;
    }
    ~THandlerScope() noexcept(false) {
        if (--FEngine.FHandlerDepth == 0)
            FEngine.HandlerEnded(std::uncaught_exceptions() > FUncaught);
    }
    THandlerScope(const THandlerScope&) = delete;
    THandlerScope& operator=(const THandlerScope&) = delete;

private:
    TFindExpEngine& FEngine;
    int FUncaught;
};

bool TFindExpEngine::Deferred(std::function<void()> call) {
    if (!FLettingEventsRun)
        return false;
    FDeferred.push_back(std::move(call));
    return true;
}

void TFindExpEngine::QueueLiveSearch() {
    if (FLiveSearchQueued)
        return; // the one queued reads the text when it runs
    FLiveSearchQueued = true;
    FDeferred.push_back([this] {
        FLiveSearchQueued = false;
        cbSearchChange();
    });
}

void TFindExpEngine::HandlerEnded(bool unwinding) {
    if (unwinding) {
        // What waited for a handler that failed goes with it; the window is still told
        // of what the handler changed before it failed, but nothing may raise now.
        FDeferred.clear();
        FLiveSearchQueued = false;
        try {
            if (FOnChange)
                FOnChange();
        } catch (...) {
        }
        return;
    }
    while (!FDeferred.empty()) {
        std::function<void()> call = std::move(FDeferred.front());
        FDeferred.pop_front();
        call(); // a handler of its own: it makes the later ones and notifies
    }
    if (FOnChange)
        FOnChange();
}

// Creation

TFindExpEngine::TFindExpEngine(IFormWindow* form, bool inIDE)
    : FForm(form), FReg(HostServices().SettingsStore()), FInIDE(inIDE) {
    FReg.SetRootKey(HKEY_CURRENT_USER);
    if (FReg.OpenKey(IdeLibraryKey, false))
        FLibPath = FReg.ReadString("SearchPath");
    FReg.CloseKey();
    FReg.OpenKey(FindSettingsKey, true);
    Load();
    cbSearchChange();
}

// Path and extension lists

void TFindExpEngine::PathToSearch(const TStringList& source, TStringList& destination) {
    SplitParts(source, destination);
    for (int i = 0; i < destination.Count(); ++i)
        if (!destination[i].empty() && destination[i].back() != PathDelim)
            destination.Put(i, destination[i] + PathDelim);
}

void TFindExpEngine::cbExtClick() {
    if (Deferred([this] { cbExtClick(); }))
        return;
    const THandlerScope scope(*this);
    FTmpList.Clear();
    FTmpList.Add(cbExt.Text);
    SplitParts(FTmpList, FExtList); // extensions take no trailing delimiter
    cbSearchChange();
}

// The search

void TFindExpEngine::ProcessMessages() {
    FlagGuard events(FLettingEventsRun);
    HostServices().ProcessMessages();
}

std::shared_ptr<const TDirListing> TFindExpEngine::Listing(const std::string& path) {
    if (!FSearching)
        return std::make_shared<TDirListing>(path);
    auto [it, added] = FListings.try_emplace(path);
    if (added)
        it->second = std::make_shared<TDirListing>(path);
    return it->second;
}

bool TFindExpEngine::Search(const TStringList& paths, TSearchProc step, bool anywhere) {
    bool result = true;
    FFoundList.Clear();
    // Anywhere: a "*" before the name, after the folder the typed text may name.
    std::string name = FSearchName;
    if (anywhere && !name.empty())
        name.insert(name.rfind(PathDelim) + 1, "*");
    {
        FlagGuard searching(FSearching);
        FListings.clear();
        if (FSearchName.find('.') == std::string::npos) {
            for (int p = 0; p < paths.Count() && !FCancelled; ++p)
                for (int e = 0; e < FExtList.Count() && !FCancelled; ++e) {
                    FFileName = name + "*." + FExtList[e];
                    (this->*step)(paths[p]);
                }
        } else {
            for (int p = 0; p < paths.Count() && !FCancelled; ++p) {
                FFileName = name + "*";
                (this->*step)(paths[p]);
            }
            for (int i = FFoundList.Count() - 1; i >= 0; --i) {
                const std::string ext = ExtractFileExt(FFoundList[i]);
                bool listed = false;
                for (int e = 0; e < FExtList.Count() && !listed; ++e)
                    listed = SameText(ext, "." + FExtList[e]);
                if (!listed)
                    FFoundList.Delete(i);
            }
        }
        FListings.clear();
    }
    FLoadEnabled = FFoundList.Count() > 0;
    if (!FLoadEnabled) {
        FFoundList.Add(NoFilesFound);
        result = false;
    }
    return result;
}

void TFindExpEngine::SearchDir(const std::string& path) {
    // A mask naming a subfolder ("sub/U*.pas") lists that subfolder, and what it finds
    // is named with it.
    const std::string full = path + FFileName;
    const std::string dir = ExtractFilePath(full);
    const std::string mask = ExtractFileName(full);
    const auto listing = Listing(dir);
    for (const TDirListing::Entry& entry : listing->Entries()) {
        if (entry.Attr & (faHidden | faSysFile | faVolumeID))
            continue;
        if (!MatchesMask(entry.Name, mask))
            continue;
        FFoundList.Add(std::string(dir).append(entry.Name));
        ProcessMessages();
        if (FCancelled)
            return;
    }
}

void TFindExpEngine::ExSearchDir(const std::string& path) {
    // Depth first, pre-order, without recursion (no depth limit) and entering every
    // directory once only, so that links cannot make it loop.
    std::set<TFileId> entered;
    std::vector<std::string> pending{path};
    std::vector<std::string> children;
    while (!pending.empty() && !FCancelled) {
        const std::string dir = std::move(pending.back());
        pending.pop_back();
        const auto listing = Listing(dir);
        if (!listing->Ok() || !entered.insert(listing->Id()).second)
            continue;
        SearchDir(dir);
        children.clear();
        for (const TDirListing::Entry& entry : listing->Entries())
            if ((entry.Attr & faDirectory) && AttrWanted(entry.Attr, faDirectory))
                children.push_back(std::string(dir).append(entry.Name) + PathDelim);
        pending.insert(pending.end(), std::make_move_iterator(children.rbegin()),
                       std::make_move_iterator(children.rend()));
    }
}

void TFindExpEngine::ShowFound() {
    std::vector<std::string> shown;
    shown.reserve(static_cast<std::size_t>(FFoundList.Count()));
    for (int i = 0; i < FFoundList.Count(); ++i)
        shown.push_back(FFoundList[i]);
    std::stable_sort(shown.begin(), shown.end(), [](const std::string& a, const std::string& b) {
        return CompareText(a, b) < 0;
    });
    lbFound.Items.Clear();
    for (std::string& name : shown)
        lbFound.Items.Add(std::move(name));
    lbFound.ItemIndex = lbFound.Items.Count() > 0 ? 0 : -1;
    ++FFoundVersion;
}

void TFindExpEngine::cbSearchChange() {
    if (FLettingEventsRun) {
        QueueLiveSearch();
        return;
    }
    const THandlerScope scope(*this);
    FSearchName = cbSearch.Text;
    Search(FMainPathList, &TFindExpEngine::SearchDir, FOptions.MatchAnywhere);
    ShowFound();
}

bool TFindExpEngine::btnSearchClick() {
    if (Deferred([this] { btnSearchClick(); }))
        return false;
    const THandlerScope scope(*this);
    cbSearch.Enabled = false;
    FCancelled = false;
    bool found = false;
    try {
        FlagGuard deep(FDeepSearching);
        ProcessMessages();
        FSearchName = cbSearch.Text;
        found = Search(FExPathList, &TFindExpEngine::ExSearchDir, FOptions.MatchAnywhere);
    } catch (...) {
        cbSearch.Enabled = true;
        FCancelled = false;
        throw;
    }
    cbSearch.Enabled = true;
    FCancelled = false;
    FFocused = found ? TFindFocus::fcFound : TFindFocus::fcSearch;
    ShowFound();
    return found;
}

void TFindExpEngine::CancelSearch() {
    if (FDeepSearching)
        FCancelled = true;
}

void TFindExpEngine::LoadFile() {
    if (Deferred([this] { LoadFile(); }))
        return;
    const THandlerScope scope(*this);
    OpenInIDE();
    CloseForm();
}

void TFindExpEngine::LoadFiles(const std::vector<int>& rows) {
    if (Deferred([this, rows] { LoadFiles(rows); }))
        return;
    const THandlerScope scope(*this);
    if (!FLoadEnabled)
        return;
    std::vector<std::string> names;
    for (const int row : rows)
        if (row >= 0 && row < lbFound.Items.Count())
            names.push_back(lbFound.Items[row]);
    if (names.empty())
        return;
    for (std::string& name : names) {
        FFileName = std::move(name);
        OpenInIDE();
    }
    CloseForm();
}

void TFindExpEngine::OpenInIDE() {
    if (FInIDE && ToolServices) {
        if (UpperCase(ExtractFileExt(FFileName)) == ".DPR") {
            if (ToolServices->CloseProject())
                ToolServices->OpenProject(FFileName);
        } else {
            ToolServices->OpenFile(FFileName);
        }
        const std::string name = ExtractFileName(FFileName);
        if (cbSearch.Items.IndexOf(name) < 0) {
            cbSearch.Items.Insert(0, name);
            if (cbSearch.ItemIndex >= 0)
                ++cbSearch.ItemIndex;
        }
    }
}

void TFindExpEngine::CloseForm() {
    FCloseRequested = true;
    if (FForm)
        FForm->Close();
}

void TFindExpEngine::btnLoadClick() {
    if (Deferred([this] { btnLoadClick(); }))
        return;
    const THandlerScope scope(*this);
    if (!FLoadEnabled || !lbFound.HasSelection())
        return;
    FFileName = lbFound.Items[lbFound.ItemIndex];
    LoadFile();
}

// Settings

void TFindExpEngine::ReadList(const std::string& name, TStringList& list) {
    list.Clear();
    for (int i = 0; i < ListReadLimit; ++i) {
        std::string value = FReg.ReadString(name + IntToStr(i));
        if (value.empty())
            break;
        list.Add(std::move(value));
    }
}

void TFindExpEngine::WriteList(const std::string& name, const TStringList& list) {
    TRegistryUpdate update(FReg); // one replacement of the store for the whole list
    int count = 0;
    for (int i = 0; i < list.Count(); ++i)
        if (!list[i].empty())
            FReg.WriteString(name + IntToStr(count++), list[i]);
    FReg.WriteString(name + IntToStr(count), "");
    update.Commit();
}

void TFindExpEngine::ReadPath() {
    LoadStep([&] { ReadList("MainPath", edMainPath.Lines); });
    LoadStep([&] { ReadList("ExPath", edExPath.Lines); });
    RebuildPathLists();
    edMainPath.Modified = false;
    edExPath.Modified = false;
}

void TFindExpEngine::RebuildPathLists() {
    if (Deferred([this] { RebuildPathLists(); }))
        return;
    const THandlerScope scope(*this);
    FMainPathSrc.Assign(edMainPath.Lines);
    FMainPathSrc.Insert(0, FLibPath);
    PathToSearch(FMainPathSrc, FMainPathList);
    FTmpList.Clear();
    FTmpList.Add(FLibPath);
    PathToSearch(FTmpList, mmMain.Lines);
    FExPathSrc.Assign(edExPath.Lines);
    PathToSearch(FExPathSrc, FExPathList);
}

void TFindExpEngine::WritePath() {
    TRegistryUpdate update(FReg);
    WriteList("MainPath", edMainPath.Lines);
    WriteList("ExPath", edExPath.Lines);
    update.Commit();
}

void TFindExpEngine::Load() {
    ReadPath();
    ReadOptions();
    // Each setting on its own: one bad value must not leave the later lists empty, to
    // be written over the stored ones at the next save.
    if (FForm)
        LoadStep([&] { ReadFormPosition(*FForm, VeskRegistryRoot); });
    LoadStep([&] { ReadList("cbExt", cbExt.Items); });
    if (cbExt.Items.Count() == 0) {
        cbExt.Items.Add(DefaultExtensions);
        cbExt.SelectItem(0);
    } else {
        int index = 0; // a missing or unreadable selection falls back to the newest entry
        LoadStep([&] { index = FReg.ReadInteger(ExtIndexValue); });
        cbExt.SelectItem(index);
    }
    LoadStep([&] { cbExtClick(); });
    LoadStep([&] { ReadList("cbSearch", cbSearch.Items); });
    if (cbSearch.Items.Count() > 0)
        cbSearch.SelectItem(0);
    LoadStep([&] { ReadList("Favor", lbFavor.Items); });
    lbFavor.ItemIndex = lbFavor.Items.Count() > 0 ? 0 : -1;
    LoadStep([&] { ReadList("Packages", lbDpk.Items); });
    lbDpk.ItemIndex = lbDpk.Items.Count() > 0 ? 0 : -1;
    LoadStep([&] { ReadList("PackagesPath", FPackagesPathList); });
}

void TFindExpEngine::ReadOptions() {
    auto read = [this](const char* name, bool& option) {
        LoadStep([&] {
            if (FReg.ValueExists(name))
                option = FReg.ReadInteger(name) != 0;
        });
    };
    read(FindMatchAnywhereValue, FOptions.MatchAnywhere);
    read(FindFolderColumnValue, FOptions.FolderColumn);
    read(FindOpenSeveralValue, FOptions.OpenSeveral);
    read(FindStopButtonValue, FOptions.StopButton);
}

void TFindExpEngine::SetOptions(const TFindExpOptions& options) {
    if (Deferred([this, options] { SetOptions(options); }))
        return;
    const THandlerScope scope(*this);
    const bool research = options.MatchAnywhere != FOptions.MatchAnywhere;
    FOptions = options;
    if (research)
        cbSearchChange();
    TRegistryUpdate update(FReg);
    FReg.WriteInteger(FindMatchAnywhereValue, options.MatchAnywhere ? 1 : 0);
    FReg.WriteInteger(FindFolderColumnValue, options.FolderColumn ? 1 : 0);
    FReg.WriteInteger(FindOpenSeveralValue, options.OpenSeveral ? 1 : 0);
    FReg.WriteInteger(FindStopButtonValue, options.StopButton ? 1 : 0);
    update.Commit();
}

void TFindExpEngine::Save() {
    if (FForm)
        WriteFormPosition(*FForm, VeskRegistryRoot);
    // The position goes through a handle of its own, so before this one takes the lock.
    TRegistryUpdate update(FReg);
    while (cbSearch.Items.Count() > SearchHistoryLimit)
        cbSearch.Items.Delete(cbSearch.Items.Count() - 1);
    WriteList("cbSearch", cbSearch.Items);
    while (cbExt.Items.Count() > ExtHistoryLimit)
        cbExt.Items.Delete(cbExt.Items.Count() - 1);
    if (cbExt.ItemIndex >= cbExt.Items.Count())
        cbExt.ItemIndex = -1;
    WriteList("cbExt", cbExt.Items);
    WriteList("Packages", lbDpk.Items);
    WriteList("PackagesPath", FPackagesPathList);
    FReg.WriteInteger(ExtIndexValue, cbExt.ItemIndex);
    update.Commit();
}

// Dialog events

void TFindExpEngine::StoreLeftPage() {
    if (edExPath.Modified || edMainPath.Modified) {
        WritePath();
        ReadPath();
    } else if (FPage == TFindPage::tsFavor) {
        WriteList("Favor", lbFavor.Items);
        ReadList("Favor", lbFavor.Items);
        if (lbFavor.ItemIndex >= lbFavor.Items.Count())
            lbFavor.ItemIndex = lbFavor.Items.Count() - 1;
    }
}

void TFindExpEngine::pcChanging() {
    if (Deferred([this] { pcChanging(); }))
        return;
    const THandlerScope scope(*this);
    StoreLeftPage();
}

void TFindExpEngine::EnterPage() {
    switch (FPage) {
    case TFindPage::tsSearch:
        cbSearchChange();
        break;
    case TFindPage::tsPackages:
        FFocused = TFindFocus::fcDpk;
        break;
    case TFindPage::tsFavor:
        FFocused = TFindFocus::fcFavor;
        break;
    default:
        break;
    }
}

void TFindExpEngine::SelectPage(PageType page) {
    if (Deferred([this, page] { SelectPage(page); }))
        return;
    const THandlerScope scope(*this);
    switch (page) {
    case PageType::ptFiles:
        FPage = TFindPage::tsSearch;
        break;
    case PageType::ptPackages:
        FPage = TFindPage::tsPackages;
        break;
    case PageType::ptFFavor:
        FPage = TFindPage::tsFavor;
        break;
    }
    EnterPage();
}

void TFindExpEngine::ChangePage(TFindPage page) {
    if (Deferred([this, page] { ChangePage(page); }))
        return;
    const THandlerScope scope(*this);
    if (page == FPage)
        return;
    // The change is always allowed: when storing the page left fails, the page still
    // changes (what was not stored is kept and stored at the next leave or close), and
    // the failure is reported afterwards.
    std::exception_ptr failed;
    try {
        pcChanging();
    } catch (...) {
        failed = std::current_exception();
    }
    const TFindPage left = FPage;
    FPage = page;
    if (left == TFindPage::tsConfig)
        tsConfigExit();
    EnterPage();
    if (failed)
        std::rethrow_exception(failed);
}

void TFindExpEngine::FormActivate() {
    if (Deferred([this] { FormActivate(); }))
        return;
    const THandlerScope scope(*this);
    FCloseRequested = false;
    if (FPage == TFindPage::tsSearch)
        FFocused = TFindFocus::fcSearch;
    ReadPath();
}

void TFindExpEngine::FormClose() {
    if (Deferred([this] { FormClose(); }))
        return;
    const THandlerScope scope(*this);
    // Closing stores what leaving the page showing would store: edited paths and the
    // favourites would otherwise be lost.
    StoreLeftPage();
    tsConfigExit();
    Save();
}

void TFindExpEngine::btnCancelClick() {
    if (Deferred([this] { btnCancelClick(); }))
        return;
    const THandlerScope scope(*this);
    CloseForm();
}

void TFindExpEngine::tsConfigExit() {
    if (Deferred([this] { tsConfigExit(); }))
        return;
    const THandlerScope scope(*this);
    if (cbExt.Items.IndexOf(cbExt.Text) < 0) {
        cbExt.Items.Insert(0, cbExt.Text);
        if (cbExt.ItemIndex >= 0)
            ++cbExt.ItemIndex;
    }
    // The text shown is the entry selected, so the next run restores it.
    if (cbExt.ItemIndex < 0 || !SameText(cbExt.Items[cbExt.ItemIndex], cbExt.Text))
        cbExt.ItemIndex = cbExt.Items.IndexOf(cbExt.Text);
    cbExtClick();
}

// Keys

bool TFindExpEngine::cbSearchKeyDown(TFindKey key, bool shift, bool droppedDown) {
    if (Deferred([=, this] { cbSearchKeyDown(key, shift, droppedDown); }))
        return key == TFindKey::fkEnter || (key == TFindKey::fkDown && !shift && !droppedDown);
    const THandlerScope scope(*this);
    if (key == TFindKey::fkDown && !shift && !droppedDown) {
        FFocused = TFindFocus::fcFound;
        if (lbFound.ItemIndex + 1 < lbFound.Items.Count())
            ++lbFound.ItemIndex;
        return true;
    }
    if (key == TFindKey::fkEnter) {
        btnLoadClick();
        return true;
    }
    return false;
}

void TFindExpEngine::lbFoundKeyPress(char key) {
    if (Deferred([this, key] { lbFoundKeyPress(key); }))
        return;
    const THandlerScope scope(*this);
    if (key == '\r')
        btnLoadClick();
}

void TFindExpEngine::lbDpkKeyDown(TFindKey key) {
    if (Deferred([this, key] { lbDpkKeyDown(key); }))
        return;
    const THandlerScope scope(*this);
    const int count = lbDpk.Items.Count();
    switch (key) {
    case TFindKey::fkHome:
    case TFindKey::fkPageUp:
        lbDpk.ItemIndex = count > 0 ? 0 : -1;
        break;
    case TFindKey::fkEnd:
    case TFindKey::fkPageDown:
        lbDpk.ItemIndex = count - 1;
        break;
    case TFindKey::fkEnter:
        lbFilesPackagesDblClick();
        break;
    default:
        break;
    }
}

void TFindExpEngine::lbFavorKeyPress(char key) {
    if (Deferred([this, key] { lbFavorKeyPress(key); }))
        return;
    const THandlerScope scope(*this);
    if (static_cast<unsigned char>(key) >= ' ' || key == '\r')
        lbFavorDblClick();
}

void TFindExpEngine::FormKeyPress(char key) {
    constexpr char Escape = 27;
    if (key == Escape)
        btnCancelClick();
}

// Packages

void TFindExpEngine::ReadDpk() {
    if (Deferred([this] { ReadDpk(); }))
        return;
    const THandlerScope scope(*this);
    TRegistry reg(FReg.Store());
    reg.SetRootKey(HKEY_CURRENT_USER);
    TStringList names;
    if (reg.OpenKey(IdePackagesKey, false))
        reg.GetValueNames(names);
    names.Sort();
    lbDpk.Items.Clear();
    for (int i = 0; i < names.Count(); ++i)
        lbDpk.Items.Add(names[i]);
    FPackagesPathList.Clear();

    int i = 0;
    while (i < lbDpk.Items.Count()) {
        const std::string name = ExtractFileName(lbDpk.Items[i]);
        const std::string base = name.substr(0, name.find('.'));
        FSearchName = base + ".dpk";
        if (Search(FMainPathList, &TFindExpEngine::SearchDir) && FFoundList.Count() == 1) {
            FPackagesPathList.Add(FFoundList[0]);
            std::string description;
            try {
                description = reg.ReadString(lbDpk.Items[i]);
            } catch (const ERegistryException&) {
                // a description of another kind: show the base name
            }
            // An empty entry would not be stored and would shift the stored sources.
            if (description == "(untitled)" || description.empty())
                description = base;
            lbDpk.Items.Put(i, description);
            ++i;
        } else {
            lbDpk.Items.Delete(i);
        }
    }
    lbDpk.ItemIndex = lbDpk.Items.Count() > 0 ? 0 : -1;
}

void TFindExpEngine::lbFilesPackagesDblClick() {
    if (Deferred([this] { lbFilesPackagesDblClick(); }))
        return;
    const THandlerScope scope(*this);
    if (!lbDpk.HasSelection() || lbDpk.ItemIndex >= FPackagesPathList.Count())
        return;
    FFileName = FPackagesPathList[lbDpk.ItemIndex];
    LoadFile();
}

// Favourites

std::string TFindExpEngine::FavoriteFilter() const {
    static const CharSet semicolon(";");
    std::string filter;
    for (int n = 1;; ++n) {
        const std::string word = GetWord(cbExt.Text, n, semicolon);
        if (word.empty())
            break;
        filter.append("*.").append(word).append(";");
    }
    return "Search Files (" + filter + ")|" + filter + "|All Files (*.*)|*.*";
}

bool TFindExpEngine::AddFavorite1Click() {
    if (Deferred([this] { AddFavorite1Click(); }))
        return false;
    const THandlerScope scope(*this);
    TOpenDialog dialog;
    dialog.Filter = FavoriteFilter();
    dialog.Options = ofHideReadOnly | ofPathMustExist | ofFileMustExist;
    if (!dialog.Execute() || dialog.FileName.empty())
        return false;
    AddFavorite(dialog.FileName);
    return true;
}

void TFindExpEngine::AddFavorite(const std::string& fileName) {
    if (Deferred([this, fileName] { AddFavorite(fileName); }))
        return;
    const THandlerScope scope(*this);
    if (!fileName.empty())
        lbFavor.Items.Add(fileName);
}

void TFindExpEngine::DelFavorite1Click() {
    if (Deferred([this] { DelFavorite1Click(); }))
        return;
    const THandlerScope scope(*this);
    if (!lbFavor.HasSelection())
        return;
    lbFavor.Items.Delete(lbFavor.ItemIndex);
    lbFavor.ItemIndex = -1;
}

void TFindExpEngine::lbFavorDblClick() {
    if (Deferred([this] { lbFavorDblClick(); }))
        return;
    const THandlerScope scope(*this);
    if (!lbFavor.HasSelection())
        return;
    FFileName = lbFavor.Items[lbFavor.ItemIndex];
    LoadFile();
}

bool TFindExpEngine::edPathDblClick(TFindPathEdit which) {
    if (Deferred([this, which] { edPathDblClick(which); }))
        return false;
    const THandlerScope scope(*this);
    std::string directory;
    if (!HostServices().SelectDirectory(directory, sdAllowCreate) || directory.empty())
        return false;
    TMemoState& edit = Memo(which);
    for (int i = 0; i < edit.Lines.Count(); ++i)
        if (SameText(edit.Lines[i], directory))
            return false;
    edit.Lines.Add(directory);
    edit.Modified = true;
    return true;
}

// What the user types and picks

void TFindExpEngine::SetSearchText(const std::string& text) {
    if (!cbSearch.Enabled)
        return; // a disabled field takes no typing
    if (FLettingEventsRun) {
        // The field shows the text at once; one search with the text it holds then
        // follows the running one, however many keys came meanwhile.
        cbSearch.Text = text;
        QueueLiveSearch();
        return;
    }
    const THandlerScope scope(*this);
    cbSearch.Text = text;
    cbSearchChange();
}

void TFindExpEngine::SetExtText(const std::string& text) {
    if (Deferred([this, text] { SetExtText(text); }))
        return;
    const THandlerScope scope(*this);
    cbExt.Text = text;
    cbExt.ItemIndex = -1;
}

void TFindExpEngine::PickExt(int index) {
    if (Deferred([this, index] { PickExt(index); }))
        return;
    const THandlerScope scope(*this);
    cbExt.SelectItem(index);
    cbExtClick();
}

void TFindExpEngine::SetPathText(TFindPathEdit which, const std::string& text) {
    if (Deferred([this, which, text] { SetPathText(which, text); }))
        return;
    const THandlerScope scope(*this);
    TMemoState& edit = Memo(which);
    edit.Lines.SetText(text);
    edit.Modified = true;
}

namespace {

void Select(TListBoxState& list, int index) {
    list.ItemIndex = index >= 0 && index < list.Items.Count() ? index : -1;
}

} // namespace

void TFindExpEngine::SelectFound(int index) {
    if (Deferred([this, index] { SelectFound(index); }))
        return;
    const THandlerScope scope(*this);
    Select(lbFound, index);
}

void TFindExpEngine::SelectDpk(int index) {
    if (Deferred([this, index] { SelectDpk(index); }))
        return;
    const THandlerScope scope(*this);
    Select(lbDpk, index);
}

void TFindExpEngine::SelectFavor(int index) {
    if (Deferred([this, index] { SelectFavor(index); }))
        return;
    const THandlerScope scope(*this);
    Select(lbFavor, index);
}

} // namespace vesk
