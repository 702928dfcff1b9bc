#include "platform/forms/Component.h"

#include <algorithm>
#include <array>

namespace vesk {

bool IsValidIdent(std::string_view name) {
    auto alpha = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    };
    if (name.empty() || !alpha(name[0]))
        return false;
    return std::all_of(name.begin() + 1, name.end(),
                       [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

bool TProperty::Unchanged() const {
    return !Dirty && (Ref == nullptr || Ref->Name() == RefNameAsRead);
}

TComponent::TComponent(std::string className, TComponent* owner)
    : FClassName(std::move(className)), FClassInfo(FindClassInfo(FClassName)), FOwner(owner) {
    if (owner) {
        owner->FComponents.emplace_back(this);
        // Until it gets a parent, a component is written among its owner's objects.
        FStreamParent = owner;
        owner->FChildren.push_back(this);
    }
}

TComponent::~TComponent() {
    // Owned components go first, newest first, as the host frees them.
    FNameIndex.clear();
    while (!FComponents.empty()) {
        std::unique_ptr<TComponent> last = std::move(FComponents.back());
        FComponents.pop_back();
        last->FOwner = nullptr;
        last.reset();
    }
    Detach();
}

void TComponent::Detach() {
    if (FStreamParent) {
        // Searched from the back: a component being read was added last.
        auto& siblings = FStreamParent->FChildren;
        const auto it = std::find(siblings.rbegin(), siblings.rend(), this);
        if (it != siblings.rend())
            siblings.erase(std::next(it).base());
        FStreamParent = nullptr;
    }
    for (TComponent* child : FChildren)
        child->FStreamParent = nullptr, child->FParent = nullptr;
    FChildren.clear();
}

bool TComponent::InheritsFrom(std::string_view className) const {
    if (SameText(FClassName, className))
        return true;
    return FClassInfo && FClassInfo->InheritsFrom(className);
}

void TComponent::SetName(const std::string& name) {
    if (name == FName)
        return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError("'" + name + "' is not a valid component name");
    if (FOwner && !SameText(name, FName)) {
        TComponent* other = FOwner->FindComponent(name);
        if (other && other != this)
            throw EComponentError("A component named " + name + " already exists");
    }
    ChangeName(name);
}

void TComponent::AssignNameAsRead(std::string name) {
    ChangeName(std::move(name));
}

void TComponent::ChangeName(std::string name) {
    if (FOwner)
        FOwner->UnindexName(this);
    FName = std::move(name);
    if (FOwner)
        FOwner->IndexName(this);
}

void TComponent::IndexName(TComponent* component) {
    if (!component->FName.empty())
        FNameIndex.emplace(UpperCase(component->FName), component);
}

void TComponent::UnindexName(TComponent* component) {
    if (component->FName.empty())
        return;
    auto [first, last] = FNameIndex.equal_range(UpperCase(component->FName));
    for (auto it = first; it != last; ++it)
        if (it->second == component) {
            FNameIndex.erase(it);
            return;
        }
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return FComponents[index].get();
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty())
        return nullptr;
    auto [first, last] = FNameIndex.equal_range(UpperCase(name));
    if (first == last)
        return nullptr;
    if (std::next(first) == last)
        return first->second;
    // Several of that name, as a file may hold them: the first in component order.
    for (const auto& c : FComponents)
        if (SameText(c->FName, name))
            return c.get();
    return nullptr;
}

TComponent* TComponent::Root() {
    TComponent* r = this;
    while (r->FOwner)
        r = r->FOwner;
    return r;
}

void TComponent::DropReferencesTo(const TComponent* target) {
    std::erase_if(FProps, [&](const TProperty& p) { return p.Ref == target; });
    for (const auto& c : FComponents)
        c->DropReferencesTo(target);
}

void TComponent::Free() {
    if (!FOwner)
        throw EComponentError("The form itself cannot be freed");
    // Controls placed on it, and fields nested in a data set, go with it.
    while (!FChildren.empty())
        FChildren.back()->Free();
    TComponent* root = Root();
    // Whoever refers to this component or to one it owns forgets it.
    std::vector<const TComponent*> dying{this};
    for (std::size_t i = 0; i < dying.size(); ++i)
        for (const auto& c : dying[i]->FComponents)
            dying.push_back(c.get());
    for (const TComponent* d : dying)
        root->DropReferencesTo(d);
    FOwner->UnindexName(this);
    auto& list = FOwner->FComponents;
    auto it =
        std::find_if(list.begin(), list.end(), [&](const auto& p) { return p.get() == this; });
    std::unique_ptr<TComponent> self = std::move(*it);
    list.erase(it);
    // self goes out of scope here and deletes this component
}

void TComponent::SetParent(TComponent* parent) {
    if (parent == FParent)
        return;
    if (parent == this)
        throw EComponentError("A control cannot have itself as its parent");
    Detach();
    FParent = parent;
    TComponent* streamParent = parent ? parent : FOwner;
    if (streamParent) {
        FStreamParent = streamParent;
        streamParent->FChildren.push_back(this);
    }
}

void TComponent::MoveIntoAsRead(TComponent* enclosing) {
    Detach();
    FStreamParent = enclosing;
    enclosing->FChildren.push_back(this);
    // Non-visual components and fields nest in their form or data set without a parent.
    if (!FClassInfo || FClassInfo->IsControl())
        FParent = enclosing;
}

TProperty& TComponent::AddReadProperty(TProperty prop) {
    FProps.push_back(std::move(prop));
    return FProps.back();
}

const TProperty* TComponent::FindProperty(std::string_view name) const {
    for (const TProperty& p : FProps)
        if (SameText(p.Name, name))
            return &p;
    return nullptr;
}

std::int64_t TComponent::GetInt(std::string_view name, std::int64_t defaultValue) const {
    const TProperty* p = FindProperty(name);
    return p && p->Value.Kind == TValueKind::Integer ? p->Value.Int : defaultValue;
}

std::string TComponent::GetString(std::string_view name) const {
    const TProperty* p = FindProperty(name);
    if (!p)
        return {};
    if (p->Ref)
        return p->Ref->Name();
    if (p->Value.Kind == TValueKind::String || p->Value.Kind == TValueKind::Ident)
        return p->Value.Text;
    return {};
}

TComponent* TComponent::GetRef(std::string_view name) const {
    const TProperty* p = FindProperty(name);
    return p ? p->Ref : nullptr;
}

namespace {

// The order the designer writes the properties the add-in sets.
int PropRank(std::string_view name) {
    static constexpr std::array<std::string_view, 12> order{
        "Left",    "Top",       "Width",      "Height",  "Alignment",    "AutoSize",
        "Caption", "DataField", "DataSource", "DataSet", "FocusControl", "TabOrder"};
    for (std::size_t i = 0; i < order.size(); ++i)
        if (SameText(order[i], name))
            return static_cast<int>(i);
    return -1;
}

} // namespace

void TComponent::SetValue(const std::string& name, TValue value) {
    for (TProperty& p : FProps)
        if (SameText(p.Name, name)) {
            p.Value = std::move(value);
            p.Ref = nullptr;
            p.Dirty = true;
            return;
        }
    TProperty prop;
    prop.Name = name;
    prop.Value = std::move(value);
    auto at = FProps.end();
    if (int rank = PropRank(name); rank >= 0)
        at = std::find_if(FProps.begin(), FProps.end(),
                          [&](const TProperty& p) { return PropRank(p.Name) > rank; });
    FProps.insert(at, std::move(prop));
}

void TComponent::SetRef(const std::string& name, TComponent* target) {
    if (!target) {
        RemoveProperty(name);
        return;
    }
    SetValue(name, TValue::Ident(target->Name()));
    for (TProperty& p : FProps)
        if (SameText(p.Name, name))
            p.Ref = target;
}

void TComponent::RemoveProperty(std::string_view name) {
    std::erase_if(FProps, [&](const TProperty& p) { return SameText(p.Name, name); });
}

} // namespace vesk
