#include "visiturl.h"

#include "desktop.h"

namespace qv {

void visiturl(Desktop& desktop, QWidget* owner, const QString& address) {
    desktop.openInDefaultProgram(owner, address);
}

QString websiteAddress() {
    return QStringLiteral(QUORVEL_WEBSITE);
}

QString donationPageAddress() {
    return websiteAddress() + QStringLiteral("/donations.htm");
}

QString helpPageAddress(const QString& programFolder) {
    return programFolder + QStringLiteral("/help/colorhelp.htm");
}

}  // namespace qv
