// A word-level reader of Pascal units: lists the routines declared before
// "implementation" with their classes, filters them by class and name prefix, and
// finds the header and first statement of a chosen one's body.
#pragma once

#include "platform/ota/EditPos.h"
#include "platform/rtl/Classes.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// The lines of a text and a read cursor over them. The text is kept whole and the
// lines are views into it, so a large unit costs one copy, not one string per line.
class TParserList {
public:
    int Line = 0; // line being read, from 0
    int Col = 1;  // next character to look at in that line, from 1

    // Replaces the lines with those of Text (split at CR LF, CR or LF).
    void SetText(std::string text);
    int Count() const { return static_cast<int>(FLines.size()); }
    // Line Index (from 0); raises EStringListError outside the text.
    std::string_view Get(int index) const;

    void Init();
    // The next word; empty when the line had no word left. Words are separated by
    // line breaks, blanks and ( ) , . : ; = (a tab belongs to a word). The reader moves
    // to the next line once at most one character is left after the word.
    std::string GetWord() { return std::string(NextWord()); }
    // The same word as a view into the text; valid until the next SetText.
    std::string_view NextWord();
    // True at the end of the text ("EOF" is taken by the C library's macro).
    bool Eof() const { return Line >= Count(); }
    // The whole text; a word NextWord returned is a view into it.
    std::string_view Text() const { return FText; }

private:
    std::string FText;
    std::vector<std::string_view> FLines;
};

// One declared routine.
class TMethod : public TObject {
public:
    std::string MethodName;
    std::string OwnerClass; // the class whose declaration it stands in, or empty
    std::string Kind;       // procedure, function, constructor or destructor, as written
    std::string DisplayName;
    std::size_t Position = 0; // where its keyword stands in the parsed text, in bytes from 0
};

// The routines of one unit, in the order of declaration, and the navigation state of
// the window that shows them.
class TMethodList {
public:
    TParserList Reader;      // the text and the shared read cursor
    TStringList FilterIndex; // for each entry of the last filter result, its method's number

    // Lists the routines declared before "implementation"; none: the list stays empty.
    void Parse(const TStringList* lines);
    // Parse of a whole text, as the editor hands it over.
    void ParseText(std::string text);

    // Display names of the methods whose class starts with the part before "." and whose
    // name starts with the part after it (no "." : the name only), ignoring case.
    std::unique_ptr<TStringList> GetMethods(std::string_view filter);
    // The two parts of a filter as GetMethods reads them: the class part (empty without a
    // ".") and the name part, blanks and control characters taken off both ends.
    static void SplitFilter(std::string_view filter, std::string& classPart, std::string& namePart);

    // Finds the body of entry Index of the last filter result, going on from where the
    // reader stands: TopPos gets the header's line, CursorPos the first statement's line
    // and column. TopPos's line stays -1 when no header is found; CursorPos's line is
    // left as it was when no statement follows. An Index outside the filter result
    // raises EStringListError.
    void GetMethodPos(int index, TEditPos& topPos, TEditPos& cursorPos);

    int Count() const { return static_cast<int>(FItems.size()); }
    const TMethod& GetMethod(int index) const;
    void SetMethod(int index, std::unique_ptr<TMethod> method);

private:
    // What the filter reads of one method: its class and name in ASCII upper case and
    // its display name, as places in FKeyText. Kept side by side, and folded once, so a
    // keystroke over thousands of methods is a run of memory compares over one buffer.
    struct FilterKey {
        std::size_t Start;
        std::size_t OwnerLen, NameLen, DisplayLen; // laid out in this order from Start
    };

    void ScanDeclarations();
    void CheckIndex(int index) const;
    void Clear();
    FilterKey MakeKey(const TMethod& method);

    std::vector<std::unique_ptr<TMethod>> FItems;
    std::vector<FilterKey> FKeys;
    std::string FKeyText;
};

} // namespace vesk
