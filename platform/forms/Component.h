// The designer's live objects: components with a class, a name, an owner that keeps
// them in order, a parent, and their published properties in stored order. A
// component read from a form file also keeps the bytes it was read from, so that what
// nobody changed is written back exactly as it was.
#pragma once

#include "platform/forms/FormValue.h"
#include "platform/forms/TypInfo.h"
#include "platform/rtl/SysUtils.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vesk {

// The host's naming error: an invalid or duplicate component name.
class EComponentError : public Exception {
    using Exception::Exception;
};

// A letter or "_" followed by letters, digits and "_".
bool IsValidIdent(std::string_view name);

class TComponent;

struct TProperty {
    std::string Name; // may be qualified: "Font.Size"
    TValue Value;
    // The component the value names, for properties that refer to components; its
    // current name is what gets written.
    TComponent* Ref = nullptr;
    // As read from the file; empty for a property made or changed since.
    std::string Raw;
    std::string RefNameAsRead; // the referred component's name when read
    bool Dirty = true;

    bool Unchanged() const;
};

// How an object was written in its file: its own pieces of bytes, which tile the
// file together with those of its properties and children.
struct TStreamRecord {
    enum class TKind { Object, Inherited, Inline };
    TKind Kind = TKind::Object;
    std::string Header;   // from the end of what came before up to the properties
    std::string PropsEnd; // binary forms: the end mark of the property list
    std::string End;      // the closing "end" (text) or end mark (binary)
    std::string NameAsRead;
    std::size_t NamePos =
        0; // where the name stands in Header (text: the name; binary: its length byte)
    bool HasName = false;
    bool FromFile = false;
    int Depth = 0; // nesting as read: its text lines are indented for it
    std::optional<std::int64_t> ChildPos;
};

class TComponent {
public:
    // A component of that class, owned by Owner (appended to its components) unless
    // Owner is none. Classes we do not know are kept by name.
    TComponent(std::string className, TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& ClassName() const { return FClassName; }
    const TClassInfo* ClassInfo() const { return FClassInfo; }
    // Follows inheritance through the known classes; an unknown class is only itself.
    bool InheritsFrom(std::string_view className) const;
    // Lets a class we do not know (a form's own class, TForm1) count as a known base.
    void SetClassBase(const TClassInfo* base) { FClassInfo = base; }

    const std::string& Name() const { return FName; }
    // Raises EComponentError when Name is not empty and not a valid identifier, or
    // another component of the same owner has it (without regard to case).
    void SetName(const std::string& name);

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const;
    // An owned component by name without regard to case; none for an empty name.
    TComponent* FindComponent(std::string_view name) const;
    // Frees the component with the objects nested in it (its controls, a data set's
    // fields): their owners forget them, and every property that referred to them or
    // to their own components is cleared.
    void Free();

    TComponent* Parent() const { return FParent; }
    // Makes the component a child of Parent, last in its children; controls only.
    void SetParent(TComponent* parent);
    // The objects written nested in this one, in order.
    const std::vector<TComponent*>& Children() const { return FChildren; }
    TComponent* StreamParent() const { return FStreamParent; }

    int PropertyCount() const { return static_cast<int>(FProps.size()); }
    const TProperty& Properties(int index) const { return FProps.at(index); }
    const TProperty* FindProperty(std::string_view name) const;
    bool HasProperty(std::string_view name) const { return FindProperty(name) != nullptr; }
    std::int64_t GetInt(std::string_view name, std::int64_t defaultValue = 0) const;
    // A string or identifier property's text; empty when absent.
    std::string GetString(std::string_view name) const;
    TComponent* GetRef(std::string_view name) const;

    void SetValue(const std::string& name, TValue value);
    void SetInt(const std::string& name, std::int64_t value) {
        SetValue(name, TValue::Integer(value));
    }
    void SetString(const std::string& name, std::string value) {
        SetValue(name, TValue::String(std::move(value)));
    }
    void SetIdent(const std::string& name, std::string value) {
        SetValue(name, TValue::Ident(std::move(value)));
    }
    void SetBool(const std::string& name, bool value) { SetIdent(name, value ? "True" : "False"); }
    // A reference to Target (none removes the property, as the designer stores no nil).
    void SetRef(const std::string& name, TComponent* target);
    void RemoveProperty(std::string_view name);

    // The reader's side: the name, properties and nesting as read, unchecked.
    void AssignNameAsRead(std::string name);
    TProperty& AddReadProperty(TProperty prop);
    void MoveIntoAsRead(TComponent* enclosing);
    std::vector<TProperty>& MutableProperties() { return FProps; }

    TStreamRecord Stream;

private:
    TComponent* Root();
    void DropReferencesTo(const TComponent* target);
    void Detach();
    // Owner's index of its components by name, so that a lookup does not scan them all.
    void ChangeName(std::string name);
    void IndexName(TComponent* component);
    void UnindexName(TComponent* component);

    std::string FClassName;
    const TClassInfo* FClassInfo;
    std::string FName;
    TComponent* FOwner;
    TComponent* FParent = nullptr;
    TComponent* FStreamParent = nullptr;
    std::vector<std::unique_ptr<TComponent>> FComponents;
    // Upper-cased name -> the owned components of that name (two only in a file read
    // as it stands); an empty name is not indexed.
    std::unordered_multimap<std::string, TComponent*> FNameIndex;
    std::vector<TComponent*> FChildren;
    std::vector<TProperty> FProps;
};

} // namespace vesk
