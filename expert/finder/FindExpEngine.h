// Everything the Find Source dialog does that is not a widget: its search paths and
// extensions, the live and the deep search, opening the chosen file through the IDE's
// tool services, the package list, the favourites and the settings it keeps in the
// registry. The dialog shows this state and forwards its events here.
#pragma once

#include "expert/frame/VeskCommon.h"
#include "platform/controls/FormIntf.h"
#include "platform/files/FindFile.h"
#include "platform/registry/Registry.h"
#include "platform/rtl/Classes.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace vesk {

// The page the dialog opens on.
enum class PageType { ptFiles, ptPackages, ptFFavor };
// The pages of the dialog, in their order.
enum class TFindPage { tsSearch, tsPackages, tsFavor, TabSheet21, TabSheet22, tsConfig };
// The control holding the keyboard focus, as far as the engine moves it.
enum class TFindFocus { fcNone, fcSearch, fcFound, fcDpk, fcFavor };

// The navigation keys the dialog passes on.
enum class TFindKey { fkDown, fkEnter, fkHome, fkEnd, fkPageUp, fkPageDown, fkOther };

inline constexpr const char* NoFilesFound = "No File(s) Found";
inline constexpr const char* FindSettingsKey =
    "Software\\Borland\\Delphi\\Makory\\Expert Source Find";
inline constexpr const char* IdeLibraryKey = "Software\\Borland\\Delphi\\3.0\\Library";
inline constexpr const char* IdePackagesKey = "Software\\Borland\\Delphi\\3.0\\Known Packages";
inline constexpr const char* DefaultExtensions = "PAS;DPR;DPK";

// A list box: its entries and the selected one (-1: none).
struct TListBoxState {
    TStringList Items;
    int ItemIndex = -1;
    bool HasSelection() const { return ItemIndex >= 0 && ItemIndex < Items.Count(); }
};

// A text field with a drop-down history.
struct TComboBoxState {
    std::string Text;
    TStringList Items;
    int ItemIndex = -1;
    bool Enabled = true;
    // Selects entry Index (its text shows), or nothing (an empty text) when out of range.
    void SelectItem(int index);
};

// A multi-line text and whether the user changed it since it was loaded.
struct TMemoState {
    TStringList Lines;
    bool Modified = false;
};

// The two path texts the user edits.
enum class TFindPathEdit { edMainPath, edExPath };

// Choices beyond the classic dialog, each kept in a value of its own under the dialog's
// settings key; the defaults are the classic behaviour.
struct TFindExpOptions {
    bool MatchAnywhere = false; // the typed text may stand anywhere in a file's name
    bool FolderColumn = false;  // the found list shows the name, then its folder
    bool OpenSeveral = false;   // several found files can be selected and opened at once
    bool StopButton = false;    // the "&Search" button stops a running deep search
    bool operator==(const TFindExpOptions&) const = default;
};

inline constexpr const char* FindMatchAnywhereValue = "MatchAnywhere";
inline constexpr const char* FindFolderColumnValue = "FolderColumn";
inline constexpr const char* FindOpenSeveralValue = "OpenSeveral";
inline constexpr const char* FindStopButtonValue = "StopButton";

// The engine reaches its surroundings through the host: ToolServices opens the files
// (when there are tool services and InIDE), HostServices() lets pending events run,
// chooses directories and files, and holds the settings store. The window shows the
// engine's state through the accessors, calls the handlers below for what the user
// does, and follows SetOnChange's notification.
//
// A search lets pending events run after every file it finds. A handler called from
// those events waits until the running one has ended, and changes of the search text
// meanwhile lead to one more live search with the final text: one search never runs
// inside another, and the results shown are those of the last text.
class TFindExpEngine {
public:
    using TSearchProc = void (TFindExpEngine::*)(const std::string& path);

    // Creation: reads the IDE's library path, opens the settings key, loads the
    // settings and runs the live search. Form is the dialog (not owned; none for an
    // engine without a window): its position is kept and loading a file closes it.
    // InIDE: the dialog is not the application's main form.
    explicit TFindExpEngine(IFormWindow* form = nullptr, bool inIDE = true);
    TFindExpEngine(const TFindExpEngine&) = delete;
    TFindExpEngine& operator=(const TFindExpEngine&) = delete;

    // Called once after every handler has run (handlers it calls and the ones that
    // waited for it included), so that the window shows the new state.
    void SetOnChange(std::function<void()> onChange) { FOnChange = std::move(onChange); }

    // Path and extension lists.
    static void PathToSearch(const TStringList& source, TStringList& destination);
    void cbExtClick();

    // The search. Anywhere: the name may stand anywhere in a file's name, not only at
    // its start.
    bool Search(const TStringList& paths, TSearchProc step, bool anywhere = false);
    void SearchDir(const std::string& path);
    void ExSearchDir(const std::string& path);
    void cbSearchChange();
    bool btnSearchClick();
    void LoadFile();
    void btnLoadClick();
    // Opens each of the found entries Rows (in their order) as LoadFile opens one, then
    // closes the dialog once; nothing when no file was found or no row is valid.
    void LoadFiles(const std::vector<int>& rows);
    // Asked while a deep search lets events run: the walk stops where it is and the
    // files found so far are the result. Elsewhere it does nothing.
    void CancelSearch();
    bool DeepSearching() const { return FDeepSearching; }

    // The options; setting them stores them at once and searches again when the match
    // changed.
    const TFindExpOptions& Options() const { return FOptions; }
    void SetOptions(const TFindExpOptions& options);

