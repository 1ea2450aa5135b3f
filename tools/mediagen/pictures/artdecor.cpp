#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

#include "common/painting.h"
#include "pictures/artpieces.h"
#include "pictures/shapepaths.h"

namespace mediagen {

QImage aquaGradient() {
    QImage image = canvas(450, 550, QColor(170, 232, 232));
    QPainter p(&image);
    prepare(p);
    QRadialGradient oval(QPointF(225, 290), 240);
    oval.setColorAt(0.0, QColor(236, 255, 255));
    oval.setColorAt(0.6, QColor(206, 246, 246));
    oval.setColorAt(1.0, QColor(170, 232, 232));
    p.save();
    p.translate(225, 290);
    p.scale(1.0, 1.25);
    p.translate(-225, -290);
    p.fillRect(QRectF(-100, -100, 650, 750), oval);
    p.restore();
    QLinearGradient band(0, 0, 0, 44);
    band.setColorAt(0.0, QColor(0, 80, 40));
    band.setColorAt(0.6, QColor(10, 110, 60));
    band.setColorAt(1.0, QColor(170, 232, 232, 0));
    p.fillRect(QRectF(0, 0, 450, 44), band);
    return image;
}

QImage yellowGreenGradient() {
    QImage image = canvas(200, 120);
    QPainter p(&image);
    QLinearGradient g(0, 0, 200, 120);
    g.setColorAt(0.0, QColor(255, 244, 120));
    g.setColorAt(1.0, QColor(120, 204, 80));
    p.fillRect(image.rect(), g);
    return image;
}

QImage greenGradient() {
    QImage image = canvas(500, 500);
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, 500);
    g.setColorAt(0.0, QColor(255, 252, 200));
    g.setColorAt(0.45, QColor(170, 230, 150));
    g.setColorAt(1.0, QColor(20, 100, 40));
    p.fillRect(image.rect(), g);
    return image;
}

QImage programIcon(int size) {
    // Drawn on an integer grid of the icon's own size so that edges fall on pixel
    // boundaries where they can, which keeps the small sizes crisp.
    QImage image = canvas(size, size, Qt::black);
    QPainter p(&image);
    prepare(p);
    const double s = size;
    const double pad = std::max(1.0, std::round(s / 16.0));
    const double half = std::floor((s - 3 * pad) / 2.0);
    p.setPen(Qt::NoPen);
    // Yellow triangle on top, centred.
    const double triW = half * 1.15;
    QPainterPath triangle;
    triangle.moveTo(s / 2.0, pad);
    triangle.lineTo(s / 2.0 + triW / 2.0, pad + half);
    triangle.lineTo(s / 2.0 - triW / 2.0, pad + half);
    triangle.closeSubpath();
    p.setBrush(QColor(255, 214, 0));
    p.drawPath(triangle);
    // Red circle bottom left, blue square bottom right.
    const double bottom = s - pad - half;
    p.setBrush(QColor(235, 36, 36));
    p.drawEllipse(QRectF(pad, bottom, half, half));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(QColor(40, 110, 255));
    p.drawRect(QRectF(s - pad - half, bottom, half, half));
    return image;
}

}  // namespace mediagen
