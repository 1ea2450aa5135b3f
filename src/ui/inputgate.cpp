#include "inputgate.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>

#include "timing/clock.h"

namespace qv {

InputGate::InputGate(Clock& clock, QObject* parent) : QObject(parent), clock_(clock) {
    QCoreApplication::instance()->installEventFilter(this);
}

InputGate::~InputGate() {
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

void InputGate::letThrough(QAction* action) {
    letThrough_.append(action);
}

bool InputGate::isUserInput(const QEvent& event) {
    switch (event.type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
            return true;
        default:
            return false;
    }
}

bool InputGate::eventFilter(QObject* watched, QEvent* event) {
    if (!clock_.holding() || !isUserInput(*event))
        return false;
    if (event->type() == QEvent::Shortcut) {
        for (const QPointer<QAction>& action : letThrough_) {
            if (action && action == watched)
                return false;
        }
    }
    return true;
}

}  // namespace qv
