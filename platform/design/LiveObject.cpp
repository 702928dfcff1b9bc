#include "platform/design/LiveObject.h"

#include "platform/forms/Component.h"

namespace vesk {

std::unique_ptr<TLiveObject> TLiveClass::Create(const TClassInfo& classType,
                                                TLiveObject* parent) const {
    std::unique_ptr<TLiveObject> made = Make(parent);
    if (made)
        made->FClassType = &classType;
    return made;
}

void TLiveClass::Loaded(TLiveObject& object, const TLiveScope* scope) const {
    object.FLoading = false;
    std::vector<std::pair<TPropInfo, TValue>> deferred = std::move(object.FDeferred);
    object.FDeferred.clear();
    for (const auto& [prop, value] : deferred)
        Write(object, prop, value, scope);
}

std::int64_t IntegerValue(const TValue& value) {
    if (value.Kind == TValueKind::Integer)
        return value.Int;
    if (value.Kind == TValueKind::String || value.Kind == TValueKind::Ident)
        return StrToInt(value.Text);
    throw EConvertError("'" + ValueText(value) + "' is not a valid integer value");
}

bool BooleanValue(const TValue& value) {
    if (value.Kind == TValueKind::Ident || value.Kind == TValueKind::String) {
        if (SameText(value.Text, "True"))
            return true;
        if (SameText(value.Text, "False"))
            return false;
    }
    if (value.Kind == TValueKind::Integer)
        return value.Int != 0;
    throw EConvertError("'" + ValueText(value) + "' is not a valid boolean value");
}

std::string StringValue(const TValue& value) {
    return ValueText(value);
}

TValue BooleanToValue(bool value) {
    return TValue::Ident(value ? "True" : "False");
}

TValue EnumToValue(const TPropInfo& prop, std::int64_t ordinal) {
    if (ordinal < 0 || ordinal >= static_cast<std::int64_t>(prop.Names.size()))
        throw ERangeError(prop.Name + ": no value of ordinal " + IntToStr(ordinal));
    return TValue::Ident(prop.Names[static_cast<std::size_t>(ordinal)]);
}

namespace {

// A sub-property ("Font.Size") is bound under its qualified name.
TPropInfo Qualified(const TPropInfo& prop, std::string_view name) {
    TPropInfo qualified = prop;
    qualified.Name = std::string(name);
    return qualified;
}

const TPropInfo& RequireProp(const TLiveObject& object, std::string_view name) {
    const TClassInfo* type = object.ClassType();
    const TPropInfo* prop = type ? type->FindProp(name) : nullptr;
    if (!prop)
        throw EPropertyError((type ? type->ClassName() : std::string("The object")) +
                             " has no property '" + std::string(name) + "'");
    return *prop;
}

const TLiveClass& RequireLive(const TLiveObject& object) {
    const TLiveClass* live = object.ClassType() ? object.ClassType()->Live() : nullptr;
    if (!live)
        throw EPropertyError("The object has no live class");
    return *live;
}

} // namespace

bool WriteLiveProperty(TLiveObject& object, std::string_view name, const TValue& value,
                       const TLiveScope* scope) {
    const TPropInfo& prop = RequireProp(object, name);
    if (SameText(name, "Name")) {
        object.SetName(StringValue(value));
        return true;
    }
    if (name.find('.') != std::string_view::npos)
        return RequireLive(object).Write(object, Qualified(prop, name), value, scope);
    return RequireLive(object).Write(object, prop, value, scope);
}

bool WriteLivePropertyText(TLiveObject& object, std::string_view name, std::string_view text,
                           const TLiveScope* scope) {
    const TPropInfo& prop = RequireProp(object, name);
    return WriteLiveProperty(object, name, ValueFromText(prop, text), scope);
}

std::optional<TValue> ReadLiveProperty(const TLiveObject& object, std::string_view name) {
    const TPropInfo& prop = RequireProp(object, name);
    if (SameText(name, "Name"))
        return TValue::String(object.Name());
    if (name.find('.') != std::string_view::npos)
        return RequireLive(object).Read(object, Qualified(prop, name));
    return RequireLive(object).Read(object, prop);
}

namespace {

std::unique_ptr<TLiveObject> MakeLive(const TComponent& component, TLiveObject* parent) {
    const TClassInfo* type = component.ClassInfo();
    // A form's own class stands for the known base it was given.
    if (!type || !type->Live())
        return nullptr;
    std::unique_ptr<TLiveObject> live = type->Live()->Create(*type, parent);
    if (live)
        live->SetName(component.Name());
    return live;
}

// The model's stored properties, in stored order, on the live object. Properties the
// class does not publish, or the live object does not model, stay in the model only.
void ApplyStored(const TComponent& component, TLiveObject& live, const TLiveScope* scope) {
    const TClassInfo* type = live.ClassType();
    type->Live()->BeginLoading(live);
    for (int i = 0; i < component.PropertyCount(); ++i) {
        const TProperty& stored = component.Properties(i);
        const TPropInfo* prop = type->FindProp(stored.Name);
        if (!prop || prop->Kind == TTypeKind::tkMethod)
            continue;
        const TValue value = stored.Ref ? TValue::Ident(stored.Ref->Name()) : stored.Value;
        if (stored.Name.find('.') != std::string::npos)
            type->Live()->Write(live, Qualified(*prop, stored.Name), value, scope);
        else
            type->Live()->Write(live, *prop, value, scope);
    }
}

void EndLoading(TLiveObject& live, const TLiveScope* scope) {
    live.ClassType()->Live()->Loaded(live, scope);
}

} // namespace

std::unique_ptr<TLiveObject> CreateLiveObject(const TComponent& component, TLiveObject* parent,
                                              const TLiveScope* scope) {
    std::unique_ptr<TLiveObject> live = MakeLive(component, parent);
    if (live) {
        ApplyStored(component, *live, scope);
        EndLoading(*live, scope);
    }
    return live;
}

TLiveForm::TLiveForm(const TComponent& root) {
    // Every object first, then the properties, so that a reference may name an
    // object that comes later in the file.
    Build(root, nullptr);
    for (std::size_t i = 0; i < FObjects.size(); ++i)
        ApplyStored(*FModels[i], *FObjects[i], this);
    for (const auto& live : FObjects)
        EndLoading(*live, this);
}

TLiveForm::~TLiveForm() {
    while (!FObjects.empty())
        FObjects.pop_back(); // controls before the containers that hold them
}

void TLiveForm::Build(const TComponent& component, TLiveObject* parent) {
    std::unique_ptr<TLiveObject> live = MakeLive(component, parent);
    TLiveObject* raw = live.get();
    if (live) {
        if (!FRoot)
            FRoot = raw;
        FObjects.push_back(std::move(live));
        FModels.push_back(&component);
    }
    // Controls sit on their live parent; the others belong to the form alone.
    for (const TComponent* child : component.Children()) {
        const bool control = child->ClassInfo() && child->ClassInfo()->IsControl();
        Build(*child, control && raw ? raw : FRoot);
    }
}

TLiveObject* TLiveForm::FindLive(std::string_view name) const {
    for (const auto& live : FObjects)
        if (SameText(live->Name(), name))
            return live.get();
    return nullptr;
}

} // namespace vesk
