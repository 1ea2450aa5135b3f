#pragma once

#include <QColor>
#include <QPainter>
#include <QPointF>

namespace mediagen {

// Three bright colours for one reward picture.
struct MotifColours {
    QColor main;
    QColor accent;
    QColor third;
};

constexpr int kMotifCount = 10;

// Paints motif 0 to 9 (smiling star, balloons, sun, rainbow, fireworks, trophy,
// flowers, hearts, rosette, animal face) centred on centre, about size across.
// variant picks among versions of a motif (such as which animal).
void paintMotif(QPainter& painter, int motif, const QPointF& centre, double size,
                const MotifColours& colours, int variant);

// A five-pointed sparkle, for scattering around a motif.
void paintSparkle(QPainter& painter, const QPointF& centre, double radius, const QColor& colour);

}  // namespace mediagen
