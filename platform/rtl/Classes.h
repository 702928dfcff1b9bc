// The host library's basic classes: the object base and the ordered string list.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// Base of the objects a string list can carry beside its strings.
class TObject {
public:
    virtual ~TObject() = default;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };

// The lines of a text, split at CR LF, CR or LF with the breaks dropped; a break at the
// very end does not start another line. The views point into Text.
std::vector<std::string_view> SplitLines(std::string_view text);

// An ordered list of byte strings, each with an optional object the list does not
// own. When Sorted, entries are kept in order (without regard to ASCII case unless
// CaseSensitive) and Add puts each one in its place. Index errors raise
// EStringListError.
class TStringList {
public:
    TStringList() = default;
    virtual ~TStringList() = default;

    int Count() const { return static_cast<int>(FItems.size()); }
    const std::string& Get(int index) const;
    const std::string& operator[](int index) const { return Get(index); }
    void Put(int index, std::string value);
    TObject* Objects(int index) const;
    void PutObject(int index, TObject* object);

    int Add(std::string value) { return AddObject(std::move(value), nullptr); }
    int AddObject(std::string value, TObject* object);
    void Insert(int index, std::string value) { InsertObject(index, std::move(value), nullptr); }
    void InsertObject(int index, std::string value, TObject* object);
    void Delete(int index);
    void Exchange(int index1, int index2);
    void Clear() { FItems.clear(); }
    // Room for Capacity entries without growing again.
    void SetCapacity(int capacity) {
        FItems.reserve(static_cast<std::size_t>(std::max(capacity, 0)));
    }
    void AddStrings(const TStringList& other);
    void Assign(const TStringList& other);

    // First entry equal to Value (by the list's comparison), or -1.
    int IndexOf(std::string_view value) const;
    int IndexOfObject(const TObject* object) const;
    // In a sorted list: the index of Value, or where it would go; true when found.
    bool Find(std::string_view value, int& index) const;

    // The lines, each followed by a line feed.
    std::string Text() const;
    // Replaces the content with the lines of Text: split at CR LF, CR or LF, the breaks
    // dropped; a break at the very end does not start another line.
    void SetText(std::string_view text);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool sorted);
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool caseSensitive);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates duplicates) { FDuplicates = duplicates; }
    void Sort();

private:
    struct Item {
        std::string Text;
        TObject* Object = nullptr;
    };
    int Compare(std::string_view a, std::string_view b) const;
    void CheckIndex(int index) const;

    std::vector<Item> FItems;
    bool FSorted = false;
    bool FCaseSensitive = false;
    TDuplicates FDuplicates = TDuplicates::dupIgnore;
};

} // namespace vesk
