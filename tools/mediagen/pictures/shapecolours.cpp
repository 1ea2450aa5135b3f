#include "pictures/shapecolours.h"

namespace mediagen {

const std::array<ShapeColour, 11>& shapeColours() {
    static const std::array<ShapeColour, 11> colours = {{
        {"black", QColor(34, 34, 38), QColor(0, 0, 0)},
        {"blue", QColor(30, 90, 230), QColor(12, 40, 120)},
        {"brown", QColor(128, 74, 34), QColor(66, 36, 14)},
        {"gray", QColor(140, 140, 144), QColor(78, 78, 82)},
        {"green", QColor(40, 175, 70), QColor(16, 92, 34)},
        {"orange", QColor(255, 136, 0), QColor(170, 76, 0)},
        {"pink", QColor(255, 140, 200), QColor(196, 70, 134)},
        {"purple", QColor(140, 60, 200), QColor(72, 24, 112)},
        {"red", QColor(225, 30, 30), QColor(122, 10, 10)},
        {"white", QColor(255, 255, 255), QColor(120, 120, 132)},
        {"yellow", QColor(255, 215, 0), QColor(186, 140, 0)},
    }};
    return colours;
}

const std::array<const char*, 10>& shapeStems() {
    static const std::array<const char*, 10> stems = {"cir", "dia", "hea", "oct", "oval",
                                                      "pen", "rec", "squ", "sta", "tri"};
    return stems;
}

}  // namespace mediagen
