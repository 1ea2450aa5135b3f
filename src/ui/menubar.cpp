#include "menubar.h"

#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionMenuItem>

#include <functional>

namespace qv {

MenuBar::MenuBar(QWidget* parent) : QMenuBar(parent) {
    connect(this, &QMenuBar::triggered, this, &MenuBar::giveBackKeysWhenDone, Qt::QueuedConnection);
}

bool MenuBar::menuOpen() const {
    for (const QAction* action : actions()) {
        if (action->menu() && action->menu()->isVisible())
            return true;
    }
    return false;
}

QAction* MenuBar::keyboardChoice() const {
    QAction* chosen = activeAction();
    if (!hasFocus() || !chosen || !chosen->isVisible() || menuOpen())
        return nullptr;
    return chosen;
}

void MenuBar::giveBackKeysWhenDone() {
    // Holding the keys, the bar has a title chosen or a menu open.
    if (hasFocus() && !activeAction() && !menuOpen())
        clearFocus();
}

namespace {

// Calls back, after each key the program is given, once that key has been
// handled.
class AfterEachKey final : public QObject {
public:
    AfterEachKey(QObject* parent, std::function<void()> then)
        : QObject(parent), then_(std::move(then)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
            QMetaObject::invokeMethod(this, then_, Qt::QueuedConnection);
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> then_;
};

}  // namespace

void MenuBar::focusInEvent(QFocusEvent* event) {
    QMenuBar::focusInEvent(event);
    // The bar lets the keys go on keys it sees (Escape) and on keys the
    // window sees (Alt again): each is looked at once it has been handled.
    if (!keyWatch_) {
        keyWatch_ = new AfterEachKey(this, [this] { giveBackKeysWhenDone(); });
        qApp->installEventFilter(keyWatch_);
    }
}

void MenuBar::focusOutEvent(QFocusEvent* event) {
    if (keyWatch_) {
        qApp->removeEventFilter(keyWatch_);
        // Later: the focus may go on the watch's own call.
        keyWatch_->deleteLater();
        keyWatch_ = nullptr;
    }
    QMenuBar::focusOutEvent(event);
}

void MenuBar::paintEvent(QPaintEvent* event) {
    QMenuBar::paintEvent(event);
    QPainter painter(this);
    if (QAction* chosen = keyboardChoice()) {
        QStyleOptionMenuItem option;
        initStyleOption(&option, chosen);
        option.rect = actionGeometry(chosen);
        option.state |= QStyle::State_Selected | QStyle::State_Sunken;
        style()->drawControl(QStyle::CE_MenuBarItem, &option, &painter, this);
    }
    // Drawn again in one piece, over the pieces, with the same pen on the
    // same row, so that it covers them exactly; it runs past the last pixel,
    // which the widget clips.
    painter.setPen(QPen(palette().color(QPalette::Window).darker(112)));
    const int bottom = height() - 1;
    painter.drawLine(QPoint(0, bottom), QPoint(width(), bottom));
}

}  // namespace qv
