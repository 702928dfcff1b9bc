// The host's controls as live widgets: the property bindings of the label and the
// speed button (shared with the library's descendants), and the widgets that stand
// for the host's forms, panels, edits, check boxes and buttons when a form file is
// shown live. The bindings are attached to the registered classes when this library
// is loaded.
#pragma once

#include "platform/qt/CustomLabel.h"
#include "platform/qt/LiveWidget.h"
#include "platform/qt/SpeedButton.h"

namespace vesk {

// The widget a reference names in Scope; none for an empty reference. EInvalidCast
// when it names an object that is not a widget.
QWidget* ReferencedWidget(const TValue& value, const TLiveScope* scope);

// A host class's published property (for the bindings' enumeration names).
const TPropInfo* FindHostProp(std::string_view className, std::string_view propName);

template <typename T>
void BindCustomLabel(TBoundClass<T>& b) {
    using V = const TValue&;
    using S = const TLiveScope*;
    static const TPropInfo& alignment = *FindHostProp("TCustomLabel", "Alignment");
    b.Bind(
        "Caption", [](const T& w) { return TValue::String(w.Caption()); },
        [](T& w, V v, S) { w.SetCaption(StringValue(v)); });
    b.Bind(
        "Color", [](const T& w) { return ColorToValue(w.Color()); },
        [](T& w, V v, S) { w.SetColor(ColorValue(v)); });
    b.Bind(
        "Alignment", [](const T& w) { return EnumToValue(alignment, w.Alignment()); },
        [](T& w, V v, S) { w.SetAlignment(TAlignment(OrdinalOf(alignment, v))); });
    b.Bind(
        "Transparent", [](const T& w) { return BooleanToValue(w.Transparent()); },
        [](T& w, V v, S) { w.SetTransparent(BooleanValue(v)); });
    b.Bind(
        "AutoSize", [](const T& w) { return BooleanToValue(w.AutoSize()); },
        [](T& w, V v, S) { w.SetAutoSize(BooleanValue(v)); });
    b.Bind(
        "WordWrap", [](const T& w) { return BooleanToValue(w.WordWrap()); },
        [](T& w, V v, S) { w.SetWordWrap(BooleanValue(v)); });
    b.Bind(
        "ShowAccelChar", [](const T& w) { return BooleanToValue(w.ShowAccelChar()); },
        [](T& w, V v, S) { w.SetShowAccelChar(BooleanValue(v)); });
    BindFont(b);
}

template <typename T>
void BindSpeedButton(TBoundClass<T>& b) {
    using V = const TValue&;
    using S = const TLiveScope*;
    b.Bind(
        "Caption", [](const T& w) { return TValue::String(w.Caption()); },
        [](T& w, V v, S) { w.SetCaption(StringValue(v)); });
    b.Bind(
        "AllowAllUp", [](const T& w) { return BooleanToValue(w.AllowAllUp()); },
        [](T& w, V v, S) { w.SetAllowAllUp(BooleanValue(v)); });
    b.Bind(
        "GroupIndex", [](const T& w) { return TValue::Integer(w.GroupIndex()); },
        [](T& w, V v, S) { w.SetGroupIndex(static_cast<int>(IntegerValue(v))); });
    b.Bind(
        "Down", [](const T& w) { return BooleanToValue(w.Down()); },
        [](T& w, V v, S) { w.SetDown(BooleanValue(v)); });
    b.Bind(
        "Flat", [](const T& w) { return BooleanToValue(w.Flat()); },
        [](T& w, V v, S) { w.SetFlat(BooleanValue(v)); });
}

} // namespace vesk
