// The Method Navigator: a small tool window listing the routines the unit in the active
// editor declares, narrowed as the user types, that moves the editor to the body of
// the one picked. A new window is made for each use and frees itself when it closes;
// its place on the screen is kept from one opening to the next.
#pragma once

#include "expert/navigator/MNavExpLogic.h"
#include "platform/ota/HostServices.h"
#include "platform/qt/FormAdapters.h"

#include <QAbstractListModel>
#include <QDialog>

#include <memory>

class QAction;
class QActionGroup;
class QFrame;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;

namespace vesk {

// The entries of the navigator's list, read from its logic as the view asks for them.
class TMethodListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // What a row's delegate draws besides its text.
    enum Role { SpansRole = Qt::UserRole + 1, LineRole };

    explicit TMethodListModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}
    // Logic is not owned; none empties the model.
    void SetLogic(TMNavExpLogic* logic);
    // The logic's entries changed: the view reads them again.
    void Refresh();
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    TMNavExpLogic* FLogic = nullptr;
};

class TMNavExpDlg : public QDialog {
    Q_OBJECT
public:
    // Builds the window and runs FormCreate. The window deletes itself once closed.
    explicit TMNavExpDlg(QWidget* parent = nullptr);
    ~TMNavExpDlg() override;

    // The controls, by the names their objects carry.
    QFrame* plSearch = nullptr;
    QFrame* plEd = nullptr;
    QLineEdit* edFilter = nullptr;
    QFrame* plList = nullptr;
    QListView* lbMethod = nullptr;
    QLabel* plStatus = nullptr; // the selected method's full header, when that option is on
    QMenu* pm = nullptr;
    QAction* StayOnTop1 = nullptr;
    QMenu* Options1 = nullptr;
    QAction* MatchPrefix1 = nullptr;
    QAction* MatchAnywhere1 = nullptr;
    QAction* MatchFuzzy1 = nullptr;
    QAction* LineColumn1 = nullptr;
    QAction* SortByName1 = nullptr;
    QAction* HeaderLine1 = nullptr;
    QAction* OpenAtCaret1 = nullptr;

    // The selected entry, -1 for none; setting -1 clears the selection.
    int ItemIndex() const;
    void SetItemIndex(int index);
    // The method list and the options; none once the window has closed.
    TMNavExpLogic* Logic() const { return FMethodList.get(); }

public slots:
    void FormCreate();
    void FormClose();
    // A character typed anywhere in the window, before the focused control; true when
    // it was consumed.
    bool FormKeyPress(char key);
    void edFilterChange();
    // Moves the selection for Page Up, Page Down, Up and Down (Qt key codes); the edit
    // still gets the key.
    void edFilterKeyDown(int key);
    void lbMethodKeyPress(char key);
    void lbMethodDblClick();
    void plEdResize();
    void StayOnTop1Click();
    // One of the options was picked: the choices are stored and the list redrawn.
    void OptionsClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Esc and the frame's close both go through closeEvent, so FormClose always runs.
    void reject() override;

private:
    void BuildControls();
    void BuildMenu();
    void ShowOptions(); // the menu's marks and the controls follow the options
    void ShowHeader();
    void SelectCaretRoutine();
    void ExtraText(const QString& text); // a character edKeyChar cannot take

    std::unique_ptr<TMNavExpLogic> FMethodList;
    TMethodListModel* FModel = nullptr;
    TQtFormBounds FBounds{this};
};

// The open navigator window, or none.
extern TMNavExpDlg* MNavExpDlg;

// The menu's entry: a new navigator window on the active editor, shown modally; it
// frees itself when it closes. The modal result.
TModalResult ExecuteMNavExp(QWidget* parent = nullptr);
// Frees a navigator window that is still open (the expert's teardown), without storing
// its placement; nothing without one.
void DestroyMNavExpDlg();

} // namespace vesk
