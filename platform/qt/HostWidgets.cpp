#include "platform/qt/HostWidgets.h"

#include "platform/qt/ImageList.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace vesk {

QWidget* ReferencedWidget(const TValue& value, const TLiveScope* scope) {
    const std::string name = StringValue(value);
    if (name.empty() || !scope)
        return nullptr;
    TLiveObject* live = scope->FindLive(name);
    if (!live)
        return nullptr;
    QWidget* widget = LiveWidget(live);
    if (!widget)
        throw EInvalidCast("Invalid class typecast");
    return widget;
}

const TPropInfo* FindHostProp(std::string_view className, std::string_view propName) {
    const TClassInfo* c = TClassRegistry::Instance().Find(className);
    return c ? c->FindProp(propName) : nullptr;
}

namespace {

using V = const TValue&;
using S = const TLiveScope*;

// The stand-in of the host's forms, frames and scroll boxes: a plain widget.
std::shared_ptr<TLiveClass> FormClass() {
    auto b = MakeWidgetClass<QWidget>();
    b->Bind(
        "Caption", [](const QWidget& w) { return TValue::String(w.windowTitle().toStdString()); },
        [](QWidget& w, V v, S) { w.setWindowTitle(QString::fromStdString(StringValue(v))); });
    b->Bind(
        "ClientWidth", [](const QWidget& w) { return TValue::Integer(w.width()); },
        [](QWidget& w, V v, S) { w.resize(static_cast<int>(IntegerValue(v)), w.height()); });
    b->Bind(
        "ClientHeight", [](const QWidget& w) { return TValue::Integer(w.height()); },
        [](QWidget& w, V v, S) { w.resize(w.width(), static_cast<int>(IntegerValue(v))); });
    return b;
}

std::shared_ptr<TLiveClass> PanelClass() {
    auto b = MakeWidgetClass<QFrame>(QSize(185, 41));
    static const TPropInfo& bevel = *FindHostProp("TCustomPanel", "BevelOuter");
    b->Bind(
        "BevelOuter",
        [](const QFrame& w) {
            return EnumToValue(bevel, w.frameShadow() == QFrame::Sunken   ? 1
                                      : w.frameShape() == QFrame::NoFrame ? 0
                                                                          : 2);
        },
        [](QFrame& w, V v, S) {
            const std::int64_t kind = OrdinalOf(bevel, v);
            w.setFrameShape(kind == 0 || kind == 3 ? QFrame::NoFrame : QFrame::Panel);
            w.setFrameShadow(kind == 1 ? QFrame::Sunken : QFrame::Raised);
        });
    return b;
}

std::shared_ptr<TLiveClass> GroupBoxClass() {
    auto b = MakeWidgetClass<QGroupBox>(QSize(185, 105));
    b->Bind(
        "Caption", [](const QGroupBox& w) { return TValue::String(w.title().toStdString()); },
        [](QGroupBox& w, V v, S) { w.setTitle(QString::fromStdString(StringValue(v))); });
    return b;
}

std::shared_ptr<TLiveClass> LabelClass() {
    auto b = MakeWidgetClass<TCustomLabel>();
    BindCustomLabel(*b);
    return b;
}

std::shared_ptr<TLiveClass> EditClass() {
    auto b = MakeWidgetClass<QLineEdit>(QSize(121, 21));
    b->Bind(
        "Text", [](const QLineEdit& w) { return TValue::String(w.text().toStdString()); },
        [](QLineEdit& w, V v, S) { w.setText(QString::fromStdString(StringValue(v))); });
    b->Bind(
        "ReadOnly", [](const QLineEdit& w) { return BooleanToValue(w.isReadOnly()); },
        [](QLineEdit& w, V v, S) { w.setReadOnly(BooleanValue(v)); });
    b->Bind(
        "MaxLength", [](const QLineEdit& w) { return TValue::Integer(w.maxLength()); },
        [](QLineEdit& w, V v, S) {
            const std::int64_t length = IntegerValue(v);
            w.setMaxLength(length <= 0 ? 32767 : static_cast<int>(length)); // 0: no limit
        });
    return b;
}

std::shared_ptr<TLiveClass> MemoClass() {
    auto b = MakeWidgetClass<QPlainTextEdit>(QSize(185, 89));
    b->Bind(
        "ReadOnly", [](const QPlainTextEdit& w) { return BooleanToValue(w.isReadOnly()); },
        [](QPlainTextEdit& w, V v, S) { w.setReadOnly(BooleanValue(v)); });
    return b;
}

std::shared_ptr<TLiveClass> CheckBoxClass() {
    auto b = MakeWidgetClass<QCheckBox>(QSize(97, 17));
    b->Bind(
        "Caption", [](const QCheckBox& w) { return TValue::String(w.text().toStdString()); },
        [](QCheckBox& w, V v, S) { w.setText(QString::fromStdString(StringValue(v))); });
    b->Bind(
        "Checked", [](const QCheckBox& w) { return BooleanToValue(w.isChecked()); },
        [](QCheckBox& w, V v, S) { w.setChecked(BooleanValue(v)); });
    return b;
}

std::shared_ptr<TLiveClass> ButtonClass() {
    auto b = MakeWidgetClass<QPushButton>(QSize(75, 25));
    b->Bind(
        "Caption", [](const QPushButton& w) { return TValue::String(w.text().toStdString()); },
        [](QPushButton& w, V v, S) { w.setText(QString::fromStdString(StringValue(v))); });
    b->Bind(
        "Default", [](const QPushButton& w) { return BooleanToValue(w.isDefault()); },
        [](QPushButton& w, V v, S) { w.setDefault(BooleanValue(v)); });
    return b;
}

std::shared_ptr<TLiveClass> SpeedButtonClass() {
    auto b = MakeWidgetClass<TSpeedButton>();
    BindSpeedButton(*b);
    return b;
}

std::shared_ptr<TLiveClass> ImageListClass() {
    auto b = std::make_shared<TBoundClass<TImageList>>([](TLiveObject*) {
        return std::unique_ptr<TLiveObject>(std::make_unique<TQObjectLive<TImageList>>());
    });
    b->Bind(
        "Width", [](const TImageList& l) { return TValue::Integer(l.Width()); },
        [](TImageList& l, V v, S) { l.SetSize(static_cast<int>(IntegerValue(v)), l.Height()); });
    b->Bind(
        "Height", [](const TImageList& l) { return TValue::Integer(l.Height()); },
        [](TImageList& l, V v, S) { l.SetSize(l.Width(), static_cast<int>(IntegerValue(v))); });
    return b;
}

void Attach(std::initializer_list<const char*> classes, const std::shared_ptr<TLiveClass>& live) {
    for (const char* name : classes)
        if (auto* c = const_cast<TClassInfo*>(TClassRegistry::Instance().Find(name));
            c && !c->Live())
            c->SetLive(live);
}

// Attached once, when the library is loaded: the host's classes are registered by then.
const bool HostWidgetsAttached = [] {
    Attach({"TForm", "TFrame", "TScrollBox"}, FormClass());
    Attach({"TPanel"}, PanelClass());
    Attach({"TGroupBox", "TRadioGroup"}, GroupBoxClass());
    Attach({"TLabel", "TDBText"}, LabelClass());
    Attach({"TEdit", "TMaskEdit", "TDBEdit", "TDBDateEdit"}, EditClass());
    Attach({"TMemo", "TDBMemo"}, MemoClass());
    Attach({"TCheckBox", "TDBCheckBox"}, CheckBoxClass());
    Attach({"TButton"}, ButtonClass());
    Attach({"TSpeedButton"}, SpeedButtonClass());
    Attach({"TImageList"}, ImageListClass());
    return true;
}();

} // namespace

} // namespace vesk