    // Settings.
    void ReadList(const std::string& name, TStringList& list);
    void WriteList(const std::string& name, const TStringList& list);
    void ReadPath();
    void WritePath();
    // Rebuilds the path lists from the library path and the two path texts as they
    // stand, storing nothing.
    void RebuildPathLists();
    void Load();
    void Save();

    // Dialog events.
    void SelectPage(PageType page);  // the page ExecuteFindExp opens on
    void ChangePage(TFindPage page); // the user picks a page tab
    void pcChanging();
    void FormActivate();
    void FormClose();
    void btnCancelClick();
    void tsConfigExit();

    // Keys. KeyDown handlers return true when they consumed the key.
    bool cbSearchKeyDown(TFindKey key, bool shift, bool droppedDown);
    void lbFoundKeyPress(char key);
    void lbDpkKeyDown(TFindKey key);
    void lbFavorKeyPress(char key);
    void FormKeyPress(char key);

    // Packages and favourites.
    void ReadDpk();
    void lbFilesPackagesDblClick();
    // The open dialog's filter for adding a favourite, from the extension field.
    std::string FavoriteFilter() const;
    // Asks for a file with the open dialog and adds it; false when none was chosen.
    bool AddFavorite1Click();
    void AddFavorite(const std::string& fileName); // a file chosen elsewhere
    void DelFavorite1Click();
    void lbFavorDblClick();
    // Asks for a directory with the chooser and appends it to the path text unless it
    // is there already; false when nothing was added.
    bool edPathDblClick(TFindPathEdit edit);

    // What the user types and picks.
    void SetSearchText(const std::string& text); // runs the live search
    void SetExtText(const std::string& text);    // typing in the extension field
    void PickExt(int index);                     // an entry picked from its drop-down
    void SetPathText(TFindPathEdit edit, const std::string& text);
    void SelectFound(int index); // -1: none
    void SelectDpk(int index);
    void SelectFavor(int index);

    // The state the dialog shows.
    const std::string& SearchName() const { return FSearchName; }
    const std::string& FileName() const { return FFileName; }
    const std::string& LibPath() const { return FLibPath; }
    bool InIDE() const { return FInIDE; }
    const TStringList& MainPathList() const { return FMainPathList; }
    const TStringList& ExPathList() const { return FExPathList; }
    const TStringList& ExtList() const { return FExtList; }
    const TStringList& FoundList() const { return FFoundList; }
    const TStringList& PackagesPathList() const { return FPackagesPathList; }
    bool LoadEnabled() const { return FLoadEnabled; }
    TFindPage Page() const { return FPage; }
    TFindFocus Focused() const { return FFocused; }
    bool CloseRequested() const { return FCloseRequested; }
    void ClearCloseRequest() { FCloseRequested = false; }
    const TComboBoxState& SearchBox() const { return cbSearch; }
    const TComboBoxState& ExtBox() const { return cbExt; }
    const TListBoxState& FoundBox() const { return lbFound; }
    // Changes whenever the found list is filled anew.
    unsigned FoundVersion() const { return FFoundVersion; }
    const TListBoxState& DpkBox() const { return lbDpk; }
    const TListBoxState& FavorBox() const { return lbFavor; }
    const TMemoState& PathMemo(TFindPathEdit edit) const {
        return edit == TFindPathEdit::edMainPath ? edMainPath : edExPath;
    }
    const TMemoState& LibPathMemo() const { return mmMain; }

private:
    class THandlerScope;
    // True when the call must wait: pending events are running inside a search.
    bool Deferred(std::function<void()> call);
    void QueueLiveSearch();
    void HandlerEnded(bool unwinding);
    TMemoState& Memo(TFindPathEdit edit) {
        return edit == TFindPathEdit::edMainPath ? edMainPath : edExPath;
    }

    void ShowFound();
    void OpenInIDE(); // FFileName, through the tool services, into the history
    void CloseForm();
    void ReadOptions();
    void EnterPage();
    void StoreLeftPage();
    void ProcessMessages();
    // The listing of Path, read once per search however often it is asked for.
    std::shared_ptr<const TDirListing> Listing(const std::string& path);

    TComboBoxState cbSearch;
    TComboBoxState cbExt;
    TListBoxState lbFound;
    TListBoxState lbDpk;
    TListBoxState lbFavor;
    TMemoState edMainPath;
    TMemoState edExPath;
    TMemoState mmMain;

    IFormWindow* FForm;
    TRegistry FReg;
    std::string FSearchName;
    std::string FFileName;
    std::string FLibPath;
    bool FInIDE;
    TStringList FMainPathList, FExPathList, FExtList, FFoundList, FTmpList;
    TStringList FPackagesPathList, FMainPathSrc, FExPathSrc;
    bool FLoadEnabled = false;
    TFindPage FPage = TFindPage::tsSearch;
    TFindFocus FFocused = TFindFocus::fcNone;
    bool FCloseRequested = false;

    bool FSearching = false;
    bool FDeepSearching = false;
    bool FCancelled = false;
    TFindExpOptions FOptions;
    unsigned FFoundVersion = 0;
    std::map<std::string, std::shared_ptr<const TDirListing>> FListings;

    std::function<void()> FOnChange;
    int FHandlerDepth = 0;
    bool FLettingEventsRun = false;
    bool FLiveSearchQueued = false;
    std::deque<std::function<void()>> FDeferred;
};

} // namespace vesk
