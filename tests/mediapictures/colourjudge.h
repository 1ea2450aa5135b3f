#pragma once

#include <QColor>
#include <QImage>
#include <QString>

// How a picture's colour reads, judged independently of the generator: a table of
// the eleven colour names with a typical sRGB value for each, and perceptual
// (CIE Lab) distance.
namespace colourjudge {

// The name whose typical colour is nearest to colour, and the distance to it.
QString nearestName(const QColor& colour, double* distance = nullptr);

// The colour that covers the most of the picture apart from its white field:
// pixels are sorted into coarse bins, and the fullest bin's mean is returned.
QColor dominantNonWhite(const QImage& image);

// Mean colour of a square patch around centre.
QColor patchMean(const QImage& image, QPoint centre, int halfSide);

// Mean absolute difference (0..255) of two pictures seen as small thumbnails.
double thumbnailDifference(const QImage& a, const QImage& b);

}  // namespace colourjudge
