// Live objects: the real instance of a registered class (a widget, a data set, the
// cipher) made from its description, with its published properties set by name. A
// class's binding (TLiveClass) knows the instance's type; everything else goes
// through the description. Pure: widget bindings live in the Qt layers.
#pragma once

#include "platform/design/ClassRegistry.h"
#include "platform/rtl/Classes.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

namespace vesk {

class TComponent;

// One live instance; it owns the object unless a parent widget does.
class TLiveObject {
public:
    virtual ~TLiveObject() = default;
    const TClassInfo* ClassType() const { return FClassType; }
    const std::string& Name() const { return FName; }
    void SetName(std::string name) { FName = std::move(name); }
    // True while a form's stored properties are being applied (the host's csLoading).
    bool Loading() const { return FLoading; }
    // The object as the host's object base, for objects derived from it (data sets,
    // data sources), so that a base class finds it; none for the others.
    virtual TObject* Instance() const { return nullptr; }

protected:
    // For live objects made outside a class's binding (over an object that exists).
    void SetClassType(const TClassInfo* classType) { FClassType = classType; }

private:
    friend class TLiveClass;
    template <typename T>
    friend class TBoundClass;
    const TClassInfo* FClassType = nullptr;
    std::string FName;
    bool FLoading = false;
    // Values a class applies only when loading ends, in the order they came.
    std::vector<std::pair<TPropInfo, TValue>> FDeferred;
};

// A live instance holding an object of type T.
template <typename T>
class TLiveOf : public TLiveObject {
public:
    virtual T* Object() const = 0;
};

// An object the live instance owns outright.
template <typename T>
class TOwnedLive final : public TLiveOf<T> {
public:
    explicit TOwnedLive(std::unique_ptr<T> object) : FObject(std::move(object)) {}
    T* Object() const override { return FObject.get(); }
    TObject* Instance() const override {
        if constexpr (std::is_base_of_v<TObject, T>)
            return FObject.get();
        else
            return nullptr;
    }

private:
    std::unique_ptr<T> FObject;
};

// The other live objects of a form, by name, for properties that refer to them.
class TLiveScope {
public:
    virtual ~TLiveScope() = default;
    virtual TLiveObject* FindLive(std::string_view name) const = 0;
};

// How a class's live objects are made, read and written.
class TLiveClass {
public:
    virtual ~TLiveClass() = default;
    // A new object; Parent is the live object that will hold it (a form, a panel),
    // or none.
    std::unique_ptr<TLiveObject> Create(const TClassInfo& classType, TLiveObject* parent) const;
    // Sets a published property. False when the live object does not model that
    // property (it is kept in the component model only); EConvertError,
    // ERangeError or EInvalidCast for a value it refuses.
    virtual bool Write(TLiveObject& object, const TPropInfo& prop, const TValue& value,
                       const TLiveScope* scope) const = 0;
    // The property's value on the object; none when it does not model it.
    virtual std::optional<TValue> Read(const TLiveObject& object, const TPropInfo& prop) const = 0;
    // Loading starts: writes of deferred properties wait for Loaded.
    void BeginLoading(TLiveObject& object) const { object.FLoading = true; }
    // Loading ends: the deferred values are written (an open data set opens now).
    virtual void Loaded(TLiveObject& object, const TLiveScope* scope) const;

protected:
    virtual std::unique_ptr<TLiveObject> Make(TLiveObject* parent) const = 0;
};

// A binding from accessors: each property a pair of a reader and a writer on T.
template <typename T>
class TBoundClass : public TLiveClass {
public:
    using TReader = std::function<TValue(const T&)>;
    using TWriter = std::function<void(T&, const TValue&, const TLiveScope*)>;
    using TMaker = std::function<std::unique_ptr<TLiveObject>(TLiveObject* parent)>;

    explicit TBoundClass(TMaker maker) : FMaker(std::move(maker)) {}

    TBoundClass& Bind(const std::string& name, TReader reader, TWriter writer) {
        FAccessors[UpperCase(name)] = {std::move(reader), std::move(writer), false};
        return *this;
    }
    // While loading, the property is written only when loading ends (Active of a
    // data set, which needs the database and table named first).
    TBoundClass& Defer(const std::string& name) {
        FAccessors.at(UpperCase(name)).Deferred = true;
        return *this;
    }

