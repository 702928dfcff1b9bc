#include "platform/forms/FormValue.h"

namespace vesk {

TValue TValue::Integer(std::int64_t v) {
    TValue r;
    r.Kind = TValueKind::Integer;
    r.Int = v;
    return r;
}

TValue TValue::String(std::string v) {
    TValue r;
    r.Kind = TValueKind::String;
    r.Text = std::move(v);
    r.StringType = r.Text.size() > 255 ? TStringType::Long : TStringType::Short;
    return r;
}

TValue TValue::Ident(std::string v) {
    TValue r;
    r.Kind = TValueKind::Ident;
    r.Text = std::move(v);
    return r;
}

bool TValue::operator==(const TValue& o) const {
    if (Kind != o.Kind)
        return false;
    switch (Kind) {
    case TValueKind::Integer:
        return Int == o.Int;
    case TValueKind::Float:
        return Float == o.Float;
    case TValueKind::Set:
        return Set == o.Set;
    case TValueKind::List:
        return Items == o.Items;
    case TValueKind::Collection:
        return Collection == o.Collection;
    default:
        return Text == o.Text;
    }
}

} // namespace vesk
