#include "platform/forms/TypInfo.h"

#include <set>

namespace vesk {

const TClassInfo* FindClassInfo(std::string_view className) {
    return TClassRegistry::Instance().Find(className);
}

const TPropInfo* GetPropInfo(const TClassInfo* classInfo, std::string_view name) {
    return classInfo ? classInfo->FindProp(name) : nullptr;
}

bool IsComponentReferenceName(std::string_view propName) {
    // Worked out again whenever the registered classes change.
    static std::set<std::string> names;
    static std::uint64_t generation = ~std::uint64_t{0};
    const TClassRegistry& registry = TClassRegistry::Instance();
    if (generation != registry.Generation()) {
        names.clear();
        for (const TClassInfo* c : registry.Classes())
            for (const TPropInfo& p : c->OwnProperties())
                if (p.RefersToComponent())
                    names.insert(UpperCase(p.Name));
        generation = registry.Generation();
    }
    return names.count(UpperCase(propName)) != 0;
}

} // namespace vesk
