#include "expert/parsing/ParsPas.h"

#include "expert/parsing/Parser.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <limits>

namespace vesk {

namespace {

constexpr CharSet ReaderDelims{"\n\r (),.:;="};

bool IsRoutineKeyword(std::string_view word) {
    return SameText(word, "procedure") || SameText(word, "function") ||
           SameText(word, "destructor") || SameText(word, "constructor");
}

// Blanks and control characters off both ends.
std::string_view TrimControls(std::string_view text) {
    auto isBlank = [](char ch) { return static_cast<unsigned char>(ch) <= ' '; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

void TParserList::SetText(std::string text) {
    FText = std::move(text);
    FLines = SplitLines(FText);
}

std::string_view TParserList::Get(int index) const {
    if (index < 0 || index >= Count())
        throw EStringListError("List index out of bounds (" + IntToStr(index) + ")");
    return FLines[static_cast<std::size_t>(index)];
}

void TParserList::Init() {
    Line = 0;
    Col = 1;
}

std::string_view TParserList::NextWord() {
    if (Eof())
        return {}; // past the last line there is nothing to read
    const std::string_view s = FLines[static_cast<std::size_t>(Line)];
    const auto len =
        static_cast<int>(std::min<std::size_t>(s.size(), std::numeric_limits<int>::max() - 1));
    while (Col <= len && ReaderDelims.Contains(s[static_cast<std::size_t>(Col) - 1]))
        ++Col;
    const int start = Col;
    while (Col <= len && !ReaderDelims.Contains(s[static_cast<std::size_t>(Col) - 1]))
        ++Col;
    const std::string_view word = start <= len ? s.substr(static_cast<std::size_t>(start) - 1,
                                                          static_cast<std::size_t>(Col - start))
                                               : std::string_view();
    if (Col >= len) {
        ++Line;
        Col = 1;
    }
    return word;
}

void TMethodList::Clear() {
    FItems.clear();
    FKeys.clear();
    FKeyText.clear();
}

TMethodList::FilterKey TMethodList::MakeKey(const TMethod& method) {
    const FilterKey key{FKeyText.size(), method.OwnerClass.size(), method.MethodName.size(),
                        method.DisplayName.size()};
    FKeyText += UpperCase(method.OwnerClass);
    FKeyText += UpperCase(method.MethodName);
    FKeyText += method.DisplayName;
    return key;
}

void TMethodList::Parse(const TStringList* lines) {
    Clear();
    if (lines == nullptr)
        return;
    Reader.SetText(lines->Text());
    ScanDeclarations();
}

void TMethodList::ParseText(std::string text) {
    Clear();
    Reader.SetText(std::move(text));
    ScanDeclarations();
}

void TMethodList::ScanDeclarations() {
    Reader.Init();
    std::string_view before; // the word this loop read before the current one
    std::string_view className;
    bool inClass = false;
    while (!Reader.Eof()) {
        const std::string_view word = Reader.NextWord();
        if (SameText(word, "implementation"))
            return;
        if (SameText(word, "class")) {
            className = before;
            inClass = true;
        } else if (inClass && SameText(word, "end")) {
            className = {};
            inClass = false;
        } else if (IsRoutineKeyword(word)) {
            auto method = std::make_unique<TMethod>();
            method->Kind = word;
            method->Position = static_cast<std::size_t>(word.data() - Reader.Text().data());
            method->MethodName = Reader.GetWord();
            method->OwnerClass = className;
            method->DisplayName = className.empty() ? method->MethodName
                                                    : method->OwnerClass + "." + method->MethodName;
            FKeys.push_back(MakeKey(*method));
            FItems.push_back(std::move(method));
        }
        before = word;
    }
}

void TMethodList::SplitFilter(std::string_view filter, std::string& classPart,
                              std::string& namePart) {
    static constexpr CharSet Dot{"."};
    std::string first = GetWord(filter, 1, Dot);
    std::string second = GetWord(filter, 2, Dot);
    if (filter.find('.') == std::string_view::npos) {
        second = std::move(first);
        first.clear();
    }
    classPart = TrimControls(first);
    namePart = TrimControls(second);
}

std::unique_ptr<TStringList> TMethodList::GetMethods(std::string_view filter) {
    std::string classPart, namePart;
    SplitFilter(filter, classPart, namePart);
    const std::string a = UpperCase(classPart);
    const std::string b = UpperCase(namePart);

    FilterIndex.Clear();
    FilterIndex.SetCapacity(Count());
    auto result = std::make_unique<TStringList>();
    result->SetCapacity(Count());
    const std::string_view keyText = FKeyText;
    for (int i = 0; i < Count(); ++i) {
        const FilterKey& key = FKeys[static_cast<std::size_t>(i)];
        const std::string_view owner = keyText.substr(key.Start, key.OwnerLen);
        const std::string_view name = keyText.substr(key.Start + key.OwnerLen, key.NameLen);
        if (owner.starts_with(a) && name.starts_with(b)) {
            FilterIndex.Add(IntToStr(i));
            result->Add(std::string(
                keyText.substr(key.Start + key.OwnerLen + key.NameLen, key.DisplayLen)));
        }
    }
    return result;
}

void TMethodList::GetMethodPos(int index, TEditPos& topPos, TEditPos& cursorPos) {
    const TMethod& method = GetMethod(StrToInt(FilterIndex.Get(index)));
    topPos.Col = 1;
    topPos.Line = -1;
    cursorPos.Col = 1;

    while (!Reader.Eof()) {
        if (!SameText(Reader.NextWord(), method.Kind))
            continue;
        std::string_view word = Reader.NextWord();
        if (!method.OwnerClass.empty()) {
            if (!SameText(word, method.OwnerClass))
                continue;
            word = Reader.NextWord();
        }
        if (!SameText(word, method.MethodName))
            continue;

        topPos.Line = Reader.Line + 1;
        while (!Reader.Eof()) {
            if (!SameText(Reader.NextWord(), "begin"))
                continue;
            if (Reader.Eof())
                return; // "begin" is the last word: there is no statement to stand on
            const std::string_view statement = Reader.NextWord();
            cursorPos.Line = Reader.Line + 1;
            const int col = std::max(1, Reader.Col - static_cast<int>(statement.size()));
            cursorPos.Col = static_cast<std::int16_t>(std::min(col, 32767));
            return;
        }
        return;
    }
}

void TMethodList::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
}

const TMethod& TMethodList::GetMethod(int index) const {
    CheckIndex(index);
    return *FItems[static_cast<std::size_t>(index)];
}

void TMethodList::SetMethod(int index, std::unique_ptr<TMethod> method) {
    CheckIndex(index);
    FKeys[static_cast<std::size_t>(index)] = MakeKey(*method);
    FItems[static_cast<std::size_t>(index)] = std::move(method);
}

} // namespace vesk
