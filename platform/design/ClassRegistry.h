// The one description of every component class: its name, its base, whether it is a
// control or takes controls, and its published properties in stored order with their
// types and stored defaults. Class tests, form-file reading, stored defaults, live
// objects and the property editors all read this table. Pure.
//
// Registrations made while a package is current (TPackageScope) belong to that package
// and are undone together by UnregisterPackage; the host's own classes belong to none.
#pragma once

#include "platform/forms/FormValue.h"
#include "platform/rtl/SysUtils.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// A class name used twice for different classes, or a registration that names a base
// nobody registered.
class EClassError : public Exception {
    using Exception::Exception;
};
// The host's invalid-cast error: an object read as a class it does not inherit from.
class EInvalidCast : public Exception {
    using Exception::Exception;
};
// A property a class does not publish, or a value its type does not take.
class EPropertyError : public Exception {
    using Exception::Exception;
};

enum class TTypeKind { tkInteger, tkFloat, tkString, tkEnumeration, tkSet, tkClass, tkMethod };

class TClassInfo;

struct TPropInfo {
    std::string Name;
    TTypeKind Kind = TTypeKind::tkInteger;
    // The property's type as the host names it: "Integer", "string", "Boolean",
    // "TColor", "TFont", "TDataSource", "TNotifyEvent", an enumeration's type name.
    std::string TypeName;
    // An enumeration's value names in ordinal order; a set's element names.
    std::vector<std::string> Names;
    // The value a form file leaves out; none: the value is always written.
    std::optional<TValue> Default;
    std::int64_t MinValue = INT32_MIN;
    std::int64_t MaxValue = INT32_MAX;

    bool IsColor() const { return TypeName == "TColor"; }
    // A class-typed property that names another component (DataSource, FocusControl),
    // as opposed to a persistent sub-object written inline (Font, SQL).
    bool RefersToComponent() const;
};

class TLiveClass;

class TClassInfo {
public:
    TClassInfo(std::string name, const TClassInfo* parent, bool acceptsControls = false);

    const std::string& ClassName() const { return FName; }
    const TClassInfo* ClassParent() const { return FParent; }
    // True for this class and every class derived from it (names without regard to case).
    bool InheritsFrom(std::string_view className) const;
    bool InheritsFrom(const TClassInfo* other) const;
    // Steps from this class up to Other (0 for itself); -1 when it does not inherit it.
    int Distance(const TClassInfo* other) const;
    // Own or inherited published property, or none. A qualified name ("Font.Size")
    // looks in the class of the property before the dot.
    const TPropInfo* FindProp(std::string_view name) const;
    // The published properties in stored order, the base's first.
    std::vector<const TPropInfo*> Properties() const;
    const std::vector<TPropInfo>& OwnProperties() const { return FProps; }
    // A container: controls may be placed on it (panels, group boxes, forms, frames).
    bool AcceptsControls() const { return FAcceptsControls; }
    bool IsControl() const { return InheritsFrom("TControl"); }
    // The package that registered the class; empty for the host's own.
    const std::string& Package() const { return FPackage; }

    // How live objects of the class are made and changed; none for a class known
    // only by its description.
    const TLiveClass* Live() const { return FLive.get(); }
    void SetLive(std::shared_ptr<const TLiveClass> live) { FLive = std::move(live); }

    // Building the description. A property the base publishes is published again
    // in the base's place with the new description (a new default, say).
    TClassInfo& Add(TPropInfo prop);

private:
    friend class TClassRegistry;
    std::string FName;
    const TClassInfo* FParent;
    std::vector<TPropInfo> FProps;
    bool FAcceptsControls;
    std::string FPackage;
    std::shared_ptr<const TLiveClass> FLive;
};

// Property descriptions for the registrations.
TPropInfo IntProp(std::string name, std::optional<std::int64_t> defaultValue = std::nullopt,
                  std::int64_t min = INT32_MIN, std::int64_t max = INT32_MAX,
                  std::string typeName = "Integer");
TPropInfo StrProp(std::string name, std::string typeName = "string");
TPropInfo BoolProp(std::string name, std::optional<bool> defaultValue);
TPropInfo EnumProp(std::string name, std::string typeName, std::vector<std::string> names,
                   std::optional<std::string> defaultValue);
TPropInfo SetProp(std::string name, std::string typeName, std::vector<std::string> names,
                  std::optional<std::vector<std::string>> defaultValue);
TPropInfo ColorProp(std::string name, std::optional<std::string> defaultValue);
TPropInfo ClassProp(std::string name, std::string className);
TPropInfo EventProp(std::string name, std::string typeName = "TNotifyEvent");

// The host's enumerations and sets that several classes publish.
const std::vector<std::string>& AlignNames();     // TAlign
const std::vector<std::string>& AlignmentNames(); // TAlignment
const std::vector<std::string>& CursorNames();    // TCursor, crDefault first
const std::vector<std::string>& FontStyleNames(); // TFontStyle

// The host tree view's published properties in its published order.
void AddTreeViewProperties(TClassInfo& c);

// The registry. Lookups are without regard to case.
class TClassRegistry {
public:
    static TClassRegistry& Instance();

    // Registers a class whose base (none for a root) is registered; returns it.
    // The same name again returns the class already there unchanged.
    TClassInfo& Register(const std::string& name, const std::string& parentName,
                         bool acceptsControls = false);
    const TClassInfo* Find(std::string_view name) const;
    // Every registered class in registration order.
    std::vector<const TClassInfo*> Classes() const;
    // Changes whenever a class is registered or unregistered.
    std::uint64_t Generation() const { return FGeneration; }

    // The package registrations go to; empty: the host's own.
    const std::string& CurrentPackage() const { return FCurrentPackage; }
    void SetCurrentPackage(std::string name) { FCurrentPackage = std::move(name); }
    // Forgets the classes the package registered. Their descriptions stay in memory,
    // so that components made from them keep a valid class.
    void UnregisterPackage(std::string_view name);

private:
    TClassRegistry();
    struct TImpl;
    std::shared_ptr<TImpl> FImpl;
    std::string FCurrentPackage;
    std::uint64_t FGeneration = 0;
};

// Makes Name the current package for its lifetime, then restores the previous one.
class TPackageScope {
public:
    explicit TPackageScope(std::string name);
    ~TPackageScope();
    TPackageScope(const TPackageScope&) = delete;
    TPackageScope& operator=(const TPackageScope&) = delete;

private:
    std::string FPrevious;
};

// Undoes everything the package registered: classes, palette entries, property
// editors (each part of the registry listens through OnUnregisterPackage).
void UnregisterPackage(std::string_view name);
// Called with the package's name by UnregisterPackage; returns the listener's id.
int AddUnregisterListener(std::function<void(std::string_view)> listener);

// ---- values of described properties

// Reads a value as a form file or the command line spells it: "True", "alClient",
// "$00400040" or "clWhite", "[fsBold]", "12", any text for a string. EConvertError for
// text that is not a value of the type, ERangeError naming the property for a number
// outside its range.
TValue ValueFromText(const TPropInfo& prop, std::string_view text);
// The form file's spelling of a value.
std::string ValueText(const TValue& value);
// Equal as values of the property (a colour by number or name alike, names and set
// elements without regard to case).
bool SameValue(const TPropInfo& prop, const TValue& a, const TValue& b);
bool IsDefaultValue(const TPropInfo& prop, const TValue& value);
// The value a property of that kind has when nothing is stored and there is no
// default: 0, the first name, the empty string or set.
TValue ZeroValue(const TPropInfo& prop);
std::int64_t OrdinalOf(const TPropInfo& prop, const TValue& value);

} // namespace vesk
