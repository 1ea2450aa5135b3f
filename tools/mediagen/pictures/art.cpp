#include "pictures/art.h"

#include <QDir>

#include <functional>
#include <utility>
#include <vector>

#include "common/imagefiles.h"
#include "pictures/artpieces.h"
#include "pictures/buttonbar.h"
#include "pictures/shapecolours.h"
#include "pictures/shaperenderer.h"

namespace mediagen {
namespace {

// The options dialog's hearts: the blue of the shape pictures, drawn four times
// larger and scaled down so that the 100-pixel pictures keep the rim and grain.
QImage optionsHeart(ShapeFinish finish) {
    const ShapeColour blue = shapeColours()[1];
    const QImage big = renderShape(QStringLiteral("hea"), blue, finish, QSize(400, 400), 1.22);
    return big.scaled(100, 100, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

bool writeArt(const QString& dir) {
    QDir().mkpath(dir);
    std::vector<std::pair<QString, std::function<QImage()>>> pieces = {
        {"aboutback", aboutBackground},
        {"aboutokay", aboutOkayButton},
        {"selectback", selectionBackground},
        {"optionsokay", optionsOkayButton},
        {"heartstandard", [] { return optionsHeart(ShapeFinish::Glossy); }},
        {"heartplastic", [] { return optionsHeart(ShapeFinish::Plastic); }},
        {"gradientaqua", aquaGradient},
        {"gradientyellowgreen", yellowGreenGradient},
        {"gradientgreen", greenGradient},
    };
    for (const SelectionButton& b : selectionButtons()) {
        pieces.emplace_back(QString::fromLatin1(b.builtInName),
                            [b] { return selectionButtonPicture(b, ButtonLook::Plain); });
    }
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        pieces.emplace_back("icon" + QString::number(size), [size] { return programIcon(size); });
    }
    // The selection screen is most often the first window: its pictures are
    // also built in as raw pixels, which it shows without decoding. The build
    // names the same files in QUORVEL_RAW_ART_FILES.
    const QStringList raw = {"selectback", "lcbut", "lsbut", "playcbut", "playshapes"};
    bool ok = true;
    for (const auto& [name, draw] : pieces) {
        const QImage picture = draw();
        ok = savePng(picture, dir + "/" + name + ".png") && ok;
        if (raw.contains(name))
            ok = saveRawPicture(picture, dir + "/" + name + ".argb") && ok;
    }
    return ok;
}

}  // namespace mediagen
