#include "library/utility/VeskFastTm.h"

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

} // namespace vesk
