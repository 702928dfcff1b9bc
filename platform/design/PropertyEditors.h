// Property editors: what the object inspector shows and changes for one published
// property of the components being edited, and the table that picks an editor class
// for a property by its type, its component's class and its name. The components
// are those of the component model: editors change the model, never live objects.
#pragma once

#include "platform/design/ClassRegistry.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vesk {

class TComponent;
class TStringList;

// ---- the component model's side of a described property

// The property's value on Component: as stored, else its default, else the type's
// zero value. A reference reads as the current name of the component it names.
TValue GetModelValue(const TComponent& component, const TPropInfo& prop);
// Stores Value; a value equal to the stored default is removed instead, as the
// form file would leave it out. A reference names a component of the same form (by
// name); an empty one removes the property. EPropertyError for a name no component has.
void SetModelValue(TComponent& component, const TPropInfo& prop, const TValue& value);

// ---- editors

enum TPropertyAttribute {
    paValueList,
    paSubProperties,
    paDialog,
    paMultiSelect,
    paAutoUpdate,
    paSortList,
    paReadOnly,
    paRevertable
};
// A set of TPropertyAttribute bits.
class TPropertyAttributes {
public:
    TPropertyAttributes(std::initializer_list<TPropertyAttribute> items = {}) {
        for (TPropertyAttribute a : items)
            FBits |= 1u << a;
    }
    bool Contains(TPropertyAttribute a) const { return FBits & (1u << a); }
    bool operator==(const TPropertyAttributes&) const = default;

private:
    unsigned FBits = 0;
};

using TGetStrProc = std::function<void(const std::string&)>;

class TPropertyEditor {
public:
    // Edits Prop of every component in Components (at least one, each publishing it).
    TPropertyEditor(std::vector<TComponent*> components, const TPropInfo& prop);
    virtual ~TPropertyEditor() = default;

    int PropCount() const { return static_cast<int>(FComponents.size()); }
    // The Index-th component being edited; EListError outside the list.
    TComponent* GetComponent(int index) const;
    const TPropInfo& GetPropInfo() const { return *FProp; }
    const std::string& GetName() const { return FProp->Name; }

    virtual TPropertyAttributes GetAttributes() const { return {paRevertable}; }
    // The first component's value as the inspector shows it.
    virtual std::string GetValue() const;
    // Sets the value on every component being edited; EConvertError or ERangeError
    // for text that is not a value of the type (nothing changes then).
    virtual void SetValue(const std::string& value);
    // The values to offer, one Proc call each; none by default.
    virtual void GetValues(const TGetStrProc& proc);
    // Whether every component has the same value.
    bool AllEqual() const;
    // Keeps a description the editor's property refers to (a sub-property's, named
    // with its qualified name) alive as long as the editor.
    void KeepAlive(std::shared_ptr<const TPropInfo> prop) { FKept = std::move(prop); }

protected:
    TValue GetModelValue(int index = 0) const;
    void SetModelValue(const TValue& value);

private:
    std::vector<TComponent*> FComponents;
    const TPropInfo* FProp;
    std::shared_ptr<const TPropInfo> FKept;
};

class TOrdinalProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() const override { return {paMultiSelect, paRevertable}; }
};

class TIntegerProperty : public TOrdinalProperty {
public:
    using TOrdinalProperty::TOrdinalProperty;
};

class TEnumProperty : public TOrdinalProperty {
public:
    using TOrdinalProperty::TOrdinalProperty;
    TPropertyAttributes GetAttributes() const override {
        return {paMultiSelect, paValueList, paSortList, paRevertable};
    }
    // The type's value names in ordinal order.
    void GetValues(const TGetStrProc& proc) override;
};

class TStringProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() const override { return {paMultiSelect, paRevertable}; }
};

// A colour: the named colours to pick from, in the host's order; any other value is
// typed ("$00400040").
class TColorProperty : public TIntegerProperty {
public:
    using TIntegerProperty::TIntegerProperty;
    TPropertyAttributes GetAttributes() const override {
        return {paMultiSelect, paValueList, paRevertable};
    }
    // The colour's name, or its number in the form file's spelling ("$00400040").
    std::string GetValue() const override;
    void GetValues(const TGetStrProc& proc) override;
};

// A reference to another component of the form: the names of the form's components
// of the property's class.
class TComponentProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() const override {
        return {paMultiSelect, paValueList, paSortList, paRevertable};
    }
    void GetValues(const TGetStrProc& proc) override;
};

// An editor class: its name and how to make one.
struct TPropertyEditorClass {
    std::string Name;
    std::function<std::unique_ptr<TPropertyEditor>(std::vector<TComponent*>, const TPropInfo&)>
        Create;
    explicit operator bool() const { return static_cast<bool>(Create); }
};

template <typename TEditor>
TPropertyEditorClass EditorClassOf(std::string name) {
    return {std::move(name), [](std::vector<TComponent*> components, const TPropInfo& prop) {
                return std::unique_ptr<TPropertyEditor>(
                    std::make_unique<TEditor>(std::move(components), prop));
            }};
}

// The inspector uses EditorClass for properties of the type PropertyType (a type
// name, "string") on ComponentClass and its descendants (none: on every class),
// named PropertyName (empty: of any name). Belongs to the current package.
void RegisterPropertyEditor(const std::string& propertyType, const TClassInfo* componentClass,
                            const std::string& propertyName, TPropertyEditorClass editorClass);
// The editor class for Prop of ComponentClass: of the registrations that fit, the one
// for the class nearest ComponentClass, one for the property's name before one for any
// name, the later one when both fit as well; else the type kind's own editor.
TPropertyEditorClass GetEditorClass(const TPropInfo& prop, const TClassInfo* componentClass);
// An editor of the named property of the components (all must publish it, the class
// of the first picks the editor); none when one of them does not. A sub-property
// ("Font.Size") is edited under its qualified name, as the form file stores it.
std::unique_ptr<TPropertyEditor> CreatePropertyEditor(std::vector<TComponent*> components,
                                                      std::string_view propertyName);

} // namespace vesk
