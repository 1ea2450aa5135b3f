// The game window's background pictures.
#include <limits>

#include "app/module1.h"
#include "catalogue/random.h"
#include "catalogue/tables.h"
#include "mainform.h"
#include "pictures/pictureloader.h"
#include "stretchpicture.h"
#include "ui/platform.h"

namespace qv {

void mainform::getbackgrounpicture() {
    platform_.random.seedFromClock();
    pick.randomnumber = static_cast<qint16>(platform_.random.draw(kBackgroundCount));
    // A missing or broken background leaves the one shown before.
    const auto picture =
        loadPicture(mediaPath(QStringLiteral("\\backgrounds\\back%1.jpg").arg(pick.randomnumber)));
    if (!picture)
        return;
    mainimage->setPicture(*picture);
}

void mainform::checkbackground() {
    qint16& count = module1_.backgroundcount;
    if (count == module1_.settings.backchange) {
        getbackgrounpicture();
        count = 1;
    } else if (count < std::numeric_limits<qint16>::max()) {
        // The count is 16 bits wide: at the top it stays, and the background
        // no longer changes in this run.
        ++count;
    }
}

}  // namespace qv
