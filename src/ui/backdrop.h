#pragma once

#include <QPointer>
#include <QWidget>

namespace qv {

class Forms;

// A plain window that fills the screen behind the small window the program
// starts with (the selection screen, the first-run screen) when it is asked
// to fill the screen. The desktop, its panels and other programs stay out of
// a locked child's reach while choosing, and the program looks the same from
// its first screen on. The game window, full screen itself, needs none.
class Backdrop final : public QWidget {
public:
    explicit Backdrop(Forms& forms);

    // Fills the screen and makes front its dialog, kept above it. Call
    // before front is shown.
    void showBehind(QWidget& front);
    // Hides the backdrop, and front is a window of its own again.
    void leave();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Forms& forms_;
    QPointer<QWidget> front_;
};

}  // namespace qv
