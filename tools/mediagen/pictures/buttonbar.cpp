#include "pictures/buttonbar.h"

#include <QLinearGradient>
#include <QPainterPath>

#include "common/painting.h"
#include "pictures/shapepaths.h"
#include "ui/builtinpicture.h"

namespace mediagen {

QImage buttonBar(const QColor& barColour, const QString& words, ButtonLook look, int scale) {
    const bool lit = look == ButtonLook::Lit;
    // Lit up, the bar takes on light: the same colour, paler, ringed in gold.
    const QColor colour = lit ? mix(barColour, Qt::white, 0.3) : barColour;
    const int width = 202;
    const int height = 44;
    // The corners around the rounded bar take the colour of the selection
    // screen's field, so the bar sits on it without a white box around it.
    QImage image = canvas(width, height, QColor(204, 239, 190), scale);
    QPainter p(&image);
    prepare(p);

    const QRectF bar(1.5, 1.5, width - 3, height - 3);
    QPainterPath shape;
    shape.addRoundedRect(bar, 12, 12);
    QLinearGradient body(0, bar.top(), 0, bar.bottom());
    body.setColorAt(0.0, mix(colour, Qt::white, 0.55));
    body.setColorAt(0.48, mix(colour, Qt::white, 0.15));
    body.setColorAt(0.52, colour);
    body.setColorAt(1.0, mix(colour, Qt::black, 0.12));
    p.setPen(lit ? QPen(QColor(255, 196, 0), 3) : QPen(mix(barColour, Qt::black, 0.45), 2));
    p.setBrush(body);
    p.drawPath(shape);

    // The gloss: a pale band over the upper half.
    QPainterPath gloss;
    gloss.addRoundedRect(
        QRectF(bar.left() + 5, bar.top() + 2, bar.width() - 10, bar.height() * 0.42), 9, 9);
    QLinearGradient shine(0, bar.top(), 0, bar.top() + bar.height() * 0.45);
    shine.setColorAt(0.0, QColor(255, 255, 255, 200));
    shine.setColorAt(1.0, QColor(255, 255, 255, 30));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawPath(gloss);

    // The triangle that points into the words.
    QPainterPath triangle = regularPolygon(QPointF(22, height / 2.0), 13, 3, 90.0);
    p.setPen(QPen(QColor(120, 84, 0), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QLinearGradient gold(0, 8, 0, 36);
    gold.setColorAt(0.0, QColor(255, 244, 120));
    gold.setColorAt(1.0, QColor(255, 196, 0));
    p.setBrush(gold);
    p.drawPath(triangle);

    drawLettering(p, QRectF(38, 0, width - 44, height), words, letteringFont(19, true), Qt::black);
    return image;
}

const std::array<SelectionButton, 4>& selectionButtons() {
    static const QColor blue(90, 160, 255);
    static const QColor green(90, 210, 100);
    static const std::array<SelectionButton, 4> buttons = {{
        {"lcbut", "lc", blue, "Learn Colors"},
        {"lsbut", "ls", blue, "Learn Shapes"},
        {"playcbut", "pc", green, "Play Colors"},
        {"playshapes", "ps", green, "Play Shapes"},
    }};
    return buttons;
}

QImage selectionButtonPicture(const SelectionButton& button, ButtonLook look) {
    return buttonBar(button.colour, QString::fromLatin1(button.words), look,
                     qv::kBuiltInPictureScale);
}

}  // namespace mediagen
