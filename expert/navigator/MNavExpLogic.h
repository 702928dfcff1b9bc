// What the Method Navigator window shows beyond the plain method list: the entries of
// the current filter under the user's options (how the filter matches, in which order
// the entries stand), the letters a filter matched, the line of each method's body, the
// full header of a method and the routine that holds a given line. The window draws
// these and forwards its events; the method list underneath is ParsPas's TMethodList.
#pragma once

#include "expert/parsing/ParsPas.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// How the filter text picks methods.
enum class TMNavMatch {
    nmPrefix,   // class and name begin with the two parts of the filter (the classic way)
    nmAnywhere, // class and name contain them
    nmFuzzy     // the filter's letters stand in the display name in order, gaps allowed
};

// The user's choices, each kept in a value of its own under the add-in's root key. The
// defaults are the window's classic behaviour.
struct TMNavOptions {
    TMNavMatch Match = TMNavMatch::nmPrefix;
    bool LineColumn = false;  // each entry shows the line of its body
    bool SortByName = false;  // entries by display name instead of by declaration
    bool HeaderLine = false;  // the selected method's full header below the list
    bool OpenAtCaret = false; // opening selects the routine that holds the editor's caret

    // A missing or unreadable value keeps its default; nothing is reported.
    static TMNavOptions Read();
    // Writes every choice at once; raises what the settings store raises.
    void Write() const;
    bool operator==(const TMNavOptions&) const = default;
};

// Names of the values the options are kept in, under VeskRegistryRoot.
inline constexpr const char* MNavMatchValue = "MNavExpDlg.MatchMode";
inline constexpr const char* MNavLineColumnValue = "MNavExpDlg.LineColumn";
inline constexpr const char* MNavSortByNameValue = "MNavExpDlg.SortByName";
inline constexpr const char* MNavHeaderLineValue = "MNavExpDlg.HeaderLine";
inline constexpr const char* MNavOpenAtCaretValue = "MNavExpDlg.OpenAtCaret";

// A run of matched characters of a display name, in bytes.
struct TMatchSpan {
    int Start;
    int Length;
    bool operator==(const TMatchSpan&) const = default;
};

// The entries the window lists. Rows count from 0 in the order shown; each row stands
// for one method of Methods(). After every Filter, the method list's filter result is
// the rows in their order, so that GetMethodPos of a row finds that row's method.
class TMNavExpLogic {
public:
    TMethodList& Methods() { return FMethods; }
    const TMethodList& Methods() const { return FMethods; }

    // Parses the unit's lines (none: no editor, the list stays empty) and forgets the
    // last filter; call Filter next.
    void Parse(const TStringList* lines);

    const TMNavOptions& Options() const { return FOptions; }
    // Takes effect with the next Filter.
    void SetOptions(const TMNavOptions& options) { FOptions = options; }

    // Lists the methods the filter picks under the options.
    void Filter(std::string_view filter);
    int Count() const { return static_cast<int>(FRows.size()); }
    int MethodOf(int row) const; // raises EListError outside the rows
    const std::string& DisplayName(int row) const;
    // What the filter matched in the row's display name; empty for the prefix match,
    // which is shown plain, and for an empty filter.
    std::vector<TMatchSpan> MatchedSpans(int row) const;
    // The row showing method Method, or -1.
    int RowOfMethod(int method) const;

    // The line (from 1) of the row's body header after "implementation", the first one
    // that names its kind, class and name; -1 when there is none.
    int BodyLine(int row);
    // The row whose method's body header is the last one at or before Line (from 1):
    // the routine that holds that line. -1 when no listed body starts there or before.
    int RowHoldingLine(int line);
    // The row's declaration as written, from its keyword to the ";" that ends it, with
    // runs of blanks and line breaks made one blank.
    std::string Header(int row) const;

    // Header and first statement of the row's body (TMethodList::GetMethodPos); when no
    // "begin" follows the header, CursorPos is the header too. A row outside the list
    // (nothing selected) finds nothing: TopPos's line is -1.
    void GetMethodPos(int row, TEditPos& topPos, TEditPos& cursorPos);

private:
    void MatchPrefix(std::string_view filter);
    void MatchAnywhere(std::string_view filter);
    void MatchFuzzy(std::string_view filter);
    void OrderByName();
    void PublishRows(); // the rows become the method list's filter result
    void ScanBodies();
    const std::vector<int>& NameOrder();

    TMethodList FMethods;
    TMNavOptions FOptions;
    std::string FFilter;
    std::vector<int> FRows; // method numbers, in the order shown
    std::vector<std::string> FUpperOwner, FUpperName, FUpperDisplay; // folded once per parse
    std::vector<int> FNameOrder;     // method numbers by display name; built on first use
    std::vector<int> FBodyLines;     // per method; empty until first asked
    std::vector<int> FMethodsByLine; // methods with a body, by the line of their body
};

} // namespace vesk
