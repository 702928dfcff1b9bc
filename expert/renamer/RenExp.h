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

// The menu's entry: "Run Renamer Expert?" in the host's plain message box, then the
// form being designed (none: nothing more happens), then the renaming. With the
// summary option on, a second box tells what was renamed and what kept its name, and
// why.
void ExecuteRenamer();

// The summary option, kept in the settings store under the add-in's root (key
// "Component Renamer", value "ShowSummary", "1" for on); off unless set.
inline constexpr const char* RenamerSettingsKey =
    "Software\\Borland\\Delphi\\Makory\\Component Renamer";
bool RenamerSummaryEnabled();
void SetRenamerSummaryEnabled(bool enabled);

// The summary's text: a count, then a line per control.
std::string RenamerSummary(const std::vector<TRenameOutcome>& outcomes);

} // namespace vesk
