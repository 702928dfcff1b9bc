#include "ide/form/ClassIcons.h"

#include "platform/design/ClassRegistry.h"
#include "platform/rtl/SysUtils.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace vesk {

namespace {

constexpr int IconSize = ClassIconSize;

enum class TSmoothing { Antialiased, Sharp };

// An icon Draw paints on a transparent square.
template <typename TDraw>
QIcon DrawnIcon(TSmoothing smoothing, TDraw draw) {
    QPixmap pixmap(IconSize, IconSize);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing, smoothing == TSmoothing::Antialiased);
        draw(p);
    }
    return QIcon(pixmap);
}

QIcon TreeIcon() {
    return DrawnIcon(TSmoothing::Antialiased, [](QPainter& p) {
        p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1, Qt::DotLine));
        p.drawLine(5, 6, 5, 19);
        p.drawLine(5, 12, 11, 12);
        p.drawLine(5, 19, 11, 19);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x00, 0x60, 0xc0));
        p.drawRect(2, 3, 7, 6);
        p.setBrush(QColor(0xe0, 0xa0, 0x20));
        p.drawRect(11, 9, 6, 5);
        p.drawRect(11, 16, 6, 5);
        // The data-aware mark: a small cylinder.
        p.setBrush(QColor(0x30, 0x90, 0x30));
        p.drawRect(17, 2, 6, 7);
        p.drawEllipse(17, 0, 6, 4);
        p.drawEllipse(17, 7, 6, 4);
    });
}

QIcon LabelEffectIcon() {
    return DrawnIcon(TSmoothing::Sharp, [](QPainter& p) {
        QFont font("Times");
        font.setPixelSize(20);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.drawText(QRect(3, 3, 21, 21), Qt::AlignCenter, "A");
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, 21, 21), Qt::AlignCenter, "A");
        p.setPen(QColor(0x00, 0x00, 0x80));
        p.drawText(QRect(1, 1, 21, 21), Qt::AlignCenter, "A");
    });
}

QIcon SpeedButtonIcon() {
    return DrawnIcon(TSmoothing::Antialiased, [](QPainter& p) {
        QRadialGradient shade(QPointF(9, 9), 14);
        shade.setColorAt(0, Qt::white);
        shade.setColorAt(1, QColor(0x70, 0x70, 0x90));
        p.setBrush(shade);
        p.setPen(QPen(QColor(0x30, 0x30, 0x50), 1));
        p.drawEllipse(2, 2, 20, 20);
        QPainterPath arrow;
        arrow.moveTo(9, 7);
        arrow.lineTo(17, 12);
        arrow.lineTo(9, 17);
        arrow.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x10, 0x70, 0x10));
        p.drawPath(arrow);
    });
}

QIcon ClockIcon() {
    return DrawnIcon(TSmoothing::Antialiased, [](QPainter& p) {
        p.setBrush(QColor(0xff, 0xff, 0xe0));
        p.setPen(QPen(QColor(0x40, 0x20, 0x00), 2));
        p.drawEllipse(2, 2, 20, 20);
        p.setPen(QPen(QColor(0x40, 0x20, 0x00), 1));
        for (int i = 0; i < 12; i += 3) {
            const double a = i * M_PI / 6;
            p.drawLine(QPointF(12 + 7 * std::sin(a), 12 - 7 * std::cos(a)),
                       QPointF(12 + 9 * std::sin(a), 12 - 9 * std::cos(a)));
        }
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(12, 12, 12, 6);
        p.setPen(QPen(Qt::red, 1));
        p.drawLine(12, 12, 17, 15);
    });
}

QIcon LockIcon() {
    return DrawnIcon(TSmoothing::Antialiased, [](QPainter& p) {
        p.setPen(QPen(QColor(0x50, 0x50, 0x50), 3));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRect(6, 2, 12, 14), 0, 180 * 16);
        p.drawLine(6, 9, 6, 12);
        p.drawLine(18, 9, 18, 12);
        p.setPen(QPen(QColor(0x60, 0x40, 0x00), 1));
        p.setBrush(QColor(0xe0, 0xb0, 0x20));
        p.drawRoundedRect(3, 11, 18, 12, 2, 2);
        p.setBrush(Qt::black);
        p.drawEllipse(10, 14, 4, 4);
        p.drawRect(11, 17, 2, 4);
    });
}

} // namespace

QIcon PointerIcon() {
    return DrawnIcon(TSmoothing::Antialiased, [](QPainter& p) {
        QPainterPath arrow;
        arrow.moveTo(7, 3);
        arrow.lineTo(7, 19);
        arrow.lineTo(11, 15);
        arrow.lineTo(14, 21);
        arrow.lineTo(16, 20);
        arrow.lineTo(13, 14);
        arrow.lineTo(18, 14);
        arrow.closeSubpath();
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawPath(arrow);
    });
}

// Initials of the class name without its T: "DataSource" gives "DS".
namespace {

QIcon InitialsIcon(const TClassInfo& classInfo) {
    std::string name = classInfo.ClassName();
    if (name.size() > 1 && (name[0] == 'T' || name[0] == 't'))
        name.erase(0, 1);
    QString initials;
    for (char c : name)
        if (c >= 'A' && c <= 'Z' && initials.size() < 3)
            initials += QChar(c);
    if (initials.isEmpty())
        initials = QString::fromStdString(name.substr(0, 2));
    return DrawnIcon(TSmoothing::Sharp, [&](QPainter& p) {
        const bool control = classInfo.IsControl();
        p.setPen(QPen(QColor(0x50, 0x50, 0x50), 1));
        p.setBrush(control ? QColor(0xf0, 0xf0, 0xf0) : QColor(0xd8, 0xe8, 0xff));
        p.drawRect(1, 3, 21, 17);
        QFont font;
        font.setPixelSize(initials.size() > 2 ? 8 : 10);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(0x00, 0x00, 0x60));
        p.drawText(QRect(1, 3, 21, 17), Qt::AlignCenter, initials);
    });
}

} // namespace

QIcon ClassIcon(const TClassInfo& classInfo) {
    const std::string& name = classInfo.ClassName();
    if (SameText(name, "TVeskDBTreeView"))
        return TreeIcon();
    if (SameText(name, "TLabelEffect"))
        return LabelEffectIcon();
    if (SameText(name, "TVeskSpeedButton"))
        return SpeedButtonIcon();
    if (SameText(name, "TVeskFastTime"))
        return ClockIcon();
    if (SameText(name, "TEncryption"))
        return LockIcon();
    return InitialsIcon(classInfo);
}

} // namespace vesk
