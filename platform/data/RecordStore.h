// The records of an open data set, kept compact: every value a 16-byte cell, row
// after row, and the bytes of every text and blob value in one shared buffer. A
// million records of four fields take some 64 MB of cells where one object per value
// took well over twice that, and reading a field is an index and a switch.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vesk {

// One value of a record: null, an integer, a floating-point number, or bytes (text,
// dates as written in the database, blobs).
using TFieldValue = std::variant<std::monostate, std::int64_t, double, std::string>;

enum class TFieldValueKind : std::uint8_t { Null, Integer, Float, Bytes };

// A value read in place. Bytes point into the store (or the edit buffer) and are
// valid until the next change of either.
struct TFieldValueRef {
    TFieldValueKind Kind = TFieldValueKind::Null;
    union {
        std::int64_t Integer = 0;
        double Float;
    };
    std::string_view Bytes;

    static TFieldValueRef Of(const TFieldValue& value);
    TFieldValue ToValue() const;
};

// The records, each with the key (SQLite rowid, say) that the data set's kind uses
// to find it again. Edits that leave text bytes unused reclaim them once there are
// more unused bytes than the store otherwise holds, so memory stays within twice
// what the records need however long a session edits.
class TRecordStore {
public:
    explicit TRecordStore(int fieldCount = 0) : FFieldCount(fieldCount) {}

    int FieldCount() const { return FFieldCount; }
    int Count() const { return static_cast<int>(FKeys.size()); }
    std::int64_t Key(int record) const { return FKeys[static_cast<std::size_t>(record)]; }
    // The index of the record with Key, or -1.
    int IndexOfKey(std::int64_t key) const;
    // Drops every record; the field count stays.
    void Clear();
    void Reserve(std::size_t records);

    // Appending a record as it is read: one Add per field in field order, then
    // EndRecord with its key.
    void AddNull() { FCells.push_back(TCell{}); }
    void AddInteger(std::int64_t value) {
        TCell cell;
        cell.Integer = value;
        cell.Kind = TFieldValueKind::Integer;
        FCells.push_back(cell);
    }
    void AddFloat(double value) {
        TCell cell;
        cell.Float = value;
        cell.Kind = TFieldValueKind::Float;
        FCells.push_back(cell);
    }
    void AddBytes(std::string_view bytes) {
        CheckValueSize(bytes.size());
        TCell cell;
        cell.Offset = FBytes.size();
        cell.Size = static_cast<std::uint32_t>(bytes.size());
        cell.Kind = TFieldValueKind::Bytes;
        FBytes.insert(FBytes.end(), bytes.begin(), bytes.end());
        FCells.push_back(cell);
    }
    void EndRecord(std::int64_t key) { FKeys.push_back(key); }

    TFieldValueRef Get(int record, int field) const {
        const TCell& cell =
            FCells[static_cast<std::size_t>(record) * static_cast<std::size_t>(FFieldCount) +
                   static_cast<std::size_t>(field)];
        TFieldValueRef value;
        value.Kind = cell.Kind;
        switch (cell.Kind) {
        case TFieldValueKind::Integer:
            value.Integer = cell.Integer;
            break;
        case TFieldValueKind::Float:
            value.Float = cell.Float;
            break;
        case TFieldValueKind::Bytes:
            value.Bytes = std::string_view(FBytes.data() + cell.Offset, cell.Size);
            break;
        case TFieldValueKind::Null:
            break;
        }
        return value;
    }
    // Copies a record's values out, as editing starts from them.
    void ReadRecord(int record, std::vector<TFieldValue>& values) const;

    // Changes keep the store as it was when they fail (out of memory, a value too
    // long to store).
    void Append(const std::vector<TFieldValue>& values, std::int64_t key);
    void Replace(int record, const std::vector<TFieldValue>& values);
    void Delete(int record);
    // Widens every record by a null value for a new last field.
    void AddField();

    // The byte buffer's size, with the bytes no record uses any more.
    std::size_t TextBytes() const { return FBytes.size(); }
    std::size_t UnusedTextBytes() const { return FUnused; }

private:
    struct TCell {
        union {
            std::int64_t Integer = 0;
            double Float;
            std::uint64_t Offset; // of the bytes in FBytes
        };
        std::uint32_t Size = 0; // of the bytes
        TFieldValueKind Kind = TFieldValueKind::Null;
    };
    static_assert(sizeof(TCell) == 16);
    static constexpr std::size_t MaxValueBytes = UINT32_MAX;

    static void CheckValueSize(std::size_t size) {
        if (size > MaxValueBytes)
            TooLong(size);
    }
    [[noreturn]] static void TooLong(std::size_t size);
    static std::size_t BytesOf(const TFieldValue& value);
    void MakeRoom(std::size_t records, std::size_t bytes);
    // Writes Value into Cell; the room for its bytes is made already.
    void Store(TCell& cell, const TFieldValue& value);
    void Release(const TCell& cell) {
        if (cell.Kind == TFieldValueKind::Bytes)
            FUnused += cell.Size;
    }
    void ReclaimIfWasteful();

    int FFieldCount;
    std::vector<TCell> FCells; // Count() * FieldCount() cells, record by record
    std::vector<char> FBytes;
    std::vector<std::int64_t> FKeys;
    std::size_t FUnused = 0; // bytes of FBytes no cell refers to
};

} // namespace vesk
