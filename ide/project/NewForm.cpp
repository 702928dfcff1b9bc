#include "ide/project/NewForm.h"

#include "ide/project/ProjectFile.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>

namespace vesk {

namespace {

// "\r\n" when the text's first line ends so, else "\n".
std::string LineEndOf(const std::string& text) {
    const std::size_t eol = text.find('\n');
    return eol != std::string::npos && eol > 0 && text[eol - 1] == '\r' ? "\r\n" : "\n";
}

// The offset of the first line holding Word (any case) as the first thing on it after
// blanks, searching backwards from the end when Last is set; npos when none does.
std::size_t LineStartingWith(const std::string& text, const std::string& word, bool last) {
    std::size_t found = std::string::npos;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t eol = text.find('\n', start);
        if (eol == std::string::npos)
            eol = text.size();
        std::size_t first = start;
        while (first < eol && (text[first] == ' ' || text[first] == '\t'))
            ++first;
        if (eol - first >= word.size() &&
            SameText(std::string_view(text).substr(first, word.size()), word)) {
            found = start;
            if (!last)
                return found;
        }
        start = eol + 1;
    }
    return found;
}

} // namespace

TNewFormTexts NewFormTexts(const std::string& unitName, const std::string& formName) {
    const std::string className = "T" + formName;
    TNewFormTexts texts;
    texts.Unit = "unit " + unitName +
                 ";\r\n"
                 "\r\n"
                 "interface\r\n"
                 "\r\n"
                 "uses\r\n"
                 "  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms, Dialogs;\r\n"
                 "\r\n"
                 "type\r\n"
                 "  " +
                 className +
                 " = class(TForm)\r\n"
                 "  private\r\n"
                 "    { Private declarations }\r\n"
                 "  public\r\n"
                 "    { Public declarations }\r\n"
                 "  end;\r\n"
                 "\r\n"
                 "var\r\n"
                 "  " +
                 formName + ": " + className +
                 ";\r\n"
                 "\r\n"
                 "implementation\r\n"
                 "\r\n"
                 "{$R *.DFM}\r\n"
                 "\r\n"
                 "end.\r\n";
    texts.Form = "object " + formName + ": " + className +
                 "\r\n"
                 "  Left = 200\r\n"
                 "  Top = 108\r\n"
                 "  Width = 544\r\n"
                 "  Height = 375\r\n"
                 "  Caption = '" +
                 formName +
                 "'\r\n"
                 "  Color = clBtnFace\r\n"
                 "  Font.Charset = DEFAULT_CHARSET\r\n"
                 "  Font.Color = clWindowText\r\n"
                 "  Font.Height = -11\r\n"
                 "  Font.Name = 'MS Sans Serif'\r\n"
                 "  Font.Style = []\r\n"
                 "  PixelsPerInch = 96\r\n"
                 "  TextHeight = 13\r\n"
                 "end\r\n";
    return texts;
}

std::optional<std::string> AddUnitToProject(const std::string& projectText,
                                            const std::string& unitName, const std::string& inPath,
                                            const std::string& formName) {
    const auto units = ParseProjectUses(projectText);
    if (std::any_of(units.begin(), units.end(),
                    [&](const TProjectUnit& unit) { return SameText(unit.Name, unitName); }))
        return projectText;
    const std::size_t end = ProjectUsesEnd(projectText);
    if (end == std::string::npos)
        return std::nullopt;
    const std::string eol = LineEndOf(projectText);
    std::string quoted; // a quote in the path is doubled
    for (char c : inPath)
        quoted += c == '\'' ? std::string("''") : std::string(1, c);
    std::string text = projectText;
    std::string entry = "," + eol + "  " + unitName + " in '" + quoted + "'";
    if (!formName.empty())
        entry += " {" + formName + "}";
    text.insert(end, entry);
    if (formName.empty())
        return text;

    const std::string create =
        "  Application.CreateForm(T" + formName + ", " + formName + ");" + eol;
    if (const std::size_t last = LineStartingWith(text, "Application.CreateForm", true);
        last != std::string::npos) {
        const std::size_t eolAt = text.find('\n', last);
        if (eolAt == std::string::npos)
            text += eol + create.substr(0, create.size() - eol.size());
        else
            text.insert(eolAt + 1, create);
    } else if (const std::size_t run = LineStartingWith(text, "Application.Run", false);
               run != std::string::npos) {
        text.insert(run, create);
    }
    return text;
}

} // namespace vesk
