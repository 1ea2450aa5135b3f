#include "qtdesktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include <cstdio>
#include <cstdlib>

namespace qv {

namespace {

// Keeps a box drawn inside a window in the window's middle and above the
// window's other contents, as the window takes its full size and the program
// adds or raises its own pieces.
class KeepOnTop final : public QObject {
public:
    explicit KeepOnTop(QWidget& box) : QObject(&box), box_(box) {
        box.parentWidget()->installEventFilter(this);
        place();
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Resize:
            case QEvent::ChildAdded:
            case QEvent::Show:
                QMetaObject::invokeMethod(
                    this, [this] { place(); }, Qt::QueuedConnection);
                break;
            default:
                break;
        }
        return false;
    }

private:
    void place() {
        const QWidget* window = box_.parentWidget();
        box_.adjustSize();
        box_.move((window->width() - box_.width()) / 2, (window->height() - box_.height()) / 2);
        box_.raise();
    }

    QWidget& box_;
};

// A web address goes to the browser as it is; anything else is a file path.
QUrl toUrl(const QString& address) {
    const QUrl asUrl(address, QUrl::StrictMode);
    const QString scheme = asUrl.scheme().toLower();
    if (asUrl.isValid() && (scheme == "http" || scheme == "https" || scheme == "mailto"))
        return asUrl;
    return QUrl::fromLocalFile(address);
}

}  // namespace

void QtDesktop::openInDefaultProgram(QWidget* /*owner*/, const QString& address) {
    // Starts the other program detached and returns at once; a missing
    // browser or file is the desktop's own business to report.
    QDesktopServices::openUrl(toUrl(address));
}

void QtDesktop::showNotice(QWidget* owner, const QString& title, const QString& message) {
    std::fprintf(stderr, "quorvellearning: %s\n", qPrintable(message));
    std::fflush(stderr);
    QWidget* window = owner ? owner->window() : nullptr;
    auto* box = new QMessageBox(QMessageBox::Information, title, message, QMessageBox::Ok, window);
    box->setObjectName(QStringLiteral("notice"));
    box->button(QMessageBox::Ok)->setText(QStringLiteral("Okay"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (window && window->isFullScreen()) {
        // Drawn inside a full-screen window rather than as a window of its
        // own: some compositors (weston) keep full-screen windows above every
        // other one, where the box would be hidden and still block the game.
        box->setWindowFlags(Qt::Widget);
        box->setAttribute(Qt::WA_StyledBackground);
        box->setStyleSheet(QStringLiteral(
            "QMessageBox { background: palette(window); border: 2px solid palette(dark); }"));
        box->show();
        new KeepOnTop(*box);
        box->button(QMessageBox::Ok)->setFocus();
        return;
    }
    // Over its owner only: the program goes on behind it.
    box->open();
}

void QtDesktop::showFatalError(const QString& title, const QString& message) {
    std::fprintf(stderr, "quorvellearning: %s\n", qPrintable(message));
    std::fflush(stderr);
    // Like every modal box, it opens centred over the window the child is
    // using, or in the middle of the screen when there is none.
    QMessageBox::critical(QApplication::activeWindow(), title, message);
}

void QtDesktop::endProgram(int exitStatus) {
    // Ends at once: no window runs its close handlers. The settings are
    // already on disk, because every write is synced.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(exitStatus);
}

}  // namespace qv
