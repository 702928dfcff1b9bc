// The Component Renamer: names the data-aware edit controls of the designed form
// after the database field each one shows ("ed" + DataField).
#pragma once

#include "platform/forms/Component.h"

#include <string>
#include <vector>

namespace vesk {

// What happened to one data-aware control.
struct TRenameOutcome {
    TComponent* Component = nullptr;
    std::string OldName;
    std::string NewName;
    bool Renamed = false; // false: kept its name, Reason says why
    std::string Reason;
};

// A control the renamer names: a TDBEdit, a TDBDateEdit or a TDBCheckBox.
bool IsRenamedClass(const TComponent& component);

// Renames every data-aware edit control the form owns, in component order; a name
// the host refuses leaves that control as it was and the next one is taken.
std::vector<TRenameOutcome> RenameDataControls(TComponent& form);

// The renamer's whole run on the form the designer shows (none: nothing to rename):
// it shows "Run Renamer Expert?" first, in every case, in the host's plain message box.
std::vector<TRenameOutcome> RunRenamer(TComponent* form);

} // namespace vesk
