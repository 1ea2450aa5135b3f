#include "resizer.h"

#include <QEvent>

#include <cmath>

namespace qv {

Resizer::Resizer(QWidget* client, QSize designTwips)
    : QObject(client), client_(client), designTwips_(designTwips) {
    client_->installEventFilter(this);
}

void Resizer::add(QWidget* control, QRect twips) {
    placements_.push_back({control, twips});
    control->setGeometry(scaled(twips, client_->size()));
}

QRect Resizer::scaled(QRect twips, QSize clientPixels) const {
    const double sx = double(clientPixels.width()) / designTwips_.width();
    const double sy = double(clientPixels.height()) / designTwips_.height();
    // Scale the edges, not the sizes, so neighbouring controls never drift apart by rounding.
    const int left = int(std::lround(twips.x() * sx));
    const int top = int(std::lround(twips.y() * sy));
    const int right = int(std::lround((twips.x() + twips.width()) * sx));
    const int bottom = int(std::lround((twips.y() + twips.height()) * sy));
    return QRect(left, top, right - left, bottom - top);
}

void Resizer::layoutNow() {
    const QSize size = client_->size();
    for (const Placement& p : placements_)
        if (p.control)
            p.control->setGeometry(scaled(p.twips, size));
    emit resized();
}

bool Resizer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize)
        layoutNow();
    return QObject::eventFilter(watched, event);
}

}  // namespace qv
