#pragma once

#include <QString>

class QWidget;

namespace qv {

class Desktop;

// Hands an address or file path, unchanged, to the desktop's open service and
// returns at once without looking at the result.
void visiturl(Desktop& desktop, QWidget* owner, const QString& address);

// The maker's web site: scheme and host, no path, no trailing slash.
QString websiteAddress();
QString donationPageAddress();

// The help page beside the program: the folder followed directly by the path.
QString helpPageAddress(const QString& programFolder);

}  // namespace qv
