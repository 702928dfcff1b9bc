#include "platform/design/PropertyEditors.h"

#include "platform/forms/Component.h"
#include "platform/graphics/Graphics.h"

#include <algorithm>

namespace vesk {

// ---- the component model's side

TValue GetModelValue(const TComponent& component, const TPropInfo& prop) {
    if (const TProperty* stored = component.FindProperty(prop.Name)) {
        if (stored->Ref)
            return TValue::Ident(stored->Ref->Name());
        return stored->Value;
    }
    return prop.Default ? *prop.Default : ZeroValue(prop);
}

namespace {

// The form a component belongs to, where references are looked up.
const TComponent& Scope(const TComponent& component) {
    return component.Owner() ? *component.Owner() : component;
}

} // namespace

void SetModelValue(TComponent& component, const TPropInfo& prop, const TValue& value) {
    if (prop.RefersToComponent()) {
        const std::string name = value.Text;
        if (name.empty()) {
            component.RemoveProperty(prop.Name);
            return;
        }
        const TComponent& scope = Scope(component);
        TComponent* target = scope.FindComponent(name);
        if (!target && SameText(scope.Name(), name))
            target = const_cast<TComponent*>(&scope);
        if (!target)
            throw EPropertyError("Invalid property value: no component named '" + name + "'");
        component.SetRef(prop.Name, target);
        return;
    }
    if (IsDefaultValue(prop, value))
        component.RemoveProperty(prop.Name);
    else
        component.SetValue(prop.Name, value);
}

// ---- TPropertyEditor

TPropertyEditor::TPropertyEditor(std::vector<TComponent*> components, const TPropInfo& prop)
    : FComponents(std::move(components)), FProp(&prop) {
    if (FComponents.empty())
        throw EArgumentError("A property editor needs a component to edit");
}

TComponent* TPropertyEditor::GetComponent(int index) const {
    if (index < 0 || index >= PropCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return FComponents[index];
}

TValue TPropertyEditor::GetModelValue(int index) const {
    return vesk::GetModelValue(*GetComponent(index), *FProp);
}

void TPropertyEditor::SetModelValue(const TValue& value) {
    for (TComponent* c : FComponents)
        vesk::SetModelValue(*c, *FProp, value);
}

std::string TPropertyEditor::GetValue() const {
    return ValueText(GetModelValue());
}

void TPropertyEditor::SetValue(const std::string& value) {
    SetModelValue(ValueFromText(*FProp, value)); // the text is checked before any change
}

void TPropertyEditor::GetValues(const TGetStrProc&) {}

bool TPropertyEditor::AllEqual() const {
    const TValue first = GetModelValue();
    for (int i = 1; i < PropCount(); ++i)
        if (!SameValue(*FProp, first, GetModelValue(i)))
            return false;
    return true;
}

void TEnumProperty::GetValues(const TGetStrProc& proc) {
    for (const std::string& name : GetPropInfo().Names)
        proc(name);
}

void TComponentProperty::GetValues(const TGetStrProc& proc) {
    const TComponent& scope = Scope(*GetComponent(0));
    for (int i = 0; i < scope.ComponentCount(); ++i) {
        const TComponent* c = scope.Components(i);
        if (!c->Name().empty() && c->InheritsFrom(GetPropInfo().TypeName))
            proc(c->Name());
    }
}

// ---- the editor table

namespace {

struct TEditorEntry {
    std::string Type;
    const TClassInfo* Class;
    std::string Name;
    TPropertyEditorClass Editor;
    std::string Package;
};

std::vector<TEditorEntry>& Editors() {
    static std::vector<TEditorEntry>* editors = [] {
        auto* made = new std::vector<TEditorEntry>;
        AddUnregisterListener([made](std::string_view package) {
            std::erase_if(*made, [&](const TEditorEntry& e) {
                return !package.empty() && SameText(e.Package, package);
            });
        });
        return made;
    }();
    return *editors;
}

TPropertyEditorClass KindEditor(const TPropInfo& prop) {
    if (prop.IsColor())
        return EditorClassOf<TColorProperty>("TColorProperty");
    switch (prop.Kind) {
    case TTypeKind::tkInteger:
        return EditorClassOf<TIntegerProperty>("TIntegerProperty");
    case TTypeKind::tkEnumeration:
        return EditorClassOf<TEnumProperty>("TEnumProperty");
    case TTypeKind::tkString:
        return EditorClassOf<TStringProperty>("TStringProperty");
    case TTypeKind::tkClass:
        if (prop.RefersToComponent())
            return EditorClassOf<TComponentProperty>("TComponentProperty");
        break;
    default:
        break;
    }
    return EditorClassOf<TPropertyEditor>("TPropertyEditor");
}

} // namespace

void RegisterPropertyEditor(const std::string& propertyType, const TClassInfo* componentClass,
                            const std::string& propertyName, TPropertyEditorClass editorClass) {
    if (!editorClass)
        throw EArgumentError("RegisterPropertyEditor: no editor class");
    Editors().push_back({propertyType, componentClass, propertyName, std::move(editorClass),
                         TClassRegistry::Instance().CurrentPackage()});
}

TPropertyEditorClass GetEditorClass(const TPropInfo& prop, const TClassInfo* componentClass) {
    const TEditorEntry* best = nullptr;
    int bestDistance = 0;
    auto distance = [&](const TEditorEntry& e) {
        if (!e.Class)
            return 1 << 20; // any class: farther than every real base
        return componentClass ? componentClass->Distance(e.Class) : -1;
    };
    for (const TEditorEntry& e : Editors()) {
        if (!SameText(e.Type, prop.TypeName))
            continue;
        if (!e.Name.empty() && !SameText(e.Name, prop.Name))
            continue;
        const int d = distance(e);
        if (d < 0)
            continue;
        const bool better = !best || d < bestDistance ||
                            (d == bestDistance && (!e.Name.empty() || best->Name.empty()));
        if (better) {
            best = &e;
            bestDistance = d;
        }
    }
    return best ? best->Editor : KindEditor(prop);
}

std::unique_ptr<TPropertyEditor> CreatePropertyEditor(std::vector<TComponent*> components,
                                                      std::string_view propertyName) {
    if (components.empty())
        return nullptr;
    const TPropInfo* prop = nullptr;
    for (const TComponent* c : components) {
        const TPropInfo* own = c->ClassInfo() ? c->ClassInfo()->FindProp(propertyName) : nullptr;
        if (!own)
            return nullptr;
        if (!prop)
            prop = own;
    }
    const TClassInfo* cls = components.front()->ClassInfo();
    if (propertyName.find('.') == std::string_view::npos)
        return GetEditorClass(*prop, cls).Create(std::move(components), *prop);
    // The sub-object's description is named without the object ("Size"): the editor
    // would read and write the component's own property of that name.
    auto qualified = std::make_shared<TPropInfo>(*prop);
    qualified->Name = std::string(propertyName);
    auto editor = GetEditorClass(*qualified, cls).Create(std::move(components), *qualified);
    editor->KeepAlive(qualified);
    return editor;
}

std::string TColorProperty::GetValue() const {
    const TValue value = GetModelValue();
    if (value.Kind == TValueKind::Integer)
        return ColorToString(static_cast<TColor>(value.Int));
    return TPropertyEditor::GetValue();
}

void TColorProperty::GetValues(const TGetStrProc& proc) {
    for (const std::string& name : ColorNames())
        proc(name);
}

} // namespace vesk
