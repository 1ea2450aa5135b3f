#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QAction;

namespace qv {

class Clock;

// Drops the user's clicks and keys that arrive while the game is held (a
// sound heard to its end, see Clock::holdUntil), in every window of the
// program. They are not kept for later: a child who clicks ten times while
// the game answers the first click must not hear ten answers one after the
// other. Closing a window is no input and still ends the program; the
// shortcuts of the actions let through (Exit) still work.
class InputGate final : public QObject {
public:
    // Watches the whole application for as long as it lives.
    InputGate(Clock& clock, QObject* parent);
    ~InputGate() override;

    // The shortcut of this action still reaches it while the game is held.
    void letThrough(QAction* action);

    // The events the gate drops while the game is held.
    static bool isUserInput(const QEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Clock& clock_;
    QList<QPointer<QAction>> letThrough_;
};

}  // namespace qv
