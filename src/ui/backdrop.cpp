#include "backdrop.h"

#include <QCloseEvent>

#include "forms.h"
#include "links/desktop.h"
#include "platform.h"
#include "toplevelwindows.h"

namespace qv {

namespace {

// The selection screen's own field colour, so that its frame sits on grass.
constexpr QColor kField(214, 244, 200);

}  // namespace

Backdrop::Backdrop(Forms& forms) : QWidget(nullptr), forms_(forms) {
    setObjectName(QStringLiteral("backdrop"));
    setWindowTitle(QStringLiteral("Quorvel Learning"));
    // It never takes the focus from the window in front.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAutoFillBackground(true);
    QPalette field = palette();
    field.setColor(QPalette::Window, kField);
    setPalette(field);
}

void Backdrop::showBehind(QWidget& front) {
    if (front_ && front_ != &front && !front_->isVisible())
        makeOwnWindow(*front_);
    front_ = &front;
    // Not showFullScreen(): that would make it the active window.
    setWindowState(Qt::WindowFullScreen);
    coverScreenWithoutWindowManager(*this);
    show();
    // The desktop keeps its dialog above it.
    makeDialogOf(front, *this);
}

void Backdrop::leave() {
    // The window in front is hidden by now, and a window of its own again.
    if (front_ && !front_->isVisible())
        makeOwnWindow(*front_);
    front_ = nullptr;
    hide();
}

void Backdrop::mousePressEvent(QMouseEvent* event) {
    // A click beside the window in front goes to it instead of the desktop.
    event->accept();
    if (front_ && front_->isVisible()) {
        front_->raise();
        front_->activateWindow();
    }
}

void Backdrop::closeEvent(QCloseEvent* event) {
    if (forms_.locked()) {
        event->ignore();
        return;
    }
    // It stands for the window in front, and closing that ends the program.
    event->accept();
    forms_.platform().desktop.endProgram(0);
}

}  // namespace qv
