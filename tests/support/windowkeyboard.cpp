#include "windowkeyboard.h"

#include <QKeySequence>
#include <QTest>

namespace qvtest {

namespace {

Qt::KeyboardModifier modifierOf(Qt::Key key) {
    switch (key) {
        case Qt::Key_Control:
            return Qt::ControlModifier;
        case Qt::Key_Shift:
            return Qt::ShiftModifier;
        case Qt::Key_Alt:
            return Qt::AltModifier;
        case Qt::Key_Meta:
            return Qt::MetaModifier;
        default:
            return Qt::NoModifier;
    }
}

QString textOf(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return {};
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        const QChar letter{char16_t(key)};
        return modifiers & Qt::ShiftModifier ? QString(letter) : QString(letter.toLower());
    }
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Space)
        return QString(QChar(char16_t(key)));
    return {};
}

}  // namespace

Qt::KeyboardModifiers WindowKeyboard::modifiers() const {
    Qt::KeyboardModifiers result;
    for (Qt::Key key : down_)
        result |= modifierOf(key);
    return result;
}

void WindowKeyboard::send(bool press, Qt::Key key, bool autoRepeat) {
    if (!window_)
        return;
    // The modifiers as they were before this key: a modifier's own press
    // does not report itself yet, and its let-go still does.
    const Qt::KeyboardModifiers mods = modifiers();
    // A repeat is its press; its let-go goes without saying.
    if (press || !autoRepeat)
        log << QStringLiteral("%1%2").arg(autoRepeat ? "~"
                                          : press    ? "+"
                                                     : "-",
                                          QKeySequence(key).toString());
    QTest::simulateEvent(window_.data(), press, key, mods, textOf(key, mods), autoRepeat);
}

void WindowKeyboard::press(Qt::Key key) {
    if (down_.contains(key))
        return repeat(key);
    send(true, key, false);
    down_.append(key);
}

void WindowKeyboard::release(Qt::Key key) {
    if (!down_.contains(key))
        return;
    send(false, key, false);
    down_.removeOne(key);
}

void WindowKeyboard::repeat(Qt::Key key) {
    if (!down_.contains(key))
        return;
    send(false, key, true);
    send(true, key, true);
}

void WindowKeyboard::unmarkedRepeat(Qt::Key key) {
    if (!down_.contains(key))
        return;
    send(false, key, false);
    send(true, key, false);
}

void WindowKeyboard::click(Qt::Key key) {
    press(key);
    release(key);
}

void WindowKeyboard::chord(const QList<Qt::Key>& keys) {
    for (Qt::Key key : keys)
        press(key);
    for (auto it = keys.crbegin(); it != keys.crend(); ++it)
        release(*it);
}

void WindowKeyboard::releaseAll() {
    while (!down_.isEmpty())
        release(down_.constLast());
}

}  // namespace qvtest
