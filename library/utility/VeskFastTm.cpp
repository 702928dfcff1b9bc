#include "library/utility/VeskFastTm.h"

#include "platform/design/Palette.h"
#include "platform/qt/HostWidgets.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QVariant>

namespace vesk {

namespace {

// The cursor belongs to a GUI application; a console program has none to change.
bool HasCursor() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance());
}

void SetText(QWidget* control, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
    else if (auto* hostLabel = qobject_cast<TCustomLabel*>(control))
        hostLabel->SetCaption(text.toStdString());
    else if (auto* speedButton = qobject_cast<TSpeedButton*>(control))
        speedButton->SetCaption(text.toStdString());
    else
        control->setProperty("text", text);
}

} // namespace

TVeskFastTime::TVeskFastTime(QObject* owner, const TFastClock& clock)
    : QObject(owner), FCounter(clock) {}

void TVeskFastTime::Start() {
    FCounter.Start();
    if (FWaitCursor && HasCursor()) {
        // One application cursor, as the hourglass replaces whatever was shown.
        if (QGuiApplication::overrideCursor())
            QGuiApplication::changeOverrideCursor(Qt::WaitCursor);
        else
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    if (FDisplayControl)
        FDisplayControl->setEnabled(false);
}

QString TVeskFastTime::GetTime() {
    return QString::fromStdString(FormatSeconds(FCounter.Read(), FDecimal));
}

void TVeskFastTime::Stop() {
    FTimeText = FDisplayCaption + GetTime();
    if (FWaitCursor && HasCursor())
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    if (FDisplayControl) {
        SetText(FDisplayControl, FTimeText);
        FDisplayControl->setEnabled(true);
    }
}

const TClassInfo& VeskFastTimeClass() {
    TClassRegistry& registry = TClassRegistry::Instance();
    TClassInfo* info = const_cast<TClassInfo*>(registry.Find("TVeskFastTime"));
    if (info && info->Live())
        return *info;
    if (!info)
        info = &registry.Register("TVeskFastTime", "TComponent")
                    .Add(ClassProp("DisplayControl", "TControl"))
                    .Add(StrProp("DisplayCaption"))
                    .Add(BoolProp("WaitCursor", std::nullopt))
                    .Add(IntProp("Decimal", std::nullopt, 0, 255, "Byte"));
    using V = const TValue&;
    using S = const TLiveScope*;
    using T = TVeskFastTime;
    auto b = std::make_shared<TBoundClass<T>>([](TLiveObject*) {
        return std::unique_ptr<TLiveObject>(std::make_unique<TQObjectLive<TVeskFastTime>>());
    });
    b->Bind("DisplayControl", nullptr,
            [](T& t, V v, S scope) { t.SetDisplayControl(ReferencedWidget(v, scope)); });
    b->Bind(
        "DisplayCaption",
        [](const T& t) { return TValue::String(t.DisplayCaption().toStdString()); },
        [](T& t, V v, S) { t.SetDisplayCaption(QString::fromStdString(StringValue(v))); });
    b->Bind(
        "WaitCursor", [](const T& t) { return BooleanToValue(t.WaitCursor()); },
        [](T& t, V v, S) { t.SetWaitCursor(BooleanValue(v)); });
    b->Bind(
        "Decimal", [](const T& t) { return TValue::Integer(t.Decimal()); },
        [](T& t, V v, S) {
            const std::int64_t digits = IntegerValue(v);
            if (digits < 0 || digits > 255)
                throw ERangeError("Decimal must be from 0 to 255, not " + IntToStr(digits));
            t.SetDecimal(static_cast<std::uint8_t>(digits));
        });
    info->SetLive(b);
    return *info;
}

namespace VeskFastTm {

void Register() {
    RegisterComponents("Vesk", {&VeskFastTimeClass()});
}

} // namespace VeskFastTm

} // namespace vesk
