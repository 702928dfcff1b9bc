#include "ide/core/EventHandlers.h"

#include "platform/forms/Component.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <regex>
#include <utility>

namespace vesk {

namespace {

// The start of the line after Pos (the text's end when there is none).
std::size_t NextLine(const std::string& text, std::size_t pos) {
    const std::size_t lf = text.find('\n', pos);
    return lf == std::string::npos ? text.size() : lf + 1;
}

} // namespace

std::optional<std::string> EventParameters(const std::string& eventType) {
    // Every event type a registered class publishes; a handler's heading is written
    // with these parameters.
    static const std::pair<const char*, const char*> known[] = {
        {"TNotifyEvent", "(Sender: TObject)"},
        {"TKeyEvent", "(Sender: TObject; var Key: Word; Shift: TShiftState)"},
        {"TKeyPressEvent", "(Sender: TObject; var Key: Char)"},
        {"TMouseEvent",
         "(Sender: TObject; Button: TMouseButton; Shift: TShiftState; X, Y: Integer)"},
        {"TMouseMoveEvent", "(Sender: TObject; Shift: TShiftState; X, Y: Integer)"},
        {"TCloseEvent", "(Sender: TObject; var Action: TCloseAction)"},
        {"TDragDropEvent", "(Sender, Source: TObject; X, Y: Integer)"},
        {"TDragOverEvent",
         "(Sender, Source: TObject; X, Y: Integer; State: TDragState; var Accept: Boolean)"},
        {"TStartDragEvent", "(Sender: TObject; var DragObject: TDragObject)"},
        {"TEndDragEvent", "(Sender, Target: TObject; X, Y: Integer)"},
        {"TNodeEvent", "(Sender: TObject; Node: TTreeNode)"},
        {"TTVChangedEvent", "(Sender: TObject; Node: TTreeNode)"},
        {"TTVExpandedEvent", "(Sender: TObject; Node: TTreeNode)"},
        {"TTVChangingEvent", "(Sender: TObject; Node: TTreeNode; var AllowChange: Boolean)"},
        {"TTVExpandingEvent", "(Sender: TObject; Node: TTreeNode; var AllowExpansion: Boolean)"},
        {"TTVCollapsingEvent", "(Sender: TObject; Node: TTreeNode; var AllowCollapse: Boolean)"},
        {"TTVEditingEvent", "(Sender: TObject; Node: TTreeNode; var AllowEdit: Boolean)"},
        {"TTVEditedEvent", "(Sender: TObject; Node: TTreeNode; var S: string)"},
        {"TTVCompareEvent",
         "(Sender: TObject; Node1, Node2: TTreeNode; Data: Integer; var Compare: Integer)"},
        {"TDataSetNotifyEvent", "(DataSet: TDataSet)"},
        {"TDataChangeEvent", "(Sender: TObject; Field: TField)"},
    };
    for (const auto& [type, parameters] : known)
        if (SameText(type, eventType))
            return parameters;
    return std::nullopt;
}

std::vector<std::string> ParameterTypes(const std::string& parameters) {
    std::string list = parameters;
    if (const std::size_t open = list.find('('); open != std::string::npos) {
        const std::size_t close = list.rfind(')');
        list = list.substr(open + 1, close == std::string::npos || close < open ? std::string::npos
                                                                                : close - open - 1);
    }
    std::vector<std::string> out;
    std::size_t begin = 0;
    while (begin <= list.size()) {
        const std::size_t semicolon = std::min(list.find(';', begin), list.size());
        const std::string group = Trim(list.substr(begin, semicolon - begin));
        begin = semicolon + 1;
        if (group.empty())
            continue;
        const std::size_t colon = group.find(':');
        std::string names = Trim(group.substr(0, colon));
        const std::string type =
            colon == std::string::npos ? std::string() : UpperCase(Trim(group.substr(colon + 1)));
        std::string mode;
        for (const char* word : {"var ", "const ", "out "})
            if (UpperCase(names).rfind(UpperCase(word), 0) == 0) {
                mode = UpperCase(word);
                names = Trim(names.substr(mode.size()));
            }
        const std::size_t count = 1 + std::count(names.begin(), names.end(), ',');
        out.insert(out.end(), count, mode + type);
    }
    return out;
}

std::vector<std::string> FormClassMethods(const std::string& unitText, const std::string& className,
                                          const std::string& eventType) {
    std::vector<std::string> out;
    std::optional<std::vector<std::string>> wanted;
    if (!eventType.empty()) {
        const std::optional<std::string> parameters = EventParameters(eventType);
        if (!parameters)
            return out;
        wanted = ParameterTypes(*parameters);
    }
    if (!IsValidIdent(className))
        return out;
    const std::regex head("\\b" + className + "\\s*=\\s*class\\b", std::regex::icase);
    std::smatch m;
    if (!std::regex_search(unitText, m, head))
        return out;
    const std::size_t start = m.position(0) + m.length(0);
    // The class ends at the first "end" that stands as a word at its level.
    const std::regex endWord("\\bend\\b", std::regex::icase);
    std::smatch e;
    const std::string rest = unitText.substr(start);
    const std::string body =
        std::regex_search(rest, e, endWord) ? rest.substr(0, e.position(0)) : rest;
    const std::regex method("\\b(procedure|function)\\s+([A-Za-z_][A-Za-z0-9_]*)\\s*(\\([^)]*\\))?",
                            std::regex::icase);
    for (auto it = std::sregex_iterator(body.begin(), body.end(), method);
         it != std::sregex_iterator(); ++it) {
        if (wanted &&
            (!SameText((*it)[1].str(), "procedure") || ParameterTypes((*it)[3].str()) != *wanted))
            continue;
        out.push_back((*it)[2]);
    }
    return out;
}

std::optional<THandlerPlace> AddEventHandler(const std::string& unitText,
                                             const std::string& className,
                                             const std::string& handler,
                                             const std::string& eventType) {
    const std::optional<std::string> parameters = EventParameters(eventType);
    if (!parameters || !IsValidIdent(handler) || !IsValidIdent(className))
        return std::nullopt;
    const std::string eol = unitText.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    const auto icase = std::regex::icase;
    std::smatch m;

    // Implemented already: the editor goes into its body.
    const std::regex body("\\bprocedure\\s+" + className + "\\s*\\.\\s*" + handler + "\\b[^;]*;",
                          icase);
    if (std::regex_search(unitText, m, body)) {
        const std::size_t after = m.position(0) + m.length(0);
        const std::size_t begin = unitText.find("begin", after);
        THandlerPlace place{unitText,
                            begin == std::string::npos ? after : NextLine(unitText, begin), false};
        return place;
    }

    const std::regex head("\\b" + className + "\\s*=\\s*class\\b", icase);
    if (!std::regex_search(unitText, m, head))
        return std::nullopt;
    // The first section ends at the first line that opens another or ends the class.
    const std::regex boundary("^\\s*(private|protected|public|published|end)\\b", icase);
    std::size_t line = NextLine(unitText, m.position(0));
    while (line < unitText.size()) {
        const std::size_t next = NextLine(unitText, line);
        const std::string text = unitText.substr(line, next - line);
        if (std::regex_search(text, boundary))
            break;
        line = next;
    }
    if (line >= unitText.size())
        return std::nullopt;
    std::string out = unitText;
    out.insert(line, "    procedure " + handler + *parameters + ";" + eol);

    // The body goes before the unit's last "end.".
    const std::regex finalEnd("\\bend\\s*\\.", icase);
    std::size_t last = std::string::npos;
    for (auto it = std::sregex_iterator(out.begin(), out.end(), finalEnd);
         it != std::sregex_iterator(); ++it)
        last = it->position(0);
    if (last == std::string::npos || last < line)
        return std::nullopt;
    const std::string heading =
        "procedure " + className + "." + handler + *parameters + ";" + eol + "begin" + eol;
    out.insert(last, heading + eol + "end;" + eol + eol);
    return THandlerPlace{std::move(out), last + heading.size(), true};
}

} // namespace vesk
