#include "qtdesktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include <cstdio>
#include <cstdlib>

namespace qv {

namespace {

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
    auto* box = new QMessageBox(QMessageBox::Information, title, message, QMessageBox::Ok, owner);
    box->setObjectName(QStringLiteral("notice"));
    box->button(QMessageBox::Ok)->setText(QStringLiteral("Okay"));
    box->setAttribute(Qt::WA_DeleteOnClose);
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
