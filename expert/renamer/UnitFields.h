// Keeps a form's unit in step with its form: renames the field declarations of the
// form class when its components are renamed.
#pragma once

#include <string>
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

} // namespace vesk
