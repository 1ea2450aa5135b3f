#pragma once

#include <QColor>
#include <QString>

#include <array>

namespace mediagen {

// The eleven colours the program teaches, as file-name stems, with the paint used
// for them. Each paint is chosen to be the colour a child means by the name: a
// brown well apart from orange, a pink well apart from purple, a mid gray.
struct ShapeColour {
    const char* name;
    QColor body;
    QColor edge;  // outline and deep shading; for white the outline that lets it show
};

const std::array<ShapeColour, 11>& shapeColours();

// The ten shape stems in the order of the file names.
const std::array<const char*, 10>& shapeStems();

}  // namespace mediagen
