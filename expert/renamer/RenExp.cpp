#include "expert/renamer/RenExp.h"

#include "expert/frame/ComExp.h"
#include "platform/ota/HostServices.h"
#include "platform/registry/Registry.h"

namespace vesk {

bool IsRenamedClass(const TComponent& component) {
    return component.InheritsFrom("TDBEdit") || component.InheritsFrom("TDBDateEdit") ||
           component.InheritsFrom("TDBCheckBox");
}

std::vector<TRenameOutcome> RenameDataControls(TComponent& form) {
    std::vector<TRenameOutcome> outcomes;
    for (int i = 0; i < form.ComponentCount(); ++i) {
        TComponent* c = form.Components(i);
        if (!IsRenamedClass(*c))
            continue;
        TRenameOutcome o;
        o.Component = c;
        o.OldName = c->Name();
        o.NewName = "ed" + c->GetString("DataField");
        try {
            c->SetName(o.NewName);
            o.Renamed = o.NewName != o.OldName;
            if (!o.Renamed)
                o.Reason = "already named after its field";
        } catch (const EComponentError& e) {
            o.Reason = e.Message();
        }
        outcomes.push_back(std::move(o));
    }
    return outcomes;
}

std::vector<TRenameOutcome> RunRenamer(TComponent* form) {
    HostServices().ShowMessage("Run Renamer Expert?");
    if (!form)
        return {};
    return RenameDataControls(*form);
}

void ExecuteRenamer() {
    HostServices().ShowMessage("Run Renamer Expert?");
    TComponent* form = GetActiveForm();
    if (!form)
        return;
    const std::vector<TRenameOutcome> outcomes = RenameDataControls(*form);
    if (RenamerSummaryEnabled())
        HostServices().ShowMessage(RenamerSummary(outcomes));
}

bool RenamerSummaryEnabled() {
    TRegistry reg(HostServices().SettingsStore());
    if (!reg.OpenKey(RenamerSettingsKey, false))
        return false;
    return reg.ReadString("ShowSummary") == "1";
}

void SetRenamerSummaryEnabled(bool enabled) {
    TRegistry reg(HostServices().SettingsStore());
    reg.OpenKey(RenamerSettingsKey, true);
    reg.WriteString("ShowSummary", enabled ? "1" : "0");
}

std::string RenamerSummary(const std::vector<TRenameOutcome>& outcomes) {
    if (outcomes.empty())
        return "No data-aware edit controls on the form: nothing was renamed.";
    int renamed = 0;
    std::string lines;
    for (const TRenameOutcome& o : outcomes) {
        if (o.Renamed) {
            ++renamed;
            lines += "\n" + o.OldName + " -> " + o.NewName;
        } else {
            lines += "\n" + o.OldName + " kept its name: " + o.Reason;
        }
    }
    return "Renamed " + IntToStr(renamed) + " of " + IntToStr(std::int64_t(outcomes.size())) +
           " data-aware edit controls." + lines;
}

} // namespace vesk
