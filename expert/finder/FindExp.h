// The Find Source dialog: finds unit, project and package sources by the beginning of
// their name along the IDE's library path and the user's own paths, lists the installed
// packages and the favourite files, and opens what the user picks in the IDE. Made on
// first use, hidden when closed and shown again by later uses; its owner destroys it.
// All it does is TFindExpEngine's: the dialog shows the engine's state and forwards
// what the user does.
#pragma once

#include "expert/finder/FindExpEngine.h"
#include "platform/ota/HostServices.h"
#include "platform/qt/FormAdapters.h"

#include <QAbstractListModel>
#include <QDialog>

#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QListView;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace vesk {

// The found files as lbFound shows them, read from the engine as the view asks.
class TFoundListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit TFoundListModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}
    // Engine is not owned; none empties the model.
    void SetEngine(const TFindExpEngine* engine);
    // The engine filled its list anew: the view reads it again.
    void Refresh();
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const TFindExpEngine* FEngine = nullptr;
    int FCount = 0;     // the rows the view was told of
    int FNameWidth = 0; // with the folder column: the width of the name column
};

class TFindExpDlg : public QDialog {
    Q_OBJECT
public:
    // Builds the dialog and runs FormCreate, which makes the engine: the settings are
    // loaded and the live search runs. When that fails, the error is shown and the
    // dialog is not Ready.
    explicit TFindExpDlg(QWidget* parent = nullptr);
    ~TFindExpDlg() override;

    bool Ready() const { return FEngine != nullptr; }
    TFindExpEngine* Engine() const { return FEngine.get(); }

    // The controls, by the names their objects carry.
    QTabWidget* pc = nullptr;
    QWidget* tsSearch = nullptr;
    QWidget* tsPackages = nullptr;
    QWidget* tsFavor = nullptr;
    QWidget* TabSheet21 = nullptr;
    QWidget* TabSheet22 = nullptr;
    QWidget* tsConfig = nullptr;
    QComboBox* cbSearch = nullptr;
    QPushButton* btnSearch = nullptr;
    QPushButton* btnLoad = nullptr;
    QPushButton* btnCancel = nullptr;
    QListView* lbFound = nullptr;
    QListWidget* lbDpk = nullptr;
    QMenu* pmDpk = nullptr;
    QAction* RefreshDPKItem = nullptr;
    QListWidget* lbFavor = nullptr;
    QMenu* pmFavor = nullptr;
    QAction* AddFavorite1 = nullptr;
    QAction* DelFavorite1 = nullptr;
    QPlainTextEdit* edMainPath = nullptr;
    QPlainTextEdit* edExPath = nullptr;
    QComboBox* cbExt = nullptr;
    QPlainTextEdit* mmMain = nullptr;
    QCheckBox* chkMatchAnywhere = nullptr;
    QCheckBox* chkFolderColumn = nullptr;
    QCheckBox* chkOpenSeveral = nullptr;
    QCheckBox* chkStopButton = nullptr;

    // Selects the page ExecuteFindExp opens on.
    void SelectPage(PageType page);

public slots:
    void FormCreate();
    void FormDestroy();
    void FormClose();
    void FormActivate();
    bool FormKeyPress(char key);
    void btnCancelClick();
    // The user picked page Index: what leaving the old page stores (pcChanging,
    // tsConfigExit) and entering the new one does run in the engine.
    void pcChange(int index);
    void pcEnter();
    void tsPackagesEnter();
    void tsFavorEnter();
    void tsConfigExit();
    void edPathDblClick(QPlainTextEdit* sender);
    void RefreshDPKItemClick();
    void lbFilesPackagesDblClick();
    bool lbDpkKeyDown(int key);
    void AddFavorite1Click();
    void DelFavorite1Click();
    void lbFavorDblClick();
    void lbFavorKeyPress(char key);
    void cbSearchChange();
    void btnSearchClick();
    void cbExtClick(int index);
    void btnLoadClick();
    bool cbSearchKeyDown(int key, Qt::KeyboardModifiers modifiers);
    bool cbSearchKeyPress(char key);
    void lbFoundKeyPress(char key);
    // One of the options on the configuration page changed.
    void OptionsClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Esc and the frame's close both go through closeEvent, so FormClose always runs.
    void reject() override;

private:
    void BuildSearchPage();
    void BuildListPages();
    void BuildPathPages();
    void BuildConfigPage();
    // Runs an engine handler behind the slot guard; nothing without an engine.
    template <typename Handler>
    void Run(Handler handler);
    void ShowState(); // the widgets follow the engine
    void ShowFocus(); // the focus goes where the engine put it
    std::vector<int> SelectedFound() const;

    std::unique_ptr<TFindExpEngine> FEngine;
    TFoundListModel* FFoundModel = nullptr;
    TQtFormBounds FBounds{this};
    bool FShowing = false;      // the widgets are being set from the engine
    bool FOpened = false;       // the dialog closes after opening a file
    unsigned FShownFound = ~0u; // the engine's found list the view shows
};

// The dialog, made on first use; none before.
extern TFindExpDlg* FindExpDlg;

// The menu's entry: makes the dialog on first use, selects the page, shows it modally.
// mrOk when the dialog closed after opening a file, mrCancel otherwise (also when the
// dialog could not be made, which is shown in the host's error box).
TModalResult ExecuteFindExp(PageType page);
// Destroys the dialog (the expert's teardown); nothing before its first use.
void DestroyFindExpDlg();

} // namespace vesk
