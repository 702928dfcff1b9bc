// What the widget tests do to a widget: send it real mouse events, count its paints.
#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace vesk::test {

// Counts the paint events a widget receives, once installed as its event filter.
class PaintCounter : public QObject {
public:
    int Count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++Count;
        return false;
    }
};

inline void SendMouse(QWidget& widget, QEvent::Type type, Qt::MouseButton button,
                      Qt::MouseButtons held, QPoint at,
                      Qt::KeyboardModifiers keys = Qt::NoModifier) {
    QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), button, held, keys);
    QApplication::sendEvent(&widget, &event);
}

} // namespace vesk::test
