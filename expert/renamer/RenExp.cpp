#include "expert/renamer/RenExp.h"

#include "platform/ota/HostServices.h"

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

} // namespace vesk
