#include "platform/data/RecordStore.h"

#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <limits>
#include <new>

namespace vesk {

namespace {

// Capacity for Needed more items, growing geometrically so that appends stay cheap.
template <typename T>
void Grow(std::vector<T>& items, std::size_t needed) {
    if (items.capacity() - items.size() >= needed)
        return;
    items.reserve(std::max(items.size() + needed, items.capacity() * 2));
}

// Below this, unused bytes are not worth a pass over the store.
constexpr std::size_t MinReclaimBytes = 64 * 1024;

} // namespace

TFieldValueRef TFieldValueRef::Of(const TFieldValue& value) {
    TFieldValueRef result;
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
        result.Kind = TFieldValueKind::Integer;
        result.Integer = *number;
    } else if (const auto* real = std::get_if<double>(&value)) {
        result.Kind = TFieldValueKind::Float;
        result.Float = *real;
    } else if (const auto* text = std::get_if<std::string>(&value)) {
        result.Kind = TFieldValueKind::Bytes;
        result.Bytes = *text;
    }
    return result;
}

TFieldValue TFieldValueRef::ToValue() const {
    switch (Kind) {
    case TFieldValueKind::Integer:
        return Integer;
    case TFieldValueKind::Float:
        return Float;
    case TFieldValueKind::Bytes:
        return std::string(Bytes);
    case TFieldValueKind::Null:
        break;
    }
    return std::monostate{};
}

int TRecordStore::IndexOfKey(std::int64_t key) const {
    const auto found = std::find(FKeys.begin(), FKeys.end(), key);
    return found == FKeys.end() ? -1 : static_cast<int>(found - FKeys.begin());
}

void TRecordStore::Clear() {
    FCells.clear();
    FBytes.clear();
    FKeys.clear();
    FUnused = 0;
}

void TRecordStore::Reserve(std::size_t records) {
    FCells.reserve(records * static_cast<std::size_t>(FFieldCount));
    FKeys.reserve(records);
}

void TRecordStore::TooLong(std::size_t size) {
    throw ERangeError("A value of " + std::to_string(size) + " bytes is too long to store");
}

void TRecordStore::ReadRecord(int record, std::vector<TFieldValue>& values) const {
    values.resize(static_cast<std::size_t>(FFieldCount));
    for (int field = 0; field < FFieldCount; ++field)
        values[static_cast<std::size_t>(field)] = Get(record, field).ToValue();
}

std::size_t TRecordStore::BytesOf(const TFieldValue& value) {
    const auto* text = std::get_if<std::string>(&value);
    if (!text)
        return 0;
    CheckValueSize(text->size());
    return text->size();
}

void TRecordStore::MakeRoom(std::size_t records, std::size_t bytes) {
    Grow(FCells, records * static_cast<std::size_t>(FFieldCount));
    Grow(FBytes, bytes);
    Grow(FKeys, records);
}

void TRecordStore::Store(TCell& cell, const TFieldValue& value) {
    const TFieldValueRef from = TFieldValueRef::Of(value);
    cell = TCell{};
    cell.Kind = from.Kind;
    switch (from.Kind) {
    case TFieldValueKind::Integer:
        cell.Integer = from.Integer;
        break;
    case TFieldValueKind::Float:
        cell.Float = from.Float;
        break;
    case TFieldValueKind::Bytes:
        cell.Offset = FBytes.size();
        cell.Size = static_cast<std::uint32_t>(from.Bytes.size());
        FBytes.insert(FBytes.end(), from.Bytes.begin(), from.Bytes.end());
        break;
    case TFieldValueKind::Null:
        break;
    }
}

void TRecordStore::Append(const std::vector<TFieldValue>& values, std::int64_t key) {
    std::size_t bytes = 0;
    for (const TFieldValue& value : values)
        bytes += BytesOf(value);
    MakeRoom(1, bytes);
    // Nothing below allocates: the record is stored whole or not at all.
    for (int field = 0; field < FFieldCount; ++field) {
        FCells.emplace_back();
        if (static_cast<std::size_t>(field) < values.size())
            Store(FCells.back(), values[static_cast<std::size_t>(field)]);
    }
    FKeys.push_back(key);
}

void TRecordStore::Replace(int record, const std::vector<TFieldValue>& values) {
    std::size_t bytes = 0;
    for (const TFieldValue& value : values)
        bytes += BytesOf(value);
    MakeRoom(0, bytes);
    const std::size_t first = static_cast<std::size_t>(record) * FFieldCount;
    for (int field = 0; field < FFieldCount; ++field) {
        TCell& cell = FCells[first + static_cast<std::size_t>(field)];
        const TFieldValue none;
        const TFieldValue& value =
            static_cast<std::size_t>(field) < values.size() ? values[field] : none;
        const auto* text = std::get_if<std::string>(&value);
        if (text && cell.Kind == TFieldValueKind::Bytes && text->size() <= cell.Size) {
            // Text no longer than before takes the old place: an edit that keeps a
            // value's length leaves nothing unused.
            std::copy(text->begin(), text->end(), FBytes.begin() + cell.Offset);
            FUnused += cell.Size - text->size();
            cell.Size = static_cast<std::uint32_t>(text->size());
            continue;
        }
        Release(cell);
        Store(cell, value);
    }
    ReclaimIfWasteful();
}

void TRecordStore::Delete(int record) {
    const auto first = FCells.begin() + static_cast<std::ptrdiff_t>(record) * FFieldCount;
    for (auto cell = first; cell != first + FFieldCount; ++cell)
        Release(*cell);
    FCells.erase(first, first + FFieldCount);
    FKeys.erase(FKeys.begin() + record);
    ReclaimIfWasteful();
}

void TRecordStore::AddField() {
    std::vector<TCell> widened;
    widened.reserve(FKeys.size() * static_cast<std::size_t>(FFieldCount + 1));
    for (std::size_t record = 0; record < FKeys.size(); ++record) {
        const auto first = FCells.begin() + static_cast<std::ptrdiff_t>(record * FFieldCount);
        widened.insert(widened.end(), first, first + FFieldCount);
        widened.emplace_back();
    }
    FCells = std::move(widened);
    ++FFieldCount;
}

void TRecordStore::ReclaimIfWasteful() {
    // A pass reads every cell and copies every used byte: wait until the unused
    // bytes outweigh both, so that its cost is paid for by the edits before it.
    const std::size_t used = FBytes.size() - FUnused;
    if (FUnused < MinReclaimBytes || FUnused <= used + FCells.size() * sizeof(TCell))
        return;
    try {
        std::vector<char> packed;
        packed.reserve(used);
        for (TCell& cell : FCells) {
            if (cell.Kind != TFieldValueKind::Bytes)
                continue;
            const auto from = FBytes.begin() + static_cast<std::ptrdiff_t>(cell.Offset);
            cell.Offset = packed.size();
            packed.insert(packed.end(), from, from + cell.Size);
        }
        FBytes = std::move(packed);
        FUnused = 0;
    } catch (const std::bad_alloc&) {
        // Only the reserve can fail, before any cell moved: the bytes stay as they
        // were, to be reclaimed by a later change.
    }
}

} // namespace vesk
