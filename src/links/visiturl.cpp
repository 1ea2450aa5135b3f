#include "visiturl.h"

#include "desktop.h"

namespace qv {

void visiturl(Desktop& desktop, QWidget* owner, const QString& address) {
    desktop.openInDefaultProgram(owner, address);
}

QString donationPageAddress(const QString& website) {
    return website + QStringLiteral("/donations.htm");
}

QString helpPageAddress(const QString& programFolder) {
    return programFolder + QStringLiteral("/help/colorhelp.htm");
}

}  // namespace qv
