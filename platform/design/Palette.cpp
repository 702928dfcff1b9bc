#include "platform/design/Palette.h"

#include <algorithm>

namespace vesk {

namespace {

struct TPaletteEntry {
    std::string Page;
    const TClassInfo* Class;
    std::string Package;
};

struct TPalette {
    std::vector<std::string> Pages;
    std::vector<TPaletteEntry> Entries;

    TPalette() {
        AddUnregisterListener([this](std::string_view package) {
            std::erase_if(Entries, [&](const TPaletteEntry& e) {
                return !package.empty() && SameText(e.Package, package);
            });
            // A page no package fills any more goes too.
            std::erase_if(Pages, [&](const std::string& page) {
                return std::none_of(Entries.begin(), Entries.end(),
                                    [&](const TPaletteEntry& e) { return e.Page == page; });
            });
        });
    }
};

TPalette& Palette() {
    static TPalette palette;
    return palette;
}

} // namespace

void RegisterComponents(const std::string& page, const std::vector<const TClassInfo*>& classes) {
    TClassRegistry& registry = TClassRegistry::Instance();
    for (const TClassInfo* c : classes)
        if (!c || registry.Find(c->ClassName()) != c)
            throw EClassError("RegisterComponents: a class that is not registered (" +
                              std::string(c ? c->ClassName() : "none") + ")");
    TPalette& palette = Palette();
    auto known = std::find_if(palette.Pages.begin(), palette.Pages.end(),
                              [&](const std::string& p) { return SameText(p, page); });
    const std::string name = known == palette.Pages.end() ? page : *known;
    if (known == palette.Pages.end())
        palette.Pages.push_back(name);
    for (const TClassInfo* c : classes) {
        const bool there =
            std::any_of(palette.Entries.begin(), palette.Entries.end(),
                        [&](const TPaletteEntry& e) { return e.Page == name && e.Class == c; });
        if (!there)
            palette.Entries.push_back({name, c, registry.CurrentPackage()});
    }
}

std::vector<std::string> PalettePages() {
    return Palette().Pages;
}

std::vector<const TClassInfo*> PaletteClasses(std::string_view page) {
    std::vector<const TClassInfo*> classes;
    for (const TPaletteEntry& e : Palette().Entries)
        if (SameText(e.Page, page))
            classes.push_back(e.Class);
    return classes;
}

std::string PalettePageOf(const TClassInfo* classInfo) {
    for (const TPaletteEntry& e : Palette().Entries)
        if (e.Class == classInfo)
            return e.Page;
    return {};
}

} // namespace vesk
