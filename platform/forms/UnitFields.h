// Keeps a form's unit in step with its form: the field declarations of the form class
// follow its components when they are renamed, added or taken away.
#pragma once

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vesk {

struct TFieldRename {
    std::string OldName;
    std::string NewName;
};

// Renames, in the declaration of class ClassName in Source, each field declared
// under an old name. Returns the renames it could not make (no such class, no such
// field); the others are made.
std::vector<TFieldRename> RenameClassFields(std::string& source, const std::string& className,
                                            const std::vector<TFieldRename>& renames);

class TComponent;

// What the form class of a unit declares, followed across saves. It remembers each
// component of the form (the object, its name and class) as it was loaded or last saved,
// and brings a unit's text in step with what the form holds now.
class TFormFields {
public:
    explicit TFormFields(const TComponent& root) { Remember(root); }

    // UnitText with the declarations of Root's class in step with Root's components: a
    // component renamed since renames its field; one added is declared as "Name: TClass;"
    // after the last field of the class's first section; one gone loses its declaration
    // when it stands alone on its line. Everything else is kept byte for byte; a unit
    // without that class comes back unchanged, and so does a field already declared.
    std::string Apply(const std::string& unitText, const TComponent& root) const;
    // The form as it now stands becomes what was saved.
    void Remember(const TComponent& root);
    // The whole model was rebuilt from text (undo): each pair names a remembered
    // component and the one now standing for it. A remembered component without one is
    // gone, and its declaration goes at the next Apply.
    void Rebuilt(const std::vector<std::pair<const TComponent*, const TComponent*>>& replaced);

private:
    struct TKnown {
        std::string Name;
        std::string ClassName;
    };
    // Keyed by object: a component renamed stays the same object. A freed object's
    // address may come back for a new component; the class and the name then decide.
    std::unordered_map<const TComponent*, TKnown> FKnown;
    // Remembered components of a model that was rebuilt and had no successor there.
    std::vector<TKnown> FGone;
};

} // namespace vesk
