#include "pictures/shapecolours.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace mediagen {

namespace {

struct Paint {
    QColor body;
    QColor edge;
};

// In the order of the catalogue's colour names; the library's tests judge
// every shape picture by the colour its name says.
const Paint kPaints[] = {
    {QColor(34, 34, 38), QColor(0, 0, 0)},           // black
    {QColor(30, 90, 230), QColor(12, 40, 120)},      // blue
    {QColor(128, 74, 34), QColor(66, 36, 14)},       // brown
    {QColor(140, 140, 144), QColor(78, 78, 82)},     // gray
    {QColor(40, 175, 70), QColor(16, 92, 34)},       // green
    {QColor(255, 136, 0), QColor(170, 76, 0)},       // orange
    {QColor(255, 140, 200), QColor(196, 70, 134)},   // pink
    {QColor(140, 60, 200), QColor(72, 24, 112)},     // purple
    {QColor(225, 30, 30), QColor(122, 10, 10)},      // red
    {QColor(255, 255, 255), QColor(120, 120, 132)},  // white
    {QColor(255, 215, 0), QColor(186, 140, 0)},      // yellow
};
static_assert(std::size(kPaints) == kColourCount, "one paint for each colour of the catalogue");

}  // namespace

const std::array<ShapeColour, kColourCount>& shapeColours() {
    static const std::array<ShapeColour, kColourCount> colours = [] {
        std::array<ShapeColour, kColourCount> all;
        for (std::size_t i = 0; i < kColourCount; ++i)
            all[i] = {qv::kColorNames[i], kPaints[i].body, kPaints[i].edge};
        return all;
    }();
    return colours;
}

const ShapeColour& shapeColour(const QString& name) {
    for (const ShapeColour& colour : shapeColours()) {
        if (colour.name == name)
            return colour;
    }
    std::fprintf(stderr, "quorvel-mediagen: the catalogue has no colour %s\n", qPrintable(name));
    std::abort();
}

}  // namespace mediagen
