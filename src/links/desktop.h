#pragma once

#include <QString>

class QWidget;

namespace qv {

// What the program asks of the desktop it runs on.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Opens a file path or web address in the user's default program and
    // returns at once; whether it worked is not reported.
    virtual void openInDefaultProgram(QWidget* owner, const QString& address) = 0;

    // Tells the user something the program goes on after: on stderr, and in
    // a box with an Okay button over owner (or the screen's middle). Returns
    // at once; the box stays until it is closed.
    virtual void showNotice(QWidget* owner, const QString& title, const QString& message) = 0;

    // Reports a failure that ends the program: on screen and on stderr.
    virtual void showFatalError(const QString& title, const QString& message) = 0;

    // Ends the program at once with the given exit status.
    virtual void endProgram(int exitStatus) = 0;
};

}  // namespace qv
