#include "mainform.h"

#include "ui/appicon.h"
#include "ui/forms.h"

namespace qv {

mainform::mainform(Forms& forms) : QMainWindow(nullptr), forms_(forms) {
    setObjectName(QStringLiteral("mainform"));
    setWindowTitle(QStringLiteral("Learn Colors and Shapes"));
    setWindowIcon(appIcon());
}

mainform::~mainform() = default;

void mainform::showAsWindow() { show(); }

}  // namespace qv
