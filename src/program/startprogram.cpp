#include "startprogram.h"

#include "app/module1.h"
#include "links/desktop.h"
#include "ui/forms.h"
#include "ui/platform.h"

namespace qv {

void startprogram(Forms& forms) {
    Module1& module1 = forms.module1();
    Platform& platform = forms.platform();
    module1.settings.runonce = readRunonce(platform.store);
    if (module1.settings.runonce) {
        loadsettings(module1.settings, platform.store);
        forms.openChoice();
    } else {
        forms.showFirstRunScreen();
    }
}

bool startprogramOrReport(Forms& forms) {
    try {
        startprogram(forms);
        return true;
    } catch (const std::exception& failure) {
        Desktop& desktop = forms.platform().desktop;
        desktop.showFatalError(QStringLiteral("Quorvel Learning"),
                               QStringLiteral("Quorvel Learning cannot start.\n\n%1")
                                   .arg(QString::fromStdString(failure.what())));
        desktop.endProgram(1);
        return false;
    }
}

}  // namespace qv
