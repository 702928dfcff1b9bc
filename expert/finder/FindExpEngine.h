// Everything the Find Source dialog does that is not a widget: its search paths and
// extensions, the live and the deep search, opening the chosen file through the IDE's
// tool services, the package list, the favourites and the settings it keeps in the
// registry. The dialog shows this state and forwards its events here.
#pragma once

#include "expert/frame/VeskCommon.h"
#include "platform/files/FindFile.h"
#include "platform/ota/ToolServices.h"
#include "platform/registry/Registry.h"
#include "platform/rtl/Classes.h"

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

// What the dialog gives the engine of its surroundings.
struct TFindExpHost {
    bool InIDE = true;                     // the dialog is not the application's main form
    TIToolServices* Tools = nullptr;       // the IDE's tool services, none outside the IDE
    IFormBounds* Form = nullptr;           // the dialog window, whose position is kept
    std::function<void()> ProcessMessages; // lets pending user events run mid-search
    std::function<void()> CloseDialog;     // ends the modal dialog
};

class TFindExpEngine {
public:
    using TSearchProc = void (TFindExpEngine::*)(const std::string& path);

    // Creation: reads the IDE's library path, opens the settings key, loads the
    // settings and runs the live search. The settings live in Store (none: the default
    // store file); reading them creates nothing.
    explicit TFindExpEngine(TFindExpHost host = {}, std::shared_ptr<TRegistryFile> store = nullptr);

    // Path and extension lists.
    static void PathToSearch(const TStringList& source, TStringList& destination);
    void cbExtClick();

    // The search.
    bool Search(const TStringList& paths, TSearchProc step);
    void SearchDir(const std::string& path);
    void ExSearchDir(const std::string& path);
    void cbSearchChange();
    bool btnSearchClick();
    void LoadFile();
    void btnLoadClick();

    // Settings.
    void ReadList(const std::string& name, TStringList& list);
    void WriteList(const std::string& name, const TStringList& list);
    void ReadPath();
    void WritePath();
    // Rebuilds the path lists from the library path and the two path texts as they
    // stand, storing nothing.
    void RebuildPathLists();
    void Load();
    // Each save is one transaction of the store: the lists are read again under its lock
    // and what this dialog changed since it read them is applied to them, so that
    // another process's changes meanwhile are kept (see StoreFavorites).
    void Save();
    // Stores the favourites: the stored list as it is now, with the entries this dialog
    // removed since it last read it removed and the ones it added appended. Additions
    // that would take it past the 256 entries read back are not made; they are returned.
    std::vector<std::string> StoreFavorites();
    const std::shared_ptr<TRegistryFile>& Store() const { return FReg.Store(); }

    // Dialog events.
    void SelectPage(PageType page);  // the page ExecuteFindExp opens on
    void ChangePage(TFindPage page); // the user picks a page tab
    void pcChanging();
    void FormActivate();
    void FormClose();
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
    // The file the open dialog returned, at the end of the list; false (and nothing
    // added) when the list already holds the 256 entries that are read back.
    bool AddFavorite(const std::string& fileName);
    bool FavoritesFull() const;
    void DelFavorite1Click();
    void lbFavorDblClick();
    // A directory picked for a path text; false when it was already there.
    bool edPathDblClick(TMemoState& edit, const std::string& directory);

    // What the user types and picks.
    void SetSearchText(const std::string& text); // runs the live search
    void SetExtText(const std::string& text);    // typing in the extension field
    void PickExt(int index);                     // an entry picked from its drop-down
    void SetPathText(TMemoState& edit, const std::string& text);

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

    TComboBoxState cbSearch;
    TComboBoxState cbExt;
    TListBoxState lbFound;
    TListBoxState lbDpk;
    TListBoxState lbFavor;
    TMemoState edMainPath;
    TMemoState edExPath;
    TMemoState mmMain;

private:
    void ShowFound();
    void EnterPage();
    void StoreLeftPage();
    void ProcessMessages();
    // The listing of Path, read once per search however often it is asked for.
    std::shared_ptr<const TDirListing> Listing(const std::string& path);

    TFindExpHost FHost;
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

    // The lists as they were last read from or written to the store: what a save
    // compares with to tell this dialog's changes from another process's.
    struct TStoredLists {
        TStringList Search, Ext, Favor, Packages, PackagesPath;
    } FStored;

    bool FSearching = false;
    std::map<std::string, std::shared_ptr<const TDirListing>> FListings;
};

} // namespace vesk
