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
#include "ui/builtinpicture.h"

namespace mediagen {
namespace {

// The options dialog's hearts, 100 × 100: the blue of the shape pictures, drawn
// 400 pixels wide and scaled down so that the small pictures keep the rim and
// grain.
QImage optionsHeart(ShapeFinish finish, int scale) {
    const ShapeColour& blue = shapeColour(QStringLiteral("blue"));
    const QImage big = renderShape(QStringLiteral("hea"), blue, finish, QSize(400, 400), 1.22);
    QImage heart =
        big.scaled(100 * scale, 100 * scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    heart.setDevicePixelRatio(scale);
    return heart;
}

}  // namespace

bool writeArt(const QString& dir) {
    QDir().mkpath(dir);
    // The windows' pictures have twice the pixels of their size on the screen,
    // so that they are as sharp as the text beside them at 200 %. The
    // gradients are stretched over whatever they fill, and the icons come in
    // sizes of their own.
    const int scale = qv::kBuiltInPictureScale;
    std::vector<std::pair<QString, std::function<QImage()>>> pieces = {
        {"aboutback", [=] { return aboutBackground(scale); }},
        {"aboutokay", [=] { return aboutOkayButton(scale); }},
        {"selectback", [=] { return selectionBackground(scale); }},
        {"optionsokay", [=] { return optionsOkayButton(scale); }},
        {"heartstandard", [=] { return optionsHeart(ShapeFinish::Glossy, scale); }},
        {"heartplastic", [=] { return optionsHeart(ShapeFinish::Plastic, scale); }},
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
