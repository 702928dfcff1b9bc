// The Field Expert wizard without its window: the page flow of its three pages (data
// set, fields, options), the two field lists and the moves between them, and the
// enabled and shown state of its buttons. It works on the window's controls through
// the control interfaces, so the same steps run on Qt widgets and on plain models.
#pragma once

#include "expert/fieldexpert/FldExpLogic.h"
#include "platform/controls/ControlIntf.h"

#include <memory>
#include <string>

namespace vesk {

enum TFldExpPage { pgDataSet = 0, pgFields = 1, pgOptions = 2 };

// The wizard's controls the engine reads and sets (the window owns them).
struct TFldExpControls {
    INotebook& NB;
    IListBox& lbDataSet;
    IListBox& lbField;  // the Create list: the fields to generate controls for
    IListBox& lbAField; // the Available list: the fields left out
    IControl& sbAddField;
    IControl& sbAddAllField;
    IControl& sbDelField;
    IControl& sbDelAllField;
    IControl& bnNext;
    IControl& bnCreate;
};

class TFldExpWizard {
public:
    explicit TFldExpWizard(const TFldExpControls& controls) : C(controls) {}

    // The designed form, and the folder of its file (for relative database names);
    // set before anything else.
    void SetDesignForm(TComponent& form, const std::string& folder);
    TComponent* DesignForm() const { return FLogic ? FLogic->DesignForm : nullptr; }
    // The generation on the designed form; raises Exception before SetDesignForm.
    TFieldExpertLogic& Logic() const;

    // Fills the data set list; true when it holds a line. The first line is selected.
    bool ReadDataSet();
    // On every entry to the field page: both lists emptied, the data set of the
    // selected line opened and all its fields put in the Create list; the buttons
    // follow the lists, also when the data set cannot be opened (the error passes on).
    void ReadFields();

    // Moves the selected items of Source, with their objects, to Dest (last first).
    static void MoveSelected(IListBox& source, IListBox& dest);
    // The lowest selected index, or -1.
    static int GetFirstSelection(const IListBox& list);
    // Focuses List and selects the item at Index, or the nearest one there is (0 for
    // -1, the last one past the end; none in an empty list); then SetButtons.
    void SetItem(IListBox& list, int index);
    // "<" and "<<" while the Available list has items, ">" and ">>" while the Create
    // list has, Next while the Create list has.
    void SetButtons();

    // The handlers.
    void FormActivate();  // Create takes Next's place; the data set page is shown
    void NBPageChanged(); // Next or Create shown as the page asks; the field page read
    void bnNextClick();
    void bnBackClick();
    void sbAddFieldClick();
    void sbDelFieldClick();
    void sbAddAllFieldClick();
    void sbDelAllFieldClick();
    // Generates a label and an editor for each field of the Create list, in its order,
    // with the options of the last page; a naming error passes on with what was made
    // before it left on the form. The window closes after a run that did not raise.
    void bnCreateClick(bool useDateEdit, int labelPos);

private:
    static void MoveAll(IListBox& source, IListBox& dest);

    TFldExpControls C;
    std::unique_ptr<TFieldExpertLogic> FLogic;
};

} // namespace vesk
