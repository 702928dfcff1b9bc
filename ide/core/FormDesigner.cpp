#include "ide/core/FormDesigner.h"

#include "platform/design/LiveObject.h"
#include "platform/design/PropertyEditors.h"

#include <algorithm>
#include <unordered_set>

namespace vesk {

namespace {

void CollectWritten(TComponent* c, std::vector<TComponent*>& out) {
    out.push_back(c);
    for (TComponent* child : c->Children())
        CollectWritten(child, out);
}

bool IsControl(const TComponent& c) {
    return c.ClassInfo() && c.ClassInfo()->IsControl();
}

// Stores an integer only when it differs, so that an untouched line keeps its bytes.
bool SetIntIfChanged(TComponent& c, const std::string& name, std::int64_t value) {
    const TProperty* p = c.FindProperty(name);
    if (p && p->Value.Kind == TValueKind::Integer && p->Value.Int == value)
        return false;
    c.SetInt(name, value);
    return true;
}

struct TBounds {
    std::int64_t Left, Top, Right, Bottom;
};

// Where a component stands on its parent, as the form view draws it.
TBounds DesignBounds(const TComponent& c) {
    const std::int64_t left = c.GetInt("Left"), top = c.GetInt("Top");
    if (!IsControl(c))
        return {left, top, left + DesignIconSize, top + DesignIconSize};
    return {left, top, left + c.GetInt("Width"), top + c.GetInt("Height")};
}

// The bounds' span from left to right (Horizontal), or from top to bottom.
std::pair<std::int64_t, std::int64_t> Span(const TBounds& r, bool horizontal) {
    return horizontal ? std::pair{r.Left, r.Right} : std::pair{r.Top, r.Bottom};
}

// How far apart two spans are (0 when they overlap).
std::int64_t Separation(std::int64_t begin1, std::int64_t end1, std::int64_t begin2,
                        std::int64_t end2) {
    return std::max<std::int64_t>({0, begin2 - end1, begin1 - end2});
}

// Drags the near (left, top) or the far edge of a span by Delta; the other edge stays,
// and the size never goes below 1.
void DragEdge(std::int64_t& start, std::int64_t& size, bool nearEdge, bool farEdge,
              std::int64_t delta) {
    if (nearEdge) {
        const std::int64_t end = start + size;
        size = std::max<std::int64_t>(1, size - delta);
        start = end - size;
    } else if (farEdge) {
        size = std::max<std::int64_t>(1, size + delta);
    }
}

bool IsEmptyValue(const TValue& v) {
    switch (v.Kind) {
    case TValueKind::String:
    case TValueKind::Ident:
        return v.Text.empty();
    case TValueKind::Set:
        return v.Set.empty();
    default:
        return false;
    }
}

// What a form file would hold for a new component: each value its live object starts
// with that is not the stored default (a value without a default is always written,
// unless it is empty), its colour and font only when it does not take its parent's; a
// caption is the component's name. Visible is left out: an object not yet placed on a
// form is not shown, and that is no value of the component; so is the size when the view
// measures it (an object made without a form reads a window's size).
void ApplyCreationValues(TComponent& c, bool sizeMeasured) {
    const TClassInfo* cls = c.ClassInfo();
    if (!cls)
        return;
    const bool hasCaption = cls->FindProp("Caption") != nullptr;
    if (hasCaption)
        c.SetString("Caption", c.Name()); // first, so that a sized-to-fit control fits it
    std::unique_ptr<TLiveObject> live;
    try {
        live = CreateLiveObject(c, nullptr);
    } catch (const Exception&) {
        // A class whose object cannot be made here keeps only its name and place.
    }
    if (!live) {
        if (hasCaption && !IsControl(c))
            c.RemoveProperty("Caption");
        return;
    }
    auto read = [&](const std::string& name) -> std::optional<TValue> {
        try {
            return ReadLiveProperty(*live, name);
        } catch (const Exception&) {
            return std::nullopt;
        }
    };
    auto keep = [&](const TPropInfo& prop, const std::string& name) {
        const std::optional<TValue> value = read(name);
        if (!value)
            return;
        if (prop.Default ? SameValue(prop, *prop.Default, *value) : IsEmptyValue(*value))
            return;
        c.SetValue(name, *value);
    };
    auto isFalse = [&](const char* name) {
        const std::optional<TValue> v = read(name);
        return v && !BooleanValue(*v);
    };
    // A control whose object does not say whether it takes its parent's font has its
    // own when the font differs from what the form stores.
    bool ownFont = isFalse("ParentFont");
    const TComponent* root = &c;
    while (root->Owner())
        root = root->Owner();
    if (!read("ParentFont"))
        for (const char* sub : {"Font.Name", "Font.Height", "Font.Color", "Font.Style"}) {
            const TProperty* stored = root->FindProperty(sub);
            const std::optional<TValue> value = read(sub);
            const TPropInfo* info = cls->FindProp(sub);
            if (stored && value && info && !SameValue(*info, stored->Value, *value))
                ownFont = true;
        }
    const bool ownColor = isFalse("ParentColor");
    for (const TPropInfo* prop : cls->Properties()) {
        if (prop->Kind == TTypeKind::tkMethod || SameText(prop->Name, "Name") ||
            SameText(prop->Name, "Left") || SameText(prop->Name, "Top") ||
            SameText(prop->Name, "Visible") || SameText(prop->Name, "Caption") ||
            (sizeMeasured && (SameText(prop->Name, "Width") || SameText(prop->Name, "Height"))) ||
            (SameText(prop->Name, "Color") && !ownColor))
            continue;
        if (prop->Kind == TTypeKind::tkClass) {
            if (prop->RefersToComponent() || !SameText(prop->Name, "Font") || !ownFont)
                continue;
            // The height stands for the size, as the form file has it.
            if (const TClassInfo* font = TClassRegistry::Instance().Find(prop->TypeName))
                for (const TPropInfo* sub : font->Properties())
                    if (!SameText(sub->Name, "Size"))
                        keep(*sub, prop->Name + "." + sub->Name);
            if (const TPropInfo* parentFont = cls->FindProp("ParentFont"))
                SetModelValue(c, *parentFont, BooleanToValue(false));
            continue;
        }
        keep(*prop, prop->Name);
    }
    // A caption only where the object shows one.
    if (hasCaption && !read("Caption"))
        c.RemoveProperty("Caption");
    // A control that starts too small to be seen or picked (a label not sized to its
    // caption) gets a size one can grab.
    if (IsControl(c) && !sizeMeasured) {
        if (c.GetInt("Width", DesignGrid) < DesignGrid)
            c.SetInt("Width", 100);
        if (c.GetInt("Height", DesignGrid) < DesignGrid)
            c.SetInt("Height", 25);
    }
}

} // namespace

std::vector<TComponent*> WrittenOrder(TComponent* root) {
    std::vector<TComponent*> out;
    if (root)
        CollectWritten(root, out);
    return out;
}

TFormDesigner::TFormDesigner(TFormFile& form) : FForm(form) {
    FSelection = {Root()};
    Capture();
}

// ---- selection

bool TFormDesigner::IsSelected(const TComponent* component) const {
    return std::find(FSelection.begin(), FSelection.end(), component) != FSelection.end();
}

void TFormDesigner::Select(TComponent* component) {
    FSelection = {component ? component : Root()};
}

void TFormDesigner::SetSelection(std::vector<TComponent*> components) {
    std::erase(components, nullptr);
    std::vector<TComponent*> unique;
    for (TComponent* c : components)
        if (std::find(unique.begin(), unique.end(), c) == unique.end())
            unique.push_back(c);
    // The form is not moved or deleted with its components: among several it goes.
    if (unique.size() > 1)
        std::erase(unique, Root());
    FSelection = unique.empty() ? std::vector<TComponent*>{Root()} : std::move(unique);
}

void TFormDesigner::ToggleSelected(TComponent* component) {
    if (!component || component == Root())
        return;
    std::vector<TComponent*> next = FSelection;
    if (IsSelected(component))
        std::erase(next, component);
    else
        next.push_back(component);
    SetSelection(std::move(next));
}

std::vector<TComponent*> TFormDesigner::Movable() const {
    const std::vector<TComponent*> order = WrittenOrder(Root());
    const std::unordered_set<const TComponent*> present(order.begin(), order.end());
    std::unordered_set<const TComponent*> selected;
    for (TComponent* c : FSelection)
        if (c != Root() && present.contains(c))
            selected.insert(c);
    std::vector<TComponent*> out;
    for (TComponent* c : order) {
        if (!selected.contains(c))
            continue;
        bool onSelected = false;
        for (TComponent* p = c->StreamParent(); p && !onSelected; p = p->StreamParent())
            onSelected = selected.contains(p);
        if (!onSelected)
            out.push_back(c);
    }
    return out;
}

// ---- undo states

TFormDesigner::TState TFormDesigner::Capture() {
    TState state;
    state.Text = FForm.Save();
    std::unordered_map<const TComponent*, std::uint64_t> ids;
    for (TComponent* c : WrittenOrder(Root())) {
        const auto it = FIds.find(c);
        const std::uint64_t id = it != FIds.end() ? it->second : FNextId++;
        ids.emplace(c, id);
        state.Ids.push_back(id);
    }
    FIds = std::move(ids);
    for (TComponent* c : FSelection)
        if (const auto it = FIds.find(c); it != FIds.end())
            state.Selected.push_back(it->second);
    return state;
}

void TFormDesigner::Restore(const TState& state) {
    std::unique_ptr<TFormFile> restored = TFormFile::Parse(state.Text);
    const std::vector<TComponent*> order = WrittenOrder(restored->Root());
    std::unordered_map<std::uint64_t, const TComponent*> oldById;
    for (const auto& [component, id] : FIds)
        oldById.emplace(id, component);
    std::unordered_map<std::uint64_t, TComponent*> newById;
    std::unordered_map<const TComponent*, std::uint64_t> ids;
    std::vector<TComponentReplacement> replaced;
    for (std::size_t i = 0; i < order.size() && i < state.Ids.size(); ++i) {
        ids.emplace(order[i], state.Ids[i]);
        newById.emplace(state.Ids[i], order[i]);
        if (const auto it = oldById.find(state.Ids[i]); it != oldById.end())
            replaced.emplace_back(it->second, order[i]);
    }
    // The selection as it was in that state.
    std::vector<TComponent*> selection;
    for (std::uint64_t id : state.Selected)
        if (const auto now = newById.find(id); now != newById.end())
            selection.push_back(now->second);

    FForm.FRoot = std::move(restored->FRoot);
    FForm.FFormat = restored->FFormat;
    FForm.FLeading = std::move(restored->FLeading);
    FForm.FTrailer = std::move(restored->FTrailer);
    FForm.FEol = std::move(restored->FEol);
    FForm.FResHeader = std::move(restored->FResHeader);
    FForm.FResDataSize = restored->FResDataSize;
    restored.reset(); // the replaced components go with it
    FIds = std::move(ids);
    SetSelection(std::move(selection));
    if (OnReplaced)
        OnReplaced(replaced);
}

void TFormDesigner::CheckOutsideChange() {
    if (FUndo.empty() && FRedo.empty())
        return;
    const std::string now = FForm.Save();
    if ((!FUndo.empty() && FUndo.back().After.Text != now) ||
        (!FRedo.empty() && FRedo.back().Before.Text != now)) {
        FUndo.clear();
        FRedo.clear();
    }
}

bool TFormDesigner::Record(TState before, const std::vector<TComponent*>& selectAfter) {
    SetSelection(selectAfter);
    TState after = Capture();
    if (after.Text == before.Text)
        return false;
    FUndo.push_back({std::move(before), std::move(after)});
    FRedo.clear();
    if (OnChange)
        OnChange();
    return true;
}

bool TFormDesigner::Modify(const std::function<void()>& edit) {
    CheckOutsideChange();
    TState before = Capture();
    try {
        edit();
    } catch (...) {
        if (FForm.Save() != before.Text)
            Restore(before);
        throw;
    }
    std::vector<TComponent*> selection = FSelection;
    const std::vector<TComponent*> order = WrittenOrder(Root());
    std::erase_if(selection, [&](TComponent* c) {
        return std::find(order.begin(), order.end(), c) == order.end();
    });
    return Record(std::move(before), selection);
}

bool TFormDesigner::Replay(std::vector<TStep>& from, std::vector<TStep>& to, bool back) {
    CheckOutsideChange();
    if (from.empty())
        return false;
    TStep step = std::move(from.back());
    from.pop_back();
    Restore(back ? step.Before : step.After);
    to.push_back(std::move(step));
    if (OnChange)
        OnChange();
    return true;
}

bool TFormDesigner::Undo() {
    return Replay(FUndo, FRedo, true);
}

bool TFormDesigner::Redo() {
    return Replay(FRedo, FUndo, false);
}

// ---- operations

bool TFormDesigner::MoveBy(int dx, int dy) {
    if (dx == 0 && dy == 0)
        return false;
    return Modify([&] {
        for (TComponent* c : Movable()) {
            SetIntIfChanged(*c, "Left", c->GetInt("Left") + dx);
            SetIntIfChanged(*c, "Top", c->GetInt("Top") + dy);
        }
    });
}

bool TFormDesigner::ResizeBy(unsigned edges, int dx, int dy) {
    return Modify([&] {
        for (TComponent* c : Movable()) {
            if (!IsControl(*c))
                continue;
            std::int64_t left = c->GetInt("Left"), top = c->GetInt("Top");
            std::int64_t width = c->GetInt("Width"), height = c->GetInt("Height");
            DragEdge(left, width, edges & deLeft, edges & deRight, dx);
            DragEdge(top, height, edges & deTop, edges & deBottom, dy);
            SetIntIfChanged(*c, "Left", left);
            SetIntIfChanged(*c, "Top", top);
            SetIntIfChanged(*c, "Width", width);
            SetIntIfChanged(*c, "Height", height);
        }
    });
}

bool TFormDesigner::Arrow(TDesignArrow arrow, bool ctrl, bool shift) {
    const int dx = arrow == TDesignArrow::Left ? -1 : arrow == TDesignArrow::Right ? 1 : 0;
    const int dy = arrow == TDesignArrow::Up ? -1 : arrow == TDesignArrow::Down ? 1 : 0;
    if (ctrl && shift)
        return MoveBy(dx * DesignGrid, dy * DesignGrid);
    if (ctrl)
        return MoveBy(dx, dy);
    if (shift)
        return ResizeBy(deRight | deBottom, dx, dy);
    if (TComponent* next = Neighbour(arrow))
        Select(next);
    return false;
}

TComponent* TFormDesigner::Neighbour(TDesignArrow arrow) const {
    TComponent* from = FSelection.front();
    if (from == Root() || !from->StreamParent())
        return nullptr;
    const TBounds a = DesignBounds(*from);
    const bool horizontal = arrow == TDesignArrow::Left || arrow == TDesignArrow::Right;
    const bool forward = arrow == TDesignArrow::Right || arrow == TDesignArrow::Down;
    TComponent* nearest = nullptr;
    std::int64_t nearestScore = 0;
    for (TComponent* c : from->StreamParent()->Children()) {
        if (c == from || c->Name().empty())
            continue;
        const TBounds b = DesignBounds(*c);
        // Gap: along the arrow, from the selected one to this one (below 0: not that
        // way); aside: across it.
        const auto [aFrom, aTo] = Span(a, horizontal);
        const auto [bFrom, bTo] = Span(b, horizontal);
        const std::int64_t gap = forward ? bFrom - aTo : aFrom - bTo;
        const auto [aSideFrom, aSideTo] = Span(a, !horizontal);
        const auto [bSideFrom, bSideTo] = Span(b, !horizontal);
        const std::int64_t aside = Separation(aSideFrom, aSideTo, bSideFrom, bSideTo);
        if (gap < 0)
            continue;
        const std::int64_t score = gap * gap + 4 * aside * aside;
        if (!nearest || score < nearestScore) {
            nearest = c;
            nearestScore = score;
        }
    }
    return nearest;
}

bool TFormDesigner::DeleteSelection() {
    const std::vector<TComponent*> victims = Movable();
    if (victims.empty())
        return false;
    CheckOutsideChange();
    TState before = Capture();
    for (TComponent* c : victims)
        c->Free();
    FSelection = {Root()};
    return Record(std::move(before), {Root()});
}

std::string TFormDesigner::CopySelection() const {
    std::string text;
    for (const TComponent* c : Movable())
        text += WriteTextObject(*c, 0, FForm.FEol);
    return text;
}

std::string TFormDesigner::CutSelection() {
    std::string text = CopySelection();
    DeleteSelection();
    return text;
}

std::string TFormDesigner::FreeName(const std::string& className) const {
    std::string base = className;
    if (base.size() > 1 && (base[0] == 'T' || base[0] == 't'))
        base.erase(0, 1);
    for (int n = 1;; ++n) {
        std::string name = base + IntToStr(n);
        if (!Root()->FindComponent(name) && !SameText(Root()->Name(), name))
            return name;
    }
}

TComponent* TFormDesigner::CloneInto(const TComponent& source, TComponent* parent,
                                     std::vector<std::pair<TComponent*, const TComponent*>>& made) {
    auto* c = new TComponent(source.ClassName(), Root());
    const std::string& wanted = source.Name();
    c->SetName(IsValidIdent(wanted) && !Root()->FindComponent(wanted) &&
                       !SameText(Root()->Name(), wanted)
                   ? wanted
                   : FreeName(source.ClassName()));
    for (int i = 0; i < source.PropertyCount(); ++i) {
        TProperty p = source.Properties(i);
        p.Raw.clear();
        p.RefNameAsRead.clear();
        p.Dirty = true;
        c->AddReadProperty(std::move(p));
    }
    if (IsControl(*c))
        c->SetParent(parent);
    else if (parent != Root())
        c->MoveIntoAsRead(parent);
    made.emplace_back(c, &source);
    for (const TComponent* child : source.Children())
        CloneInto(*child, c, made);
    return c;
}

std::vector<TComponent*> TFormDesigner::Paste(const std::string& text) {
    const std::string eol = FForm.FEol;
    std::unique_ptr<TFormFile> clip =
        TFormFile::Parse("object VeskClipboard: TForm" + eol + text + eol + "end" + eol);
    if (clip->Root()->Children().empty())
        throw EFormError("There are no components to paste");
    TComponent* parent = Root();
    const std::vector<TComponent*> movable = Movable();
    if (movable.size() == 1 && movable[0]->ClassInfo() &&
        movable[0]->ClassInfo()->AcceptsControls())
        parent = movable[0];
    std::vector<TComponent*> pasted;
    Modify([&] {
        std::vector<std::pair<TComponent*, const TComponent*>> made;
        for (const TComponent* source : clip->Root()->Children())
            pasted.push_back(CloneInto(*source, parent, made));
        std::unordered_map<const TComponent*, TComponent*> copyOf;
        for (const auto& [copy, source] : made)
            copyOf.emplace(source, copy);
        for (const auto& [copy, source] : made) {
            for (int i = 0; i < source->PropertyCount(); ++i) {
                const TProperty& p = source->Properties(i);
                const TPropInfo* info =
                    copy->ClassInfo() ? copy->ClassInfo()->FindProp(p.Name) : nullptr;
                if (!p.Ref && !(info && info->RefersToComponent() && p.Value.IsIdent()))
                    continue;
                TComponent* target = nullptr;
                if (const auto it = copyOf.find(p.Ref); p.Ref && it != copyOf.end())
                    target = it->second;
                else
                    target = Root()->FindComponent(p.Ref ? p.Ref->Name() : p.Value.Text);
                copy->SetRef(p.Name, target);
            }
        }
        SetSelection(pasted);
    });
    return pasted;
}

TComponent* TFormDesigner::Drop(const TClassInfo& classInfo, int x, int y, TComponent* parent) {
    if (!parent)
        parent = Root();
    TComponent* made = nullptr;
    Modify([&] {
        auto* c = new TComponent(classInfo.ClassName(), Root());
        made = c;
        c->SetName(FreeName(classInfo.ClassName()));
        c->SetInt("Left", x);
        c->SetInt("Top", y);
        ApplyCreationValues(*c, OnMeasure != nullptr);
        if (OnMeasure && IsControl(*c))
            if (const auto size = OnMeasure(*c)) {
                c->SetInt("Width", size->first);
                c->SetInt("Height", size->second);
            }
        if (IsControl(*c))
            c->SetParent(parent);
        SetSelection({c});
    });
    return made;
}

bool TFormDesigner::Rename(TComponent* component, const std::string& name) {
    if (!component || component->Name() == name)
        return false;
    return Modify([&] { component->SetName(name); });
}

} // namespace vesk
