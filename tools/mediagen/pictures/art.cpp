#include "pictures/art.h"

#include <QDir>
#include <QSet>

#include <cstdio>
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

bool writeArt(const QString& dir, const QStringList& files) {
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

    // The build compiles in the files it names, so both must name the same
    // pictures: each as PNG, and as raw pixels those the build wants so.
    QSet<QString> drawn, asPng, asRaw;
    for (const auto& piece : pieces)
        drawn.insert(piece.first);
    bool agreed = true;
    for (const QString& file : files) {
        const QString name = file.section('.', 0, -2);
        const QString suffix = file.section('.', -1);
        if (!drawn.contains(name) || (suffix != "png" && suffix != "argb")) {
            std::fprintf(stderr, "quorvel-mediagen: the build names %s, which is not drawn here\n",
                         qPrintable(file));
            agreed = false;
        }
        (suffix == "png" ? asPng : asRaw).insert(name);
    }
    for (const QString& name : drawn) {
        if (!asPng.contains(name)) {
            std::fprintf(stderr, "quorvel-mediagen: %s.png is drawn but not named by the build\n",
                         qPrintable(name));
            agreed = false;
        }
    }
    if (!agreed)
        return false;

    QDir().mkpath(dir);
    bool ok = true;
    for (const auto& [name, draw] : pieces) {
        const QImage picture = draw();
        ok = savePng(picture, dir + "/" + name + ".png") && ok;
        if (asRaw.contains(name))
            ok = saveRawPicture(picture, dir + "/" + name + ".argb") && ok;
    }
    return ok;
}

}  // namespace mediagen