    bool Write(TLiveObject& object, const TPropInfo& prop, const TValue& value,
               const TLiveScope* scope) const override {
        const auto found = FAccessors.find(UpperCase(prop.Name));
        if (found == FAccessors.end() || !found->second.Writer)
            return false;
        if (found->second.Deferred && object.FLoading) {
            object.FDeferred.emplace_back(prop, value);
            return true;
        }
        found->second.Writer(Instance(object), value, scope);
        return true;
    }
    std::optional<TValue> Read(const TLiveObject& object, const TPropInfo& prop) const override {
        const auto found = FAccessors.find(UpperCase(prop.Name));
        if (found == FAccessors.end() || !found->second.Reader)
            return std::nullopt;
        return found->second.Reader(Instance(object));
    }

    static T& Instance(const TLiveObject& object) {
        T* typed = LiveObjectAs<T>(&object);
        if (!typed)
            throw EInvalidCast("Invalid class typecast");
        return *typed;
    }

protected:
    std::unique_ptr<TLiveObject> Make(TLiveObject* parent) const override { return FMaker(parent); }

private:
    struct TAccessor {
        TReader Reader;
        TWriter Writer;
        bool Deferred;
    };
    TMaker FMaker;
    std::map<std::string, TAccessor> FAccessors;
};

// The object a live instance holds when it is a T (or derives from T), or none.
template <typename T>
T* LiveObjectAs(const TLiveObject* object) {
    if (auto* typed = dynamic_cast<const TLiveOf<T>*>(object))
        return typed->Object();
    if constexpr (std::is_base_of_v<TObject, T>)
        return object ? dynamic_cast<T*>(object->Instance()) : nullptr;
    return nullptr;
}

// ---- value conversions the bindings share

std::int64_t IntegerValue(const TValue& value);
bool BooleanValue(const TValue& value);
std::string StringValue(const TValue& value);
TValue BooleanToValue(bool value);
// An enumeration value of Prop by its ordinal.
TValue EnumToValue(const TPropInfo& prop, std::int64_t ordinal);
// The live object a reference names in Scope, of the class T; none for an empty
// reference. EInvalidCast when it names an object of another class.
template <typename T>
T* ReferencedObject(const TValue& value, const TLiveScope* scope) {
    const std::string name = StringValue(value);
    if (name.empty() || !scope)
        return nullptr;
    TLiveObject* live = scope->FindLive(name);
    if (!live)
        return nullptr;
    T* object = LiveObjectAs<T>(live);
    if (!object)
        throw EInvalidCast("Invalid class typecast");
    return object;
}

// ---- the form view's way from the component model to live objects

// The live object of Component's registered class with the model's stored
// properties applied (references resolved in Scope). None when the class is not
// registered or has no live binding.
std::unique_ptr<TLiveObject> CreateLiveObject(const TComponent& component, TLiveObject* parent,
                                              const TLiveScope* scope = nullptr);
// Sets one property of a live object from the model's value; false when the object
// does not model it. Raises EPropertyError for a name the class does not publish.
bool WriteLiveProperty(TLiveObject& object, std::string_view name, const TValue& value,
                       const TLiveScope* scope = nullptr);
// As above, from the text a form file or the command line spells.
bool WriteLivePropertyText(TLiveObject& object, std::string_view name, std::string_view text,
                           const TLiveScope* scope = nullptr);
std::optional<TValue> ReadLiveProperty(const TLiveObject& object, std::string_view name);

// Every component of a form made live, in creation order: the form first, then its
// components; controls are given their parent's live object. Objects of classes
// without a binding are left out.
class TLiveForm : public TLiveScope {
public:
    explicit TLiveForm(const TComponent& root);
    ~TLiveForm() override;
    TLiveObject* FindLive(std::string_view name) const override;
    TLiveObject* Root() const { return FRoot; }
    int Count() const { return static_cast<int>(FObjects.size()); }

private:
    void Build(const TComponent& component, TLiveObject* parent);
    std::vector<std::unique_ptr<TLiveObject>> FObjects; // destroyed newest first
    std::vector<const TComponent*> FModels;             // the model of each object
    TLiveObject* FRoot = nullptr;
};

} // namespace vesk
