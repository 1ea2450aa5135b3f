#pragma once

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWindow>

namespace qvtest {

// A keyboard as the window system drives it: every key goes to a window (not
// to a control), pressed and let go on its own, with the modifiers that were
// down before it, and a held key repeats as a let-go and a press, both
// marked as repeats. Shortcuts are tried first, as for a real key.
//
//   WindowKeyboard keys(game.windowHandle());
//   keys.press(Qt::Key_Control);
//   keys.click(Qt::Key_E);       // Ctrl+E
//   keys.releaseAll();
class WindowKeyboard {
public:
    explicit WindowKeyboard(QWindow* window) : window_(window) {}

    void press(Qt::Key key);
    void release(Qt::Key key);
    // One repeat of a held key.
    void repeat(Qt::Key key);
    // One repeat as some X servers send it: a let-go and a press again that
    // the toolkit cannot tell from the real thing, so they are not marked.
    void unmarkedRepeat(Qt::Key key);
    void click(Qt::Key key);
    // Presses the keys in order and lets them go in reverse.
    void chord(const QList<Qt::Key>& keys);
    // Lets go of every key still down, the last pressed first.
    void releaseAll();

    const QList<Qt::Key>& down() const { return down_; }
    // What was sent, "+A" a press, "-A" a let-go, "~A" a repeat, for a
    // test's report; the test clears it.
    QStringList log;
    Qt::KeyboardModifiers modifiers() const;

private:
    void send(bool press, Qt::Key key, bool autoRepeat);

    QPointer<QWindow> window_;
    QList<Qt::Key> down_;
};

}  // namespace qvtest
