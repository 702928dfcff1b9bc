// Run-time type information of the designer's component model: the registered class
// of a name and a class's published property by name, read from the class registry.
#pragma once

#include "platform/design/ClassRegistry.h"

#include <string_view>

namespace vesk {

// The registered class of that name (without regard to case), or none.
const TClassInfo* FindClassInfo(std::string_view className);

// A published property of a class by name, or none (no class gives none).
const TPropInfo* GetPropInfo(const TClassInfo* classInfo, std::string_view name);

// True when some registered class publishes a property of this name that refers to a
// component (FocusControl, DataSource, DataSet, ...). Used for classes nobody registered.
bool IsComponentReferenceName(std::string_view propName);

} // namespace vesk
