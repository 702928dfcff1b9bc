#include "platform/qt/LiveWidget.h"

#include "platform/qt/SlotGuard.h"

namespace vesk {

QWidget* LiveWidget(const TLiveObject* object) {
    auto* holder = dynamic_cast<const TLiveWidgetBase*>(object);
    return holder ? holder->Widget() : nullptr;
}

bool ApplyDynamicPropertyText(TLiveObject& live, const QObject& object, const QByteArray& name) {
    const std::string property = name.toStdString();
    if (!live.ClassType() || !live.ClassType()->FindProp(property))
        return false;
    const QVariant value = object.property(name.constData());
    if (!value.isValid())
        return true; // taken away again: the widget keeps what it has
    const std::string text = value.typeId() == QMetaType::Bool
                                 ? std::string(value.toBool() ? "True" : "False")
                                 : value.toString().toStdString();
    Guarded([&] { WriteLivePropertyText(live, property, text); });
    return true;
}

TColor ColorValue(const TValue& value) {
    if (value.Kind == TValueKind::Integer)
        return static_cast<TColor>(value.Int);
    return StringToColor(value.Text);
}

TValue ColorToValue(TColor color) {
    const std::string name = ColorToString(color);
    return name.starts_with("cl") ? TValue::Ident(name)
                                  : TValue::Integer(static_cast<std::int32_t>(color));
}

TFontStyles FontStylesValue(const TValue& value) {
    if (value.Kind != TValueKind::Set)
        throw EConvertError("'" + ValueText(value) + "' is not a set of font styles");
    TFontStyles styles = 0;
    for (const std::string& element : value.Set) {
        const auto& names = FontStyleNames();
        const auto found = std::find_if(names.begin(), names.end(),
                                        [&](const std::string& n) { return SameText(n, element); });
        if (found == names.end())
            throw EConvertError("'" + element + "' is not a font style");
        styles |= static_cast<TFontStyles>(1u << (found - names.begin()));
    }
    return styles;
}

TValue FontStylesToValue(TFontStyles styles) {
    TValue set;
    set.Kind = TValueKind::Set;
    for (std::size_t i = 0; i < FontStyleNames().size(); ++i)
        if (styles & (1u << i))
            set.Set.push_back(FontStyleNames()[i]);
    return set;
}

} // namespace vesk
