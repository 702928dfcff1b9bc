// A new form module: the unit and form texts the IDE starts it with, and the entry that
// makes it part of a project.
#pragma once

#include <optional>
#include <string>

namespace vesk {

struct TNewFormTexts {
    std::string Unit; // "unit Unit2; ... TForm2 = class(TForm) ... end."
    std::string Form; // "object Form2: TForm2 ... end"
};

// The texts of a new unit UnitName whose form FormName has the class "T" + FormName.
// Both end their lines with "\r\n", as the old IDE wrote them.
TNewFormTexts NewFormTexts(const std::string& unitName, const std::string& formName);

// The project text with UnitName added to its uses clause as
// "UnitName in 'InPath' {FormName}" and, after the last "Application.CreateForm" (or
// before "Application.Run" when there is none), a line creating the form at start-up.
// The text's own line ends are kept. The text unchanged when the clause names the unit
// already; none when the text has no whole uses clause to add it to.
std::optional<std::string> AddUnitToProject(const std::string& projectText,
                                            const std::string& unitName, const std::string& inPath,
                                            const std::string& formName);

} // namespace vesk
