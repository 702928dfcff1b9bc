#include "platform/rtl/Classes.h"

#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <cstring>

namespace vesk {

namespace {

// The next line break at or after Start: a LF, or a CR (which may begin a CR LF).
std::size_t NextBreak(std::string_view text, std::size_t start) {
    const char* begin = text.data() + start;
    const std::size_t left = text.size() - start;
    const void* lf = std::memchr(begin, '\n', left);
    const std::size_t lfAt =
        lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - begin) : left;
    const void* cr = std::memchr(begin, '\r', lfAt); // a CR only counts before the LF
    const std::size_t at =
        cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - begin) : lfAt;
    return at == left ? std::string_view::npos : start + at;
}

} // namespace

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    lines.reserve(text.size() / 32 + 1);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = NextBreak(text, start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start =
            end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

void TStringList::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        throw EStringListError("List index out of bounds (" + IntToStr(index) + ")");
}

int TStringList::Compare(std::string_view a, std::string_view b) const {
    return FCaseSensitive ? a.compare(b) : CompareText(a, b);
}

const std::string& TStringList::Get(int index) const {
    CheckIndex(index);
    return FItems[static_cast<std::size_t>(index)].Text;
}

void TStringList::Put(int index, std::string value) {
    if (FSorted)
        throw EStringListError("Operation not allowed on sorted string list");
    CheckIndex(index);
    FItems[static_cast<std::size_t>(index)].Text = std::move(value);
}

TObject* TStringList::Objects(int index) const {
    CheckIndex(index);
    return FItems[static_cast<std::size_t>(index)].Object;
}

void TStringList::PutObject(int index, TObject* object) {
    CheckIndex(index);
    FItems[static_cast<std::size_t>(index)].Object = object;
}

int TStringList::AddObject(std::string value, TObject* object) {
    if (!FSorted) {
        FItems.push_back(Item{std::move(value), object});
        return Count() - 1;
    }
    int index = Count();
    if (Find(value, index)) {
        if (FDuplicates == TDuplicates::dupIgnore)
            return index;
        if (FDuplicates == TDuplicates::dupError)
            throw EStringListError("String list does not allow duplicates");
        // dupAccept: after the equal run, so equal entries keep their order of arrival
        while (index < Count() && Compare(FItems[static_cast<std::size_t>(index)].Text, value) == 0)
            ++index;
    }
    FItems.insert(FItems.begin() + index, Item{std::move(value), object});
    return index;
}

void TStringList::InsertObject(int index, std::string value, TObject* object) {
    if (FSorted)
        throw EStringListError("Operation not allowed on sorted string list");
    if (index < 0 || index > Count())
        throw EStringListError("List index out of bounds (" + IntToStr(index) + ")");
    FItems.insert(FItems.begin() + index, Item{std::move(value), object});
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    FItems.erase(FItems.begin() + index);
}

void TStringList::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(FItems[static_cast<std::size_t>(index1)], FItems[static_cast<std::size_t>(index2)]);
}

void TStringList::AddStrings(const TStringList& other) {
    for (const Item& item : std::vector<Item>(other.FItems)) // a copy: other may be *this
        AddObject(item.Text, item.Object);
}

void TStringList::Assign(const TStringList& other) {
    if (&other == this)
        return;
    FItems.clear();
    AddStrings(other);
}

int TStringList::IndexOf(std::string_view value) const {
    if (FSorted) {
        int index = 0;
        return Find(value, index) ? index : -1;
    }
    for (int i = 0; i < Count(); ++i)
        if (Compare(FItems[static_cast<std::size_t>(i)].Text, value) == 0)
            return i;
    return -1;
}

int TStringList::IndexOfObject(const TObject* object) const {
    for (int i = 0; i < Count(); ++i)
        if (FItems[static_cast<std::size_t>(i)].Object == object)
            return i;
    return -1;
}

bool TStringList::Find(std::string_view value, int& index) const {
    auto it = std::lower_bound(
        FItems.begin(), FItems.end(), value,
        [this](const Item& item, std::string_view v) { return Compare(item.Text, v) < 0; });
    index = static_cast<int>(it - FItems.begin());
    return it != FItems.end() && Compare(it->Text, value) == 0;
}

std::string TStringList::Text() const {
    std::string text;
    for (const Item& item : FItems) {
        text += item.Text;
        text += '\n';
    }
    return text;
}

void TStringList::SetText(std::string_view text) {
    std::vector<Item> lines;
    const std::vector<std::string_view> views = SplitLines(text);
    lines.reserve(views.size());
    for (std::string_view line : views)
        lines.push_back(Item{std::string(line), nullptr});
    FItems = std::move(lines);
    if (FSorted)
        Sort();
}

void TStringList::SetSorted(bool sorted) {
    if (sorted && !FSorted) {
        FSorted = true;
        Sort();
    }
    FSorted = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
    if (caseSensitive == FCaseSensitive)
        return;
    FCaseSensitive = caseSensitive;
    if (FSorted)
        Sort();
}

void TStringList::Sort() {
    std::stable_sort(FItems.begin(), FItems.end(),
                     [this](const Item& a, const Item& b) { return Compare(a.Text, b.Text) < 0; });
}

} // namespace vesk
