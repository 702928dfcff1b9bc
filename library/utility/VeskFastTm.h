// Unit VeskFastTm: TVeskFastTime, a stopwatch component on the high-resolution
// counter that shows its result on a label, button or edit.
#pragma once

#include "library/utility/FastClock.h"
#include "platform/design/ClassRegistry.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>

namespace vesk {

class TVeskFastTime : public QObject {
    Q_OBJECT

public:
    explicit TVeskFastTime(QObject* owner = nullptr, const TFastClock& clock = SystemFastClock());

    // Takes a new starting point; shows the wait cursor and disables the display
    // control while the measurement runs.
    void Start();
    // The time since Start, formatted; stops nothing.
    QString GetTime();
    // Sets TimeText to DisplayCaption and the time since Start, shows it on the
    // display control and enables it, and puts the default cursor back.
    void Stop();

    QString TimeText() const { return FTimeText; }
    const TFastTimeCounter& Counter() const { return FCounter; }

    // A QLabel, QAbstractButton, QLineEdit or any widget with a "text" property;
    // forgotten when the widget is destroyed.
    QWidget* DisplayControl() const { return FDisplayControl.data(); }
    void SetDisplayControl(QWidget* value) { FDisplayControl = value; }
    QString DisplayCaption() const { return FDisplayCaption; }
    void SetDisplayCaption(const QString& value) { FDisplayCaption = value; }
    bool WaitCursor() const { return FWaitCursor; }
    void SetWaitCursor(bool value) { FWaitCursor = value; }
    std::uint8_t Decimal() const { return FDecimal; }
    void SetDecimal(std::uint8_t value) { FDecimal = value; }

private:
    TFastTimeCounter FCounter;
    QString FTimeText;
    QPointer<QWidget> FDisplayControl;
    QString FDisplayCaption = QStringLiteral("Sec: ");
    bool FWaitCursor = true;
    std::uint8_t FDecimal = 2;
};

// The registered class TVeskFastTime with its live binding (registered on first use).
const TClassInfo& VeskFastTimeClass();

namespace VeskFastTm {
// Puts TVeskFastTime on the palette page "Vesk".
void Register();
} // namespace VeskFastTm

} // namespace vesk
