// A property value as a form file stores it: numbers, strings, identifiers, sets,
// lists, collections and binary data.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vesk {

enum class TValueKind { Integer, Float, String, Ident, Set, List, Collection, Binary };

// How a binary form stored a value, kept so that a changed value keeps its encoding.
enum class TFloatType : std::uint8_t { Extended, Single, Currency, Date, Double };
enum class TStringType : std::uint8_t { Short, Long, Wide, Utf8, Unicode };

struct TCollectionItem;
struct TNamedValue;

struct TValue {
    TValueKind Kind = TValueKind::Integer;
    std::int64_t Int = 0;
    double Float = 0;
    // String bytes, identifier, binary data, or a float's text as read.
    std::string Text;
    std::vector<std::string> Set;
    std::vector<TValue> Items;
    std::vector<TCollectionItem> Collection;
    TFloatType FloatType = TFloatType::Extended;
    TStringType StringType = TStringType::Short;

    static TValue Integer(std::int64_t v);
    static TValue String(std::string v);
    static TValue Ident(std::string v);

    bool IsIdent() const { return Kind == TValueKind::Ident; }
    bool operator==(const TValue& other) const;
};

struct TNamedValue {
    std::string Name;
    TValue Value;
    bool operator==(const TNamedValue& other) const = default;
};

struct TCollectionItem {
    std::optional<std::int64_t> Order;
    std::vector<TNamedValue> Props;
    bool operator==(const TCollectionItem& other) const = default;
};

} // namespace vesk
