// The component palette: pages of registered classes, in the order they were
// registered, each entry belonging to the package that was current.
#pragma once

#include "platform/design/ClassRegistry.h"

#include <string>
#include <vector>

namespace vesk {

// Places the classes on the named page (made when first named), after what is
// there; a class already on the page stays where it is. EClassError for a class
// that is not registered.
void RegisterComponents(const std::string& page, const std::vector<const TClassInfo*>& classes);

// The pages in the order they were first named.
std::vector<std::string> PalettePages();
// The classes on a page (without regard to case), in order; none for an unknown page.
std::vector<const TClassInfo*> PaletteClasses(std::string_view page);
// The page a class is on, or empty.
std::string PalettePageOf(const TClassInfo* classInfo);

} // namespace vesk
