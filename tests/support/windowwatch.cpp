#include "windowwatch.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace qvtest {

WindowWatch::WindowWatch(QList<QWidget*> expected) {
    for (QWidget* w : expected)
        expected_.append(w);
    qApp->installEventFilter(this);
}

WindowWatch::~WindowWatch() {
    qApp->removeEventFilter(this);
}

bool WindowWatch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!widget->isWindow() || widget->windowType() == Qt::ToolTip ||
        expected_.contains(QPointer<QWidget>(widget)))
        return false;
    opened << QStringLiteral("%1 (%2)").arg(widget->objectName(),
                                            QString::fromLatin1(widget->metaObject()->className()));
    // A menu waits for nothing, and its keys still work.
    if (widget->windowType() != Qt::Popup)
        QMetaObject::invokeMethod(widget, &QWidget::hide, Qt::QueuedConnection);
    return false;
}

}  // namespace qvtest
