#pragma once

#include "desktop.h"

namespace qv {

// The real desktop: the default program through QDesktopServices, error
// reports in a message box and on stderr.
class QtDesktop final : public Desktop {
public:
    void openInDefaultProgram(QWidget* owner, const QString& address) override;
    void showNotice(QWidget* owner, const QString& title, const QString& message) override;
    void showFatalError(const QString& title, const QString& message) override;
    [[noreturn]] void endProgram(int exitStatus) override;
};

}  // namespace qv
