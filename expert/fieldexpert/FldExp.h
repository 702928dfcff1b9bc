// The Field Expert: a three-page wizard that places a caption label and a data-aware
// editor for each chosen field of one of the designed form's data sets. Page 0 picks
// the data set, page 1 the fields (the Create list against the Available list), page 2
// the options; Create generates and closes. The steps live in TFldExpWizard; the
// window shows them and forwards the user's events, each behind the slot guard.
#pragma once

#include "expert/fieldexpert/FldExpWizard.h"
#include "platform/qt/ExtCtrls.h"
#include "platform/qt/FormAdapters.h"
#include "platform/qt/SpeedButton.h"

#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <array>
#include <memory>

namespace vesk {

class TFldExpert : public QDialog {
    Q_OBJECT

public:
    // Parentless, as a window of the application.
    explicit TFldExpert(QWidget* owner = nullptr);
    ~TFldExpert() override;

    // The designed form and the folder of its file; set before anything else.
    void SetDesignForm(TComponent& form, const std::string& folder);
    TComponent* DesignForm() const { return FWizard->DesignForm(); }

    bool ReadDataSet() { return FWizard->ReadDataSet(); }
    void ReadFields() { FWizard->ReadFields(); }
    // The list moves on the window's own lists (lbDataSet, lbField, lbAField).
    void MoveSelected(QListWidget* source, QListWidget* dest);
    int GetFirstSelection(QListWidget* list);
    void SetItem(QListWidget* list, int index);
    void SetButtons() { FWizard->SetButtons(); }
    TFldExpWizard& Wizard() { return *FWizard; }

    // The controls, named after them.
    TNotebook* NB;
    QWidget* Panel1;
    QFrame* Bevel1;
    QPushButton* btCancel;
    QWidget* Panel2;
    QPushButton* bnBack;
    QPushButton* bnNext;
    QPushButton* bnCreate;
    QLabel* Label1;
    QLabel* Label2;
    QListWidget* lbDataSet;
    QLabel* Label4;
    QLabel* Label5;
    QListWidget* lbField;
    TSpeedButton* sbAddField;
    TSpeedButton* sbAddAllField;
    TSpeedButton* sbDelField;
    TSpeedButton* sbDelAllField;
    QListWidget* lbAField;
    QLabel* Label6;
    QCheckBox* cbUseDateEdit;
    QLabel* Label7;
    TRadioGroup* rgLabelPos;
    QLabel* Label8;
    std::array<QLabel*, 8> Images{}; // Image1 to Image8

public slots:
    void FormActivate();
    void NBPageChanged();
    void bnNextClick();
    void bnBackClick();
    void sbAddFieldClick();
    void sbDelFieldClick();
    void sbAddAllFieldClick();
    void sbDelAllFieldClick();
    // Generates and closes; a naming error shows in the host's error box and leaves
    // the wizard open on its last page.
    void bnCreateClick();

protected:
    // The first showing activates the wizard (FormActivate): a return from one of the
    // host's boxes keeps the page the user was on.
    void showEvent(QShowEvent* event) override;

private:
    void BuildPages();
    void BuildButtons();
    void Wire();
    IListBox& ListOf(QListWidget* list);

    struct TAdapters;
    std::unique_ptr<TAdapters> FAdapters; // the engine's view of the controls
    std::unique_ptr<TFldExpWizard> FWizard;
    bool FActivated = false;
};

// The wizard while ExecuteFldExp runs it, else none.
extern TFldExpert* FldExpert;

// Runs the wizard on the form being designed: nothing without one, the error box
// "Must be DBDataSet." when it has no data set of the database engine, else the
// wizard, modally. The wizard is freed on every path.
void ExecuteFldExp();

} // namespace vesk
