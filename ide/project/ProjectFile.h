// A project file (.dpr): the units its uses clause names, with the file each one is
// "in" and the form it declares, resolved against the project's folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// One entry of the uses clause.
struct TProjectUnit {
    std::string Name;     // as written: "MainForm", "System.Utils"
    std::string InPath;   // the quoted path after "in", "" when there is none
    std::string FormName; // the form's name from the comment after the path, "" when none
    bool operator==(const TProjectUnit&) const = default;
};

// The entries of the first uses clause of a program or library text. Comments of the
// three kinds and compiler directives are skipped; a text without a uses clause, or
// one broken off inside it, gives the entries read so far.
std::vector<TProjectUnit> ParseProjectUses(std::string_view text);
// The offset of the ";" that ends that clause; npos when there is no whole clause.
std::size_t ProjectUsesEnd(std::string_view text);

// Where a unit's file lies for a project in ProjectFolder: its "in" path (back slashes
// taken as folder separators, relative to the project's folder), else "Name.pas" beside
// the project. The name is matched without regard to case, folder by folder, as the
// old file system did; "" when there is no such file (a unit of the library, "Forms").
std::string ResolveUnitFile(const std::string& projectFolder, const TProjectUnit& unit);

// Path when it names an existing file; else the file whose folders and name match
// Path's without regard to case; "" when there is none.
std::string FindFileNoCase(const std::string& path);

// The form file beside a unit (.pas, .pp): same folder and base name, ending .dfm or
// .lfm in any case; "" when there is none.
std::string FormFileBeside(const std::string& unitFile);
// The unit beside a form file: same folder and base name, ending .pas or .pp in any
// case; "" when there is none.
std::string UnitFileBeside(const std::string& formFile);

struct TProject {
    std::string FileName; // the project file, as given
    std::vector<TProjectUnit> Units;
    std::vector<std::string> UnitFiles; // beside Units: the resolved file or ""
};

// Reads and parses the project file; raises EInOutError when it cannot be read.
TProject ReadProject(const std::string& fileName);

} // namespace vesk
