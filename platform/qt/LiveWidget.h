// Live widgets of registered classes: the widget a live object holds, made on its
// live parent's widget, and the bindings of the host's control properties that every
// widget class shares (bounds, visibility, caption, font, colour).
#pragma once

#include "platform/design/LiveObject.h"
#include "platform/graphics/Graphics.h"

#include <QDynamicPropertyChangeEvent>
#include <QPointer>
#include <QWidget>
#include <algorithm>

namespace vesk {

// A live object that holds a widget.
class TLiveWidgetBase {
public:
    virtual ~TLiveWidgetBase() = default;
    virtual QWidget* Widget() const = 0;
    // Hands the widget over (to the parent it was given): the live object forgets it.
    virtual QWidget* ReleaseWidget() = 0;
};

// The widget of a live object, or none (no widget, or not a widget class).
QWidget* LiveWidget(const TLiveObject* object);

template <typename T>
class TWidgetLive final : public TLiveOf<T>, public TLiveWidgetBase {
public:
    explicit TWidgetLive(T* widget) : FWidget(widget) {}
    // The widget goes with its live object, unless its parent went first.
    ~TWidgetLive() override { delete FWidget.data(); }
    T* Object() const override { return FWidget.data(); }
    QWidget* Widget() const override { return FWidget.data(); }
    QWidget* ReleaseWidget() override {
        QWidget* widget = FWidget.data();
        FWidget.clear();
        return widget;
    }

private:
    QPointer<T> FWidget;
};

// A live object that owns a QObject that is not a widget (an image list, a stopwatch).
template <typename T>
class TQObjectLive final : public TLiveOf<T> {
public:
    TQObjectLive() : FObject(new T) {}
    ~TQObjectLive() override { delete FObject.data(); }
    T* Object() const override { return FObject.data(); }

private:
    QPointer<T> FObject;
};

// A live object over a widget that belongs to someone else.
template <typename T>
class TBorrowedWidgetLive final : public TLiveOf<T>, public TLiveWidgetBase {
public:
    TBorrowedWidgetLive(T& widget, const TClassInfo& classType) : FWidget(&widget) {
        this->SetClassType(&classType);
    }
    T* Object() const override { return FWidget; }
    QWidget* Widget() const override { return FWidget; }
    QWidget* ReleaseWidget() override { return FWidget; }

private:
    T* FWidget;
};

// The published properties as Qt's dynamic properties: a form laid out in Qt Designer
// stores EffectStyle = "esSunken" as a dynamic property, and the code generated from
// it sets it with setProperty. Widget classes call this from event(): for a dynamic
// property named after a published property of the widget's registered class it
// writes the value through the class's binding (behind the host's guard) and returns
// true. Only a widget of exactly class T is handled, so that a base class leaves a
// descendant's properties to the descendant.
bool ApplyDynamicPropertyText(TLiveObject& live, const QObject& object, const QByteArray& name);
template <typename T>
bool ApplyDynamicProperty(T& widget, QEvent* event, const TClassInfo& classType) {
    if (event->type() != QEvent::DynamicPropertyChange ||
        widget.metaObject() != &T::staticMetaObject)
        return false;
    TBorrowedWidgetLive<T> live(widget, classType);
    return ApplyDynamicPropertyText(
        live, widget, static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName());
}

// A binding of widget class T, made by new T(parent widget), with the control
// properties bound: Left, Top, Width, Height, Visible, Enabled, Hint. Created, when
// given, is the size a new control has before a form sets one (what the old class's
// constructor gave it, and what a control dropped in the designer starts with).
template <typename T>
std::shared_ptr<TBoundClass<T>> MakeWidgetClass(QSize created = QSize()) {
    auto bound = std::make_shared<TBoundClass<T>>([created](TLiveObject* parent) {
        T* widget = new T(LiveWidget(parent));
        if (created.isValid())
            widget->resize(created);
        return std::unique_ptr<TLiveObject>(std::make_unique<TWidgetLive<T>>(widget));
    });
    using V = const TValue&;
    using S = const TLiveScope*;
    bound->Bind(
        "Left", [](const T& w) { return TValue::Integer(w.x()); },
        [](T& w, V v, S) { w.move(static_cast<int>(IntegerValue(v)), w.y()); });
    bound->Bind(
        "Top", [](const T& w) { return TValue::Integer(w.y()); },
        [](T& w, V v, S) { w.move(w.x(), static_cast<int>(IntegerValue(v))); });
    bound->Bind(
        "Width", [](const T& w) { return TValue::Integer(w.width()); },
        [](T& w, V v, S) { w.resize(static_cast<int>(IntegerValue(v)), w.height()); });
    bound->Bind(
        "Height", [](const T& w) { return TValue::Integer(w.height()); },
        [](T& w, V v, S) { w.resize(w.width(), static_cast<int>(IntegerValue(v))); });
    bound->Bind(
        "Visible", [](const T& w) { return BooleanToValue(!w.isHidden()); },
        [](T& w, V v, S) {
            // A window without a parent is shown by its owner, not by reading a form.
            if (!BooleanValue(v))
                w.hide();
            else if (w.parentWidget())
                w.show();
        });
    bound->Bind(
        "Enabled", [](const T& w) { return BooleanToValue(w.isEnabled()); },
        [](T& w, V v, S) { w.setEnabled(BooleanValue(v)); });
    bound->Bind(
        "Hint", [](const T& w) { return TValue::String(w.toolTip().toStdString()); },
        [](T& w, V v, S) { w.setToolTip(QString::fromStdString(StringValue(v))); });
    return bound;
}

// Colour and font values as the bindings pass them.
TColor ColorValue(const TValue& value);
TValue ColorToValue(TColor color);
TFontStyles FontStylesValue(const TValue& value);
TValue FontStylesToValue(TFontStyles styles);

// Binds Font.Name, Font.Size, Font.Height, Font.Color and Font.Style of a class whose
// objects have Font() and SetFont(TFont).
template <typename T>
void BindFont(TBoundClass<T>& bound) {
    using V = const TValue&;
    using S = const TLiveScope*;
    auto change = [](auto edit) {
        return [edit](T& w, V v, S) {
            TFont font = w.Font();
            edit(font, v);
            w.SetFont(font);
        };
    };
    bound.Bind(
        "Font.Name", [](const T& w) { return TValue::String(w.Font().Name); },
        change([](TFont& f, V v) {
            if (StringValue(v).empty())
                throw EConvertError("Font.Name must not be empty");
            f.Name = StringValue(v);
        }));
    bound.Bind(
        "Font.Size", [](const T& w) { return TValue::Integer(w.Font().Size); },
        change([](TFont& f, V v) {
            const std::int64_t size = IntegerValue(v);
            if (size < 1 || size > 1000)
                throw ERangeError("Font.Size must be from 1 to 1000, not " + IntToStr(size));
            f.Size = static_cast<int>(size);
        }));
    bound.Bind(
        "Font.Height", [](const T& w) { return TValue::Integer(-FontPixelHeight(w.Font())); },
        change([](TFont& f, V v) {
            // A negative height is the character height in pixels at 96 per inch.
            const std::int64_t size = FontPointSize(IntegerValue(v));
            f.Size = static_cast<int>(std::clamp<std::int64_t>(size, 1, 1000));
        }));
    bound.Bind(
        "Font.Color", [](const T& w) { return ColorToValue(w.Font().Color); },
        change([](TFont& f, V v) { f.Color = ColorValue(v); }));
    bound.Bind(
        "Font.Style", [](const T& w) { return FontStylesToValue(w.Font().Style); },
        change([](TFont& f, V v) { f.Style = FontStylesValue(v); }));
}

} // namespace vesk
