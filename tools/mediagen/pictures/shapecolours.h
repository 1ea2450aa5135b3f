#pragma once

#include <QColor>
#include <QString>

#include <array>
#include <tuple>

#include "catalogue/tables.h"

namespace mediagen {

// The paint of each colour the program teaches. Each paint is chosen to be the
// colour a child means by the name: a brown well apart from orange, a pink well
// apart from purple, a mid gray.
struct ShapeColour {
    QString name;  // the catalogue's name, which is also the file-name stem
    QColor body;
    QColor edge;  // outline and deep shading; for white the outline that lets it show
};

inline constexpr std::size_t kColourCount = std::tuple_size_v<decltype(qv::kColorNames)>;

// Every colour of the catalogue, in its order.
const std::array<ShapeColour, kColourCount>& shapeColours();

// The colour of that name; the catalogue must have it.
const ShapeColour& shapeColour(const QString& name);

}  // namespace mediagen
