// Class metadata of the designer's component model: each known class with its base
// and its published properties, enough to test a class against another and to look
// a property up by name with its kind.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vesk {

enum class TTypeKind { tkInteger, tkFloat, tkString, tkEnumeration, tkSet, tkClass, tkMethod };

struct TPropInfo {
    std::string Name;
    TTypeKind Kind;
    // For tkClass: the class the property refers to (a component or a persistent
    // sub-object such as TFont).
    std::string TypeName;
};

class TClassInfo {
public:
    TClassInfo(std::string name, const TClassInfo* parent, std::vector<TPropInfo> props,
               bool acceptsControls = false);

    const std::string& ClassName() const { return FName; }
    const TClassInfo* ClassParent() const { return FParent; }
    // True for this class and every class derived from it (names without regard to case).
    bool InheritsFrom(std::string_view className) const;
    // Own or inherited published property, or none.
    const TPropInfo* FindProp(std::string_view name) const;
    // A container: controls may be placed on it (panels, group boxes, forms, frames).
    bool AcceptsControls() const { return FAcceptsControls; }
    bool IsControl() const { return InheritsFrom("TControl"); }

private:
    std::string FName;
    const TClassInfo* FParent;
    std::vector<TPropInfo> FProps;
    bool FAcceptsControls;
};

// The known class of that name (without regard to case), or none.
const TClassInfo* FindClassInfo(std::string_view className);

// A published property of a class by name, or none (no class gives none).
const TPropInfo* GetPropInfo(const TClassInfo* classInfo, std::string_view name);

// True when some known class publishes a property of this name that refers to a
// component (FocusControl, DataSource, DataSet, ...). Used for classes we do not know.
bool IsComponentReferenceName(std::string_view propName);

} // namespace vesk
