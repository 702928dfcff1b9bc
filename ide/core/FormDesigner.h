// What the form designer does to a designed form, on its component model: the
// selection, moving and resizing, deleting, copying and pasting as form text, dropping
// a class from the palette, edits through the property editors, and undo and redo.
// Every operation changes the model first and is one undo step; what it did not touch
// is written back byte for byte. No widgets: the form view shows the model and forwards
// the user's mouse and keys here.
#pragma once

#include "platform/forms/FormFile.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vesk {

class TClassInfo;

// Sides of a component's bounds a resize drags.
enum TDesignEdge : unsigned { deLeft = 1, deTop = 2, deRight = 4, deBottom = 8 };

enum class TDesignArrow { Left, Right, Up, Down };

// The designer's grid: Ctrl+Shift+arrow moves by it.
constexpr int DesignGrid = 8;
// The side of the square a component that is not a control (a table, a data source)
// takes on the designed form at its Left and Top.
constexpr int DesignIconSize = 28;

// A component the designer replaced by an equal one (undo and redo rebuild the model
// from its saved text): Before is gone, compared only, never read.
using TComponentReplacement = std::pair<const TComponent*, const TComponent*>;

class TFormDesigner {
public:
    // Designs Form, which the caller owns and keeps alive longer than the designer.
    explicit TFormDesigner(TFormFile& form);

    TFormFile& Form() const { return FForm; }
    TComponent* Root() const { return FForm.Root(); }

    // ---- selection: never empty; the form itself when nothing else is selected.
    const std::vector<TComponent*>& Selection() const { return FSelection; }
    bool IsSelected(const TComponent* component) const;
    // Selects Component alone (none: the form).
    void Select(TComponent* component);
    // Selects these (the form when the list is empty or the form is among several).
    void SetSelection(std::vector<TComponent*> components);
    // Shift-click: adds Component to the selection or takes it out.
    void ToggleSelected(TComponent* component);

    // ---- operations; each returns whether the model changed.
    // Moves the selected components (not the form) by Dx, Dy.
    bool MoveBy(int dx, int dy);
    // Drags the Edges (TDesignEdge bits) of the selected controls by Dx, Dy; a size
    // never goes below 1.
    bool ResizeBy(unsigned edges, int dx, int dy);
    // The arrow keys: Ctrl moves by a pixel, Shift resizes by a pixel, Ctrl+Shift moves
    // by the grid; a plain arrow selects the Neighbour that way (the selection as it was
    // when there is none), which changes no model: false.
    bool Arrow(TDesignArrow arrow, bool ctrl, bool shift);
    // The component a plain arrow goes to from the (first) selected one: among those
    // placed on the same parent, the nearest whose bounds lie wholly that way; one in
    // line counts nearer than one aside at the same distance. None when only the form is
    // selected or nothing lies that way.
    TComponent* Neighbour(TDesignArrow arrow) const;
    // Frees the selected components (the form stays); the form is selected after.
    bool DeleteSelection();
    // The selected components (with what is placed on them) as form text; empty when
    // only the form is selected.
    std::string CopySelection() const;
    // Copies, then deletes; returns the copied text.
    std::string CutSelection();
    // Adds the components of Text (objects as CopySelection writes them) to the form,
    // each under its own name when that is free, else the next free name of its class;
    // references among them follow their new names, others keep naming the form's
    // components of that name or are dropped. The pasted components are selected.
    // EFormError for text that is not form objects (the model is left as it was).
    std::vector<TComponent*> Paste(const std::string& text);
    // A new component of the class, named with the next free name, holding what a form
    // file would store for a new one (its values that differ from the stored defaults,
    // its caption its name), at X, Y on Parent (none: the form). It is selected.
    TComponent* Drop(const TClassInfo& classInfo, int x, int y, TComponent* parent = nullptr);
    // Renames Component; EComponentError for an invalid or taken name (nothing changes).
    bool Rename(TComponent* component, const std::string& name);
    // Runs an edit of the model (a property editor's SetValue) as one undo step. An
    // edit that raises leaves the model as it was before, and the error goes on.
    bool Modify(const std::function<void()>& edit);

    bool CanUndo() const { return !FUndo.empty(); }
    bool CanRedo() const { return !FRedo.empty(); }
    bool Undo();
    bool Redo();

    // The next free name for a component of the class: its name without the leading
    // T and the first number no component of the form has ("LabelEffect1").
    std::string FreeName(const std::string& className) const;

    // The size a new control takes on the form (its widget's own, grown to show its
    // caption), as the view measures it; a dropped control gets it. None: the size its
    // live object reads.
    std::function<std::optional<std::pair<int, int>>(const TComponent&)> OnMeasure;
    // After every change of the model made here.
    std::function<void()> OnChange;
    // After undo or redo rebuilt the model: the components now standing for the old
    // ones (those who key things by component follow them, as the unit's fields do).
    std::function<void(const std::vector<TComponentReplacement>&)> OnReplaced;

private:
    struct TState {
        std::string Text;
        std::vector<std::uint64_t> Ids; // of the components in written order
        std::vector<std::uint64_t> Selected;
    };
    struct TStep {
        TState Before;
        TState After;
    };
    TState Capture();
    void Restore(const TState& state);
    // Drops the steps when the model changed outside the designer since the last one,
    // as undoing past that change would lose it.
    void CheckOutsideChange();
    bool Record(TState before, const std::vector<TComponent*>& selectAfter);
    // Undo (Back: to the state before the step) or redo: the last step of From goes
    // to To.
    bool Replay(std::vector<TStep>& from, std::vector<TStep>& to, bool back);
    // The selection without the form and without components placed on another selected
    // one (they move and go with it).
    std::vector<TComponent*> Movable() const;
    TComponent* CloneInto(const TComponent& source, TComponent* parent,
                          std::vector<std::pair<TComponent*, const TComponent*>>& made);

    TFormFile& FForm;
    std::vector<TComponent*> FSelection;
    std::unordered_map<const TComponent*, std::uint64_t> FIds;
    std::uint64_t FNextId = 1;
    std::vector<TStep> FUndo;
    std::vector<TStep> FRedo;
};

// The components of the form in written order: the form first, then what is nested in
// each object, depth first.
std::vector<TComponent*> WrittenOrder(TComponent* root);

} // namespace vesk
