#pragma once

#include <QString>

class QWidget;

namespace qv {

class Desktop;

// Hands an address or file path, unchanged, to the desktop's open service and
// returns at once without looking at the result.
void visiturl(Desktop& desktop, QWidget* owner, const QString& address);

// The donation page of the maker's web site (scheme and host, no path).
QString donationPageAddress(const QString& website);

// The help page beside the program: the folder followed directly by the path.
QString helpPageAddress(const QString& programFolder);

}  // namespace qv
