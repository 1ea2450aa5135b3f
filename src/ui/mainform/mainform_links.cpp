// The game window's Help menu: the help page, the web site, the donation page.
#include "links/visiturl.h"
#include "mainform.h"
#include "ui/platform.h"

namespace qv {

void mainform::abounmenu_click() {
    visiturl(platform_.desktop, this, helpPageAddress(platform_.programFolder));
}

void mainform::webmenu_click() {
    visiturl(platform_.desktop, this, platform_.website);
}

void mainform::donatemenu_click() {
    visiturl(platform_.desktop, this, donationPageAddress(platform_.website));
}

}  // namespace qv
