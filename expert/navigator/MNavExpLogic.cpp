#include "expert/navigator/MNavExpLogic.h"

#include "expert/frame/VeskCommon.h"
#include "platform/ota/HostServices.h"
#include "platform/registry/Registry.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <unordered_map>

namespace vesk {

namespace {

bool IsRoutineKeyword(std::string_view word) {
    return SameText(word, "procedure") || SameText(word, "function") ||
           SameText(word, "destructor") || SameText(word, "constructor");
}

bool IsBlank(char ch) {
    return static_cast<unsigned char>(ch) <= ' ';
}

// Case folded, blanks and control characters left out: what a fuzzy filter looks for.
std::string FuzzyPattern(std::string_view filter) {
    std::string pattern;
    for (const char ch : filter)
        if (!IsBlank(ch))
            pattern += ch;
    return UpperCase(pattern);
}

// Where each letter of Pattern stands in Text, taking the earliest place each time;
// empty when Text does not hold them all in order.
std::vector<int> FuzzyPlaces(std::string_view pattern, std::string_view text) {
    std::vector<int> places;
    std::size_t at = 0;
    for (const char ch : pattern) {
        at = text.find(ch, at);
        if (at == std::string_view::npos)
            return {};
        places.push_back(static_cast<int>(at++));
    }
    return places;
}

bool FuzzyMatches(std::string_view pattern, std::string_view text) {
    std::size_t at = 0;
    for (const char ch : pattern) {
        at = text.find(ch, at);
        if (at == std::string_view::npos)
            return false;
        ++at;
    }
    return true;
}

template <typename Apply>
void ReadOption(TRegistry& reg, const char* name, Apply apply) {
    try {
        if (reg.ValueExists(name))
            apply(reg.ReadInteger(name));
    } catch (const std::exception&) {
        // a value of another kind: the default stays
    }
}

} // namespace

// Options

TMNavOptions TMNavOptions::Read() {
    TMNavOptions options;
    try {
        TRegistry reg(HostServices().SettingsStore());
        if (!reg.OpenKey(VeskRegistryRoot, false))
            return options;
        ReadOption(reg, MNavMatchValue, [&](int value) {
            if (value >= 0 && value <= static_cast<int>(TMNavMatch::nmFuzzy))
                options.Match = static_cast<TMNavMatch>(value);
        });
        ReadOption(reg, MNavLineColumnValue, [&](int value) { options.LineColumn = value != 0; });
        ReadOption(reg, MNavSortByNameValue, [&](int value) { options.SortByName = value != 0; });
        ReadOption(reg, MNavHeaderLineValue, [&](int value) { options.HeaderLine = value != 0; });
        ReadOption(reg, MNavOpenAtCaretValue, [&](int value) { options.OpenAtCaret = value != 0; });
    } catch (const std::exception&) {
        // an unreadable store: the window works with the defaults
    }
    return options;
}

void TMNavOptions::Write() const {
    TRegistry reg(HostServices().SettingsStore());
    reg.OpenKey(VeskRegistryRoot, true);
    TRegistryUpdate update(reg);
    reg.WriteInteger(MNavMatchValue, static_cast<int>(Match));
    reg.WriteInteger(MNavLineColumnValue, LineColumn ? 1 : 0);
    reg.WriteInteger(MNavSortByNameValue, SortByName ? 1 : 0);
    reg.WriteInteger(MNavHeaderLineValue, HeaderLine ? 1 : 0);
    reg.WriteInteger(MNavOpenAtCaretValue, OpenAtCaret ? 1 : 0);
    update.Commit();
}

// Parsing and filtering

void TMNavExpLogic::Parse(const TStringList* lines) {
    FMethods.Parse(lines);
    FFilter.clear();
    FRows.clear();
    FNameOrder.clear();
    FBodyLines.clear();
    FMethodsByLine.clear();
    const int count = FMethods.Count();
    FUpperOwner.assign(static_cast<std::size_t>(count), {});
    FUpperName.assign(static_cast<std::size_t>(count), {});
    FUpperDisplay.assign(static_cast<std::size_t>(count), {});
    for (int i = 0; i < count; ++i) {
        const TMethod& method = FMethods.GetMethod(i);
        const auto at = static_cast<std::size_t>(i);
        FUpperOwner[at] = UpperCase(method.OwnerClass);
        FUpperName[at] = UpperCase(method.MethodName);
        FUpperDisplay[at] = UpperCase(method.DisplayName);
    }
}

void TMNavExpLogic::Filter(std::string_view filter) {
    FFilter = filter;
    FRows.clear();
    switch (FOptions.Match) {
    case TMNavMatch::nmPrefix:
        MatchPrefix(filter);
        break;
    case TMNavMatch::nmAnywhere:
        MatchAnywhere(filter);
        break;
    case TMNavMatch::nmFuzzy:
        MatchFuzzy(filter);
        break;
    }
    if (FOptions.SortByName)
        OrderByName();
    // The classic filter's result already is the method list's; any other is published.
    if (FOptions.Match != TMNavMatch::nmPrefix || FOptions.SortByName)
        PublishRows();
}

void TMNavExpLogic::MatchPrefix(std::string_view filter) {
    FMethods.GetMethods(filter);
    const TStringList& numbers = FMethods.FilterIndex;
    FRows.reserve(static_cast<std::size_t>(numbers.Count()));
    for (int i = 0; i < numbers.Count(); ++i)
        FRows.push_back(StrToInt(numbers[i]));
}

void TMNavExpLogic::MatchAnywhere(std::string_view filter) {
    std::string classPart, namePart;
    TMethodList::SplitFilter(filter, classPart, namePart);
    const std::string a = UpperCase(classPart);
    const std::string b = UpperCase(namePart);
    for (int i = 0; i < FMethods.Count(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (FUpperOwner[at].find(a) != std::string::npos &&
            FUpperName[at].find(b) != std::string::npos)
            FRows.push_back(i);
    }
}

void TMNavExpLogic::MatchFuzzy(std::string_view filter) {
    const std::string pattern = FuzzyPattern(filter);
    for (int i = 0; i < FMethods.Count(); ++i)
        if (FuzzyMatches(pattern, FUpperDisplay[static_cast<std::size_t>(i)]))
            FRows.push_back(i);
}

const std::vector<int>& TMNavExpLogic::NameOrder() {
    if (FNameOrder.size() != static_cast<std::size_t>(FMethods.Count())) {
        FNameOrder.resize(static_cast<std::size_t>(FMethods.Count()));
        for (std::size_t i = 0; i < FNameOrder.size(); ++i)
            FNameOrder[i] = static_cast<int>(i);
        std::stable_sort(FNameOrder.begin(), FNameOrder.end(), [this](int a, int b) {
            return FUpperDisplay[static_cast<std::size_t>(a)] <
                   FUpperDisplay[static_cast<std::size_t>(b)];
        });
    }
    return FNameOrder;
}

void TMNavExpLogic::OrderByName() {
    std::vector<char> picked(static_cast<std::size_t>(FMethods.Count()), 0);
    for (const int method : FRows)
        picked[static_cast<std::size_t>(method)] = 1;
    FRows.clear();
    for (const int method : NameOrder())
        if (picked[static_cast<std::size_t>(method)])
            FRows.push_back(method);
}

void TMNavExpLogic::PublishRows() {
    TStringList& numbers = FMethods.FilterIndex;
    numbers.Clear();
    numbers.SetCapacity(Count());
    for (const int method : FRows)
        numbers.Add(IntToStr(method));
}

int TMNavExpLogic::MethodOf(int row) const {
    if (row < 0 || row >= Count())
        throw EListError("List index out of bounds (" + IntToStr(row) + ")");
    return FRows[static_cast<std::size_t>(row)];
}

const std::string& TMNavExpLogic::DisplayName(int row) const {
    return FMethods.GetMethod(MethodOf(row)).DisplayName;
}

int TMNavExpLogic::RowOfMethod(int method) const {
    const auto it = std::find(FRows.begin(), FRows.end(), method);
    return it == FRows.end() ? -1 : static_cast<int>(it - FRows.begin());
}

std::vector<TMatchSpan> TMNavExpLogic::MatchedSpans(int row) const {
    const auto method = static_cast<std::size_t>(MethodOf(row));
    std::vector<TMatchSpan> spans;
    if (FOptions.Match == TMNavMatch::nmAnywhere) {
        std::string classPart, namePart;
        TMethodList::SplitFilter(FFilter, classPart, namePart);
        const std::string& owner = FUpperOwner[method];
        if (!classPart.empty())
            spans.push_back({static_cast<int>(owner.find(UpperCase(classPart))),
                             static_cast<int>(classPart.size())});
        if (!namePart.empty()) {
            const int nameStart = owner.empty() ? 0 : static_cast<int>(owner.size()) + 1;
            spans.push_back(
                {nameStart + static_cast<int>(FUpperName[method].find(UpperCase(namePart))),
                 static_cast<int>(namePart.size())});
        }
    } else if (FOptions.Match == TMNavMatch::nmFuzzy) {
        for (const int place : FuzzyPlaces(FuzzyPattern(FFilter), FUpperDisplay[method])) {
            if (!spans.empty() && spans.back().Start + spans.back().Length == place)
                ++spans.back().Length;
            else
                spans.push_back({place, 1});
        }
    }
    return spans;
}

// Bodies and headers

// One pass over the words after "implementation": every routine header met gives its
// line to the first method of that kind, class and name still without one.
void TMNavExpLogic::ScanBodies() {
    FBodyLines.assign(static_cast<std::size_t>(FMethods.Count()), -1);
    FMethodsByLine.clear();
    std::unordered_map<std::string, std::vector<int>> waiting;
    auto keyOf = [](std::string_view kind, std::string_view owner, std::string_view name) {
        return UpperCase(kind) + '\0' + UpperCase(owner) + '\0' + UpperCase(name);
    };
    for (int i = FMethods.Count() - 1; i >= 0; --i) {
        const TMethod& method = FMethods.GetMethod(i);
        waiting[keyOf(method.Kind, method.OwnerClass, method.MethodName)].push_back(i);
    }
    auto claim = [&](const std::string& key, int line) {
        const auto it = waiting.find(key);
        if (it == waiting.end() || it->second.empty())
            return;
        FBodyLines[static_cast<std::size_t>(it->second.back())] = line;
        it->second.pop_back();
    };

    TParserList scan;
    scan.SetText(std::string(FMethods.Reader.Text()));
    scan.Init();
    while (!scan.Eof() && !SameText(scan.NextWord(), "implementation")) {
    }
    // Reads the next word with the line (from 1) it stands on.
    auto next = [&scan](int& line) {
        line = scan.Line + 1;
        return scan.NextWord();
    };
    int line = 0;
    std::string_view word = scan.Eof() ? std::string_view() : next(line);
    while (!scan.Eof()) {
        if (!IsRoutineKeyword(word)) {
            word = next(line);
            continue;
        }
        const std::string_view kind = word;
        const int headerLine = line;
        const std::string_view first = next(line);
        if (IsRoutineKeyword(first)) {
            word = first;
            continue;
        }
        claim(keyOf(kind, "", first), headerLine);
        if (scan.Eof())
            break;
        const std::string_view second = next(line);
        if (IsRoutineKeyword(second)) {
            word = second;
            continue;
        }
        claim(keyOf(kind, first, second), headerLine);
        word = scan.Eof() ? std::string_view() : next(line);
    }

    for (int i = 0; i < FMethods.Count(); ++i)
        if (FBodyLines[static_cast<std::size_t>(i)] > 0)
            FMethodsByLine.push_back(i);
    std::stable_sort(FMethodsByLine.begin(), FMethodsByLine.end(), [this](int a, int b) {
        return FBodyLines[static_cast<std::size_t>(a)] < FBodyLines[static_cast<std::size_t>(b)];
    });
}

int TMNavExpLogic::BodyLine(int row) {
    const int method = MethodOf(row);
    if (FBodyLines.size() != static_cast<std::size_t>(FMethods.Count()))
        ScanBodies();
    return FBodyLines[static_cast<std::size_t>(method)];
}

int TMNavExpLogic::RowHoldingLine(int line) {
    if (FBodyLines.size() != static_cast<std::size_t>(FMethods.Count()))
        ScanBodies();
    const auto after = std::upper_bound(
        FMethodsByLine.begin(), FMethodsByLine.end(), line, [this](int value, int method) {
            return value < FBodyLines[static_cast<std::size_t>(method)];
        });
    if (after == FMethodsByLine.begin())
        return -1;
    return RowOfMethod(*std::prev(after));
}

std::string TMNavExpLogic::Header(int row) const {
    constexpr std::size_t Longest = 1000; // a header running on is cut here
    const TMethod& method = FMethods.GetMethod(MethodOf(row));
    const std::string_view text = FMethods.Reader.Text();
    std::string header;
    int depth = 0;
    bool blank = false;
    for (std::size_t at = method.Position; at < text.size() && header.size() < Longest; ++at) {
        const char ch = text[at];
        if (IsBlank(ch)) {
            blank = !header.empty();
            continue;
        }
        if (blank)
            header += ' ';
        blank = false;
        header += ch;
        if (ch == '(')
            ++depth;
        else if (ch == ')' && depth > 0)
            --depth;
        else if (ch == ';' && depth == 0)
            break;
    }
    return header;
}

void TMNavExpLogic::GetMethodPos(int row, TEditPos& topPos, TEditPos& cursorPos) {
    cursorPos = {1, -1};
    if (row < 0 || row >= Count()) {
        topPos = {1, -1};
        return;
    }
    FMethods.GetMethodPos(row, topPos, cursorPos);
    if (topPos.Line >= 0 && cursorPos.Line < 0)
        cursorPos = topPos; // a header without a "begin" after it: the caret goes there
}

} // namespace vesk
