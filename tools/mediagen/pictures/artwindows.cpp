#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include "common/painting.h"
#include "pictures/artpieces.h"
#include "pictures/shapepaths.h"

namespace mediagen {
namespace {

const QString kTitle = QStringLiteral("Quorvel Learning");

// Title letters in turn of bright colours, each outlined, the way a picture book
// letters its cover.
void rainbowTitle(QPainter& p, const QRectF& box, const QFont& font, double outline) {
    static const QColor colours[] = {QColor(230, 40, 40),  QColor(255, 140, 0),
                                     QColor(240, 200, 0),  QColor(40, 170, 70),
                                     QColor(30, 100, 230), QColor(150, 70, 210)};
    QPainterPath whole;
    whole.addText(0, 0, font, kTitle);
    const double dx = box.center().x() - whole.boundingRect().center().x();
    const double dy = box.center().y() - whole.boundingRect().center().y();
    double x = 0;
    const QFontMetricsF metrics(font);
    int colour = 0;
    for (QChar ch : kTitle) {
        QPainterPath letter;
        letter.addText(x + dx, dy, font, QString(ch));
        x += metrics.horizontalAdvance(ch);
        if (ch.isSpace())
            continue;
        p.setPen(QPen(Qt::white, outline * 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(letter);
        p.setPen(QPen(QColor(20, 60, 20), outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(colours[colour++ % 6]);
        p.drawPath(letter);
    }
}

// Where the title's letters lie when centred in box.
QRectF titleBounds(const QRectF& box, const QFont& font) {
    QPainterPath whole;
    whole.addText(0, 0, font, kTitle);
    const QRectF bounds = whole.boundingRect();
    return bounds.translated(box.center() - bounds.center());
}

bool insideCircle(const QRectF& rect, const QPointF& centre, double radius) {
    for (const QPointF& corner :
         {rect.topLeft(), rect.topRight(), rect.bottomLeft(), rect.bottomRight()}) {
        const QPointF d = corner - centre;
        if (d.x() * d.x() + d.y() * d.y() > radius * radius)
            return false;
    }
    return true;
}

}  // namespace

QImage aboutBackground(int scale) {
    QImage image = canvas(540, 540, Qt::white, scale);
    QPainter p(&image);
    prepare(p);
    QRadialGradient frame(QPointF(270, 270), 390);
    frame.setColorAt(0.0, QColor(120, 210, 100));
    frame.setColorAt(1.0, QColor(30, 130, 50));
    p.fillRect(QRectF(0, 0, 540, 540), frame);
    // Bright dots along the frame, like a toy's border.
    const QColor dots[] = {QColor(255, 220, 40), QColor(255, 120, 160), QColor(120, 200, 255)};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        const QPointF corner((i % 2) ? 505 : 35, (i / 2) ? 505 : 35);
        p.setBrush(dots[i % 3]);
        p.drawPath(regularPolygon(corner, 22, 5, 0, 10));
    }
    // The round centre and its yellow ring stay whole inside the box's
    // 540 x 539 client area, with room to spare at any scale.
    const QPointF centre(270, 268);
    const double radius = 250;
    p.setPen(QPen(QColor(255, 230, 80), 8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius + 5, radius + 5);
    QRadialGradient paper(centre, radius);
    paper.setColorAt(0.0, Qt::white);
    paper.setColorAt(0.85, Qt::white);
    paper.setColorAt(1.0, QColor(236, 246, 236));
    p.setPen(QPen(QColor(20, 100, 40), 3));
    p.setBrush(paper);
    p.drawEllipse(centre, radius, radius);
    // The title above the version line, as large as it goes while every
    // letter, outline and all, stays inside the round centre.
    const QRectF titleBox(40, 92, 460, 64);
    QFont title = letteringFont(44, true);
    for (int size = 44; size > 20; --size) {
        title = letteringFont(size, true);
        if (insideCircle(titleBounds(titleBox, title).marginsAdded(QMarginsF(8, 8, 8, 8)), centre,
                         radius))
            break;
    }
    rainbowTitle(p, titleBox, title, 2.5);
    return image;
}

QImage aboutOkayButton(int scale) {
    QImage image = canvas(127, 64, Qt::transparent, scale);
    QPainter p(&image);
    prepare(p);
    const QRectF oval(3, 3, 121, 58);
    QLinearGradient body(0, oval.top(), 0, oval.bottom());
    body.setColorAt(0.0, QColor(140, 230, 120));
    body.setColorAt(0.5, QColor(50, 170, 60));
    body.setColorAt(1.0, QColor(24, 110, 36));
    p.setPen(QPen(QColor(16, 80, 24), 2.5));
    p.setBrush(body);
    p.drawEllipse(oval);
    QLinearGradient shine(0, oval.top(), 0, oval.center().y());
    shine.setColorAt(0.0, QColor(255, 255, 255, 190));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawEllipse(
        QRectF(oval.left() + 16, oval.top() + 3, oval.width() - 32, oval.height() * 0.45));
    drawLettering(p, oval, QStringLiteral("Okay"), letteringFont(26, true), Qt::white,
                  QColor(16, 80, 24), 4);
    return image;
}

QImage selectionBackground(int scale) {
    QImage image = canvas(305, 402, Qt::white, scale);
    QPainter p(&image);
    prepare(p);
    const QRectF outer(0, 0, 305, 402);
    p.fillRect(outer, QColor(46, 150, 60));
    // The bevel: light on the top and left edges, dark on the bottom and right.
    const double bevel = 10;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(130, 214, 120));
    p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(305, 0), QPointF(305 - bevel, bevel),
                             QPointF(bevel, bevel), QPointF(bevel, 402 - bevel), QPointF(0, 402)}));
    p.setBrush(QColor(20, 90, 34));
    p.drawPolygon(QPolygonF({QPointF(305, 402), QPointF(0, 402), QPointF(bevel, 402 - bevel),
                             QPointF(305 - bevel, 402 - bevel), QPointF(305 - bevel, bevel),
                             QPointF(305, 0)}));
    // The field the buttons stand on, sunk in by a thin inner bevel.
    const QRectF field(bevel + 4, 86, 305 - 2 * bevel - 8, 402 - 86 - bevel - 4);
    QLinearGradient grass(0, field.top(), 0, field.bottom());
    grass.setColorAt(0.0, QColor(214, 244, 200));
    grass.setColorAt(1.0, QColor(192, 234, 178));
    p.setPen(QPen(QColor(24, 100, 36), 2));
    p.setBrush(grass);
    p.drawRect(field);
    // The yellow plate with the title.
    const QRectF plate(bevel + 6, bevel + 6, 305 - 2 * bevel - 12, 62);
    QLinearGradient gold(0, plate.top(), 0, plate.bottom());
    gold.setColorAt(0.0, QColor(255, 246, 150));
    gold.setColorAt(0.5, QColor(255, 222, 40));
    gold.setColorAt(1.0, QColor(236, 180, 0));
    p.setPen(QPen(QColor(150, 100, 0), 2));
    p.setBrush(gold);
    p.drawRoundedRect(plate, 10, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 100, 0));
    for (const QPointF& screw :
         {plate.topLeft() + QPointF(10, 10), plate.topRight() + QPointF(-10, 10),
          plate.bottomLeft() + QPointF(10, -10), plate.bottomRight() + QPointF(-10, -10)}) {
        p.drawEllipse(screw, 3, 3);
    }
    drawLettering(p, plate, kTitle, letteringFont(25, true), QColor(20, 90, 34),
                  QColor(255, 255, 255), 3);
    return image;
}

QImage optionsOkayButton(int scale) {
    QImage image = canvas(80, 48, Qt::white, scale);
    QPainter p(&image);
    prepare(p);
    const QRectF box(1, 1, 78, 46);
    QLinearGradient body(0, box.top(), 0, box.bottom());
    body.setColorAt(0.0, QColor(110, 230, 222));
    body.setColorAt(0.5, QColor(32, 186, 180));
    body.setColorAt(1.0, QColor(14, 130, 128));
    p.setPen(QPen(QColor(8, 92, 92), 2));
    p.setBrush(body);
    p.drawRoundedRect(box, 6, 6);
    drawLettering(p, box, QStringLiteral("OKAY"), letteringFont(20, true), QColor(255, 234, 0),
                  QColor(10, 80, 80), 3);
    return image;
}

}  // namespace mediagen
