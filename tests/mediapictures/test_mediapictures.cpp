// Checks the pictures of the generated media library and the built-in art: every
// file is there at its size, every shape picture shows the colour its name says,
// the rewards and backgrounds are all different, and the generator repeats its
// output exactly.
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QResource>
#include <QTemporaryDir>
#include <QtTest>

#include "catalogue/tables.h"
#include "colourjudge.h"
#include "pictures/rawpicture.h"
#include "support/picturematch.h"
#include "ui/builtinpicture.h"

namespace {

const QString kLibrary = QStringLiteral(QUORVEL_PROGRAM_DIR);
const QString kArt = QStringLiteral(QUORVEL_ART_DIR);

const QStringList kStems(qv::kShapeStems.begin(), qv::kShapeStems.end());
const QStringList kColours(qv::kColorNames.begin(), qv::kColorNames.end());
const QStringList kShapeFolders = {"shapes", "shapes1"};
const QSize kShapeSize(900, 800);
// The game window stretches its background to its own shape; the backgrounds
// are drawn for the most common one, a maximised window of 16:9, where they
// show undistorted.
const QSize kBackgroundSize(1920, 1080);

// The windows' built-in pictures and their sizes on the screen: the About
// box's client area, its Okay button (131 x 68 with its frame), the selection
// screen's background and buttons (208 x 50 with their frames), the options
// dialog's OKAY icon and its hearts (shown at most 100 high).
const QList<QPair<QString, QSize>> kShownSizes = {
    {"aboutback", {540, 540}},    {"aboutokay", {127, 64}},  {"selectback", {305, 402}},
    {"lcbut", {202, 44}},         {"lsbut", {202, 44}},      {"playcbut", {202, 44}},
    {"playshapes", {202, 44}},    {"optionsokay", {80, 48}}, {"heartstandard", {100, 100}},
    {"heartplastic", {100, 100}},
};

QImage load(const QString& path) {
    QImageReader reader(path);
    return reader.read();
}

// A shape stands on a white field: the four corners must be white.
void verifyWhiteField(const QImage& image) {
    for (QPoint corner : {QPoint(8, 8), QPoint(image.width() - 9, 8), QPoint(8, image.height() - 9),
                          QPoint(image.width() - 9, image.height() - 9)}) {
        const QColor c = colourjudge::patchMean(image, corner, 4);
        QVERIFY2(c.red() > 245 && c.green() > 245 && c.blue() > 245,
                 qPrintable(
                     QString("corner %1,%2 is %3").arg(corner.x()).arg(corner.y()).arg(c.name())));
    }
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The files of the built-in art, as the build names them.
const QStringList kArtFiles = QStringLiteral(QUORVEL_ART_FILES).split(',');

// Runs the generator and reports whether it succeeded.
bool runGenerator(const QString& kind, const QString& dir, const QStringList& files = {}) {
    QProcess generator;
    generator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    generator.start(QStringLiteral(QUORVEL_MEDIAGEN), QStringList{kind, dir} + files);
    return generator.waitForFinished(300000) && generator.exitStatus() == QProcess::NormalExit &&
           generator.exitCode() == 0;
}

}  // namespace

class TestMediaPictures : public QObject {
    Q_OBJECT

private slots:
    void decodesAtItsSize_data();
    void decodesAtItsSize();
    void shapeReadsAsItsColour_data();
    void shapeReadsAsItsColour();
    void whiteShapeIsWhiteInsideAnOutline_data();
    void whiteShapeIsWhiteInsideAnOutline();
    void picturesOfASeriesDiffer_data();
    void picturesOfASeriesDiffer();
    void backgroundsHaveNoEdgeStrip_data();
    void backgroundsHaveNoEdgeStrip();
    void plainButtonsAreTheBuiltInPictures_data();
    void plainButtonsAreTheBuiltInPictures();
    void litButtonsAreThePlainOnesLitUp_data();
    void litButtonsAreThePlainOnesLitUp();
    void generatorRepeatsItsOutput_data();
    void generatorRepeatsItsOutput();
    void generatorRefusesArtTheBuildDoesNotName_data();
    void generatorRefusesArtTheBuildDoesNotName();
    void builtInPicturesHaveTwiceThePixels_data();
    void builtInPicturesHaveTwiceThePixels();
    void rawPicturesShowWhatTheirPngsShow_data();
    void rawPicturesShowWhatTheirPngsShow();
    void damagedRawPicturesAreRefused_data();
    void damagedRawPicturesAreRefused();
};

void TestMediaPictures::decodesAtItsSize_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    auto add = [](const QString& path, QSize size) {
        QTest::newRow(qPrintable(path)) << path << size;
    };
    for (const QString& folder : kShapeFolders) {
        for (const QString& stem : kStems) {
            for (const QString& colour : kColours) {
                add(kLibrary + "/" + folder + "/" + stem + colour + ".jpg", kShapeSize);
            }
        }
    }
    for (int n = 0; n < qv::kBackgroundCount; ++n) {
        add(kLibrary + QString("/backgrounds/back%1.jpg").arg(n), kBackgroundSize);
    }
    for (int n = 0; n < qv::kRewardCount; ++n)
        add(kLibrary + QString("/backgrounds/c%1.jpg").arg(n), kShapeSize);
    // The selection buttons' pictures have the built-in pictures' pixels.
    for (const char* button : {"lc", "ls", "pc", "ps"}) {
        for (const char* look : {"y", "w"}) {
            add(kLibrary + "/backgrounds/" + button + look + ".jpg", QSize(404, 88));
        }
    }
    for (const auto& [name, size] : kShownSizes)
        add(kArt + "/" + name + ".png", size * qv::kBuiltInPictureScale);
    const QList<QPair<QString, QSize>> decoration = {
        {"gradientaqua", {450, 550}},
        {"gradientyellowgreen", {200, 120}},
        {"gradientgreen", {500, 500}},
    };
    for (const auto& [name, size] : decoration)
        add(kArt + "/" + name + ".png", size);
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        add(kArt + QString("/icon%1.png").arg(size), QSize(size, size));
    }
}

void TestMediaPictures::decodesAtItsSize() {
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QImageReader reader(path);
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(path + ": " + reader.errorString()));
    QCOMPARE(image.size(), size);
}

void TestMediaPictures::shapeReadsAsItsColour_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("colour");
    for (const QString& folder : kShapeFolders) {
        for (const QString& stem : kStems) {
            for (const QString& colour : kColours) {
                if (colour == "white")
                    continue;  // judged by its own case below
                const QString name = folder + "/" + stem + colour;
                QTest::newRow(qPrintable(name)) << kLibrary + "/" + name + ".jpg" << colour;
            }
        }
    }
}

void TestMediaPictures::shapeReadsAsItsColour() {
    QFETCH(QString, path);
    QFETCH(QString, colour);
    const QImage image = load(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    verifyWhiteField(image);
    const QColor dominant = colourjudge::dominantNonWhite(image);
    double distance = 0;
    const QString seen = colourjudge::nearestName(dominant, &distance);
    QVERIFY2(
        seen == colour,
        qPrintable(
            QString("%1 mostly shows %2, which reads as %3").arg(path, dominant.name(), seen)));
}

// A white shape on a white field would vanish; it must be white inside and carry
// a visible darker outline. Going left from the middle of the picture we expect
// white (the shape), then a clearly darker line (the outline), then white again
// (the field).
void TestMediaPictures::whiteShapeIsWhiteInsideAnOutline_data() {
    QTest::addColumn<QString>("path");
    for (const QString& folder : kShapeFolders) {
        for (const QString& stem : kStems) {
            const QString name = folder + "/" + stem + "white";
            QTest::newRow(qPrintable(name)) << kLibrary + "/" + name + ".jpg";
        }
    }
}

void TestMediaPictures::whiteShapeIsWhiteInsideAnOutline() {
    QFETCH(QString, path);
    const QImage image = load(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    verifyWhiteField(image);
    const QPoint middle(image.width() / 2, image.height() / 2);
    const QColor inside = colourjudge::patchMean(image, middle, 10);
    QCOMPARE(colourjudge::nearestName(inside), QString("white"));
    QVERIFY2(inside.lightness() > 225, qPrintable("inside is " + inside.name()));

    int outlineAt = -1;
    for (int x = middle.x(); x >= 0; --x) {
        if (QColor(image.pixel(x, middle.y())).lightness() < 180) {
            outlineAt = x;
            break;
        }
    }
    QVERIFY2(outlineAt > 0, "no outline between the middle and the left edge");
    QVERIFY2(outlineAt > 20, "the outline touches the edge of the picture");
    const QColor outside = colourjudge::patchMean(image, QPoint(outlineAt / 2, middle.y()), 3);
    QVERIFY2(outside.lightness() > 240,
             qPrintable("field left of the outline is " + outside.name()));
}

void TestMediaPictures::picturesOfASeriesDiffer_data() {
    QTest::addColumn<QStringList>("paths");
    QStringList rewards;
    for (int n = 0; n < qv::kRewardCount; ++n)
        rewards << kLibrary + QString("/backgrounds/c%1.jpg").arg(n);
    QStringList backgrounds;
    for (int n = 0; n < qv::kBackgroundCount; ++n)
        backgrounds << kLibrary + QString("/backgrounds/back%1.jpg").arg(n);
    QTest::newRow("rewards") << rewards;
    QTest::newRow("backgrounds") << backgrounds;
}

// No two pictures of a series may look alike: seen as small thumbnails, each pair
// differs on average by a clearly visible amount.
void TestMediaPictures::picturesOfASeriesDiffer() {
    QFETCH(QStringList, paths);
    QList<QImage> images;
    for (const QString& path : paths) {
        images << load(path);
        QVERIFY2(!images.last().isNull(), qPrintable(path));
    }
    const double visible = 8.0;
    double closest = 1e9;
    for (int i = 0; i < images.size(); ++i) {
        for (int j = i + 1; j < images.size(); ++j) {
            const double d = colourjudge::thumbnailDifference(images[i], images[j]);
            closest = std::min(closest, d);
            QVERIFY2(
                d > visible,
                qPrintable(QString("%1 and %2 differ by only %3").arg(paths[i], paths[j]).arg(d)));
        }
    }
    qInfo("closest pair differs by %.1f", closest);
}

void TestMediaPictures::backgroundsHaveNoEdgeStrip_data() {
    QTest::addColumn<QString>("path");
    for (int n = 0; n < qv::kBackgroundCount; ++n) {
        const QString name = QString("back%1.jpg").arg(n);
        QTest::newRow(qPrintable(name)) << kLibrary + "/backgrounds/" + name;
    }
}

// A background is stretched over the whole window, so a line along one of its
// edges shows as a frame: along every edge, the outermost row or column must
// look like the one a few pixels inside it. Compared over stretches of 100
// pixels, so that a strip along part of an edge shows as well as a whole one.
void TestMediaPictures::backgroundsHaveNoEdgeStrip() {
    QFETCH(QString, path);
    const QImage image = load(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    const int inside = 6;
    const int stretch = 100;
    const double visible = 12.0;  // mean grey levels
    struct Edge {
        const char* name;
        QPoint start;
        QPoint along;
        QPoint inwards;
    };
    const int right = image.width() - 1;
    const int bottom = image.height() - 1;
    const Edge edges[] = {{"left", {0, 0}, {0, 1}, {1, 0}},
                          {"right", {right, 0}, {0, 1}, {-1, 0}},
                          {"top", {0, 0}, {1, 0}, {0, 1}},
                          {"bottom", {0, bottom}, {1, 0}, {0, -1}}};
    const auto grey = [](QRgb c) { return (qRed(c) + qGreen(c) + qBlue(c)) / 3.0; };
    for (const Edge& edge : edges) {
        const int length = edge.along.x() ? image.width() : image.height();
        for (int from = 0; from + stretch <= length; from += stretch / 2) {
            double difference = 0;
            for (int k = from; k < from + stretch; ++k) {
                const QPoint outer = edge.start + edge.along * k;
                difference +=
                    grey(image.pixel(outer)) - grey(image.pixel(outer + edge.inwards * inside));
            }
            difference /= stretch;
            QVERIFY2(std::abs(difference) < visible,
                     qPrintable(QString("%1 edge, pixels %2 to %3: the edge is %4 grey levels "
                                        "%5 than the picture beside it")
                                    .arg(edge.name)
                                    .arg(from)
                                    .arg(from + stretch - 1)
                                    .arg(std::abs(difference), 0, 'f', 1)
                                    .arg(difference > 0 ? "lighter" : "darker")));
        }
    }
}

namespace {

// The selection screen's buttons: the built-in picture and the stem of the
// library's pictures.
void addSelectionButtonRows() {
    QTest::addColumn<QString>("builtIn");
    QTest::addColumn<QString>("stem");
    const std::pair<const char*, const char*> buttons[] = {
        {"lcbut", "lc"}, {"lsbut", "ls"}, {"playcbut", "pc"}, {"playshapes", "ps"}};
    for (const auto& [builtIn, stem] : buttons)
        QTest::newRow(stem) << QString::fromLatin1(builtIn) << QString::fromLatin1(stem);
}

}  // namespace

void TestMediaPictures::plainButtonsAreTheBuiltInPictures_data() {
    addSelectionButtonRows();
}

// The selection screen first shows its buttons' built-in pictures and, once the
// pointer or the focus has passed, the library's plain ones: a child must not
// see a button change.
void TestMediaPictures::plainButtonsAreTheBuiltInPictures() {
    QFETCH(QString, builtIn);
    QFETCH(QString, stem);
    const QImage shownFirst = qv::builtInPicture(builtIn);
    QVERIFY(!shownFirst.isNull());
    const QImage plain = load(kLibrary + "/backgrounds/" + stem + "w.jpg");
    QVERIFY(!plain.isNull());
    const QString mismatch = qvtest::jpegMismatch(shownFirst, plain);
    QVERIFY2(mismatch.isEmpty(), qPrintable(stem + "w.jpg against " + builtIn + ": " + mismatch));
}

void TestMediaPictures::litButtonsAreThePlainOnesLitUp_data() {
    addSelectionButtonRows();
}

// A lit button is its plain picture lit up: the same words in the same place,
// the bar in its own colour but lighter, and a golden ring around it.
void TestMediaPictures::litButtonsAreThePlainOnesLitUp() {
    QFETCH(QString, stem);
    const QImage plain = load(kLibrary + "/backgrounds/" + stem + "w.jpg");
    const QImage lit = load(kLibrary + "/backgrounds/" + stem + "y.jpg");
    QVERIFY(!plain.isNull() && !lit.isNull());
    QCOMPARE(lit.size(), plain.size());

    int letters = 0, lettersKept = 0;
    int barPixels = 0;
    double plainHue = 0, litHue = 0, plainLightness = 0, litLightness = 0;
    // Inside the bar's outline, which the ring replaces.
    const int margin = plain.height() / 8;
    for (int y = margin; y < plain.height() - margin; ++y) {
        for (int x = margin; x < plain.width() - margin; ++x) {
            const QColor p = plain.pixelColor(x, y);
            const QColor l = lit.pixelColor(x, y);
            if (p.lightness() < 60) {
                ++letters;
                lettersKept += l.lightness() < 90 ? 1 : 0;
            }
            // The bar's own colour: strongly coloured, and not the gold triangle.
            const bool gold = p.hsvHue() >= 25 && p.hsvHue() <= 75;
            if (p.hsvSaturation() >= 100 && p.value() >= 120 && !gold) {
                ++barPixels;
                plainHue += p.hsvHue();
                litHue += l.hsvHue();
                plainLightness += p.lightness();
                litLightness += l.lightness();
            }
        }
    }
    QVERIFY2(letters > plain.width() * 2, "the plain picture shows no words");
    QVERIFY2(lettersKept >= letters * 9 / 10,
             qPrintable(QString("only %1 of the %2 dark pixels of the words are dark when lit")
                            .arg(lettersKept)
                            .arg(letters)));
    QVERIFY2(barPixels > plain.width() * plain.height() / 4, "the plain bar shows little colour");
    plainHue /= barPixels;
    litHue /= barPixels;
    QVERIFY2(std::abs(litHue - plainHue) < 12,
             qPrintable(QString("the bar's hue goes from %1 to %2").arg(plainHue).arg(litHue)));
    QVERIFY2(litLightness / barPixels >= plainLightness / barPixels + 15,
             qPrintable(QString("the bar's lightness goes only from %1 to %2")
                            .arg(plainLightness / barPixels)
                            .arg(litLightness / barPixels)));
    // The ring, seen in the middle of the top edge.
    const QColor ring = lit.pixelColor(lit.width() / 2, lit.height() / 30);
    QVERIFY2(ring.hsvHue() >= 35 && ring.hsvHue() <= 60 && ring.hsvSaturation() > 150,
             qPrintable("the top edge is " + ring.name()));
}

void TestMediaPictures::generatorRepeatsItsOutput_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("builtDir");
    QTest::newRow("art") << "art" << kArt;
    QTest::newRow("pictures") << "pictures" << kLibrary;
}

// The build generated the library once; a second run must write the very same
// bytes, file for file.
void TestMediaPictures::generatorRepeatsItsOutput() {
    QFETCH(QString, kind);
    QFETCH(QString, builtDir);
    QTemporaryDir again;
    QVERIFY(again.isValid());
    QVERIFY(runGenerator(kind, again.path(), kind == "art" ? kArtFiles : QStringList()));
    int compared = 0;
    QDirIterator files(again.path(), {"*.jpg", "*.png"}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        const QString relative = QDir(again.path()).relativeFilePath(path);
        const QByteArray built = fileBytes(builtDir + "/" + relative);
        QVERIFY2(!built.isEmpty(), qPrintable(relative + " is missing from the build"));
        QVERIFY2(built == fileBytes(path), qPrintable(relative + " came out different"));
        ++compared;
    }
    QVERIFY(compared >= (kind == "art" ? 20 : 314));
}

void TestMediaPictures::builtInPicturesHaveTwiceThePixels_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("shownSize");
    for (const auto& [name, size] : kShownSizes)
        QTest::newRow(qPrintable(name)) << name << size;
}

// Every built-in picture of a window comes with two pixels for each of the
// window's in each direction, and says so, so that the window keeps its size
// and a screen at 200 % shows every pixel.
void TestMediaPictures::builtInPicturesHaveTwiceThePixels() {
    QFETCH(QString, name);
    QFETCH(QSize, shownSize);
    const QImage picture = qv::builtInPicture(name);
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.devicePixelRatio(), 2.0);
    QCOMPARE(picture.deviceIndependentSize(), QSizeF(shownSize));
    QCOMPARE(picture.size(), shownSize * 2);
}

void TestMediaPictures::generatorRefusesArtTheBuildDoesNotName_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("as the build names them") << kArtFiles << true;
    QStringList missing = kArtFiles;
    missing.removeOne("heartplastic.png");
    QTest::newRow("a picture left out") << missing << false;
    QTest::newRow("a picture not drawn") << kArtFiles + QStringList{"heartdotted.png"} << false;
    QTest::newRow("raw pixels of a picture not drawn")
        << kArtFiles + QStringList{"heartdotted.argb"} << false;
    QTest::newRow("another format") << kArtFiles + QStringList{"lcbut.gif"} << false;
    QStringList asPngOnly = kArtFiles.filter(".png");
    QTest::newRow("no raw pixels") << asPngOnly << true;
}

// The build compiles in the files it names; the generator draws only when
// those are exactly the pictures it has, so the two lists cannot part.
void TestMediaPictures::generatorRefusesArtTheBuildDoesNotName() {
    QFETCH(QStringList, files);
    QFETCH(bool, accepted);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(runGenerator("art", dir.path(), files), accepted);
    const QStringList written = QDir(dir.path()).entryList(QDir::Files);
    if (accepted) {
        QStringList expected = files;
        expected.sort();
        QStringList sorted = written;
        sorted.sort();
        QCOMPARE(sorted, expected);
    } else {
        QCOMPARE(written, QStringList());
    }
}

// The selection screen's pictures are built in twice, as PNG and as raw
// pixels; the program shows the raw ones, which must be the same picture.
void TestMediaPictures::rawPicturesShowWhatTheirPngsShow_data() {
    QTest::addColumn<QString>("name");
    for (const char* name : {"selectback", "lcbut", "lsbut", "playcbut", "playshapes"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestMediaPictures::rawPicturesShowWhatTheirPngsShow() {
    QFETCH(QString, name);
    const QImage png =
        load(kArt + "/" + name + ".png").convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QVERIFY(!png.isNull());
    QFile file(kArt + "/" + name + ".argb");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QImage fromFile =
        qv::viewRawPicture(reinterpret_cast<const uchar*>(bytes.constData()), bytes.size());
    QCOMPARE(fromFile, png);
    // What the program shows is the built-in raw copy, read in place.
    const QImage shown = qv::builtInPicture(name);
    QImage pngAsShown = png;
    pngAsShown.setDevicePixelRatio(qv::kBuiltInPictureScale);
    QCOMPARE(shown, pngAsShown);
    const QResource raw(":/art/" + name + ".argb");
    QVERIFY(raw.isValid());
    QCOMPARE(shown.constBits(), raw.data() + qv::kRawPictureHeaderBytes);
}

void TestMediaPictures::damagedRawPicturesAreRefused_data() {
    QImage picture(3, 2, QImage::Format_ARGB32_Premultiplied);
    picture.fill(qRgba(10, 20, 30, 255));
    const QByteArray whole = qv::encodeRawPicture(picture);
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("whole") << whole << true;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("header only") << whole.left(qv::kRawPictureHeaderBytes) << false;
    QTest::newRow("one pixel short") << whole.chopped(4) << false;
    QTest::newRow("one byte too many") << whole + 'x' << false;
    QByteArray magic = whole;
    magic[0] = 'X';
    QTest::newRow("another format") << magic << false;
    QByteArray huge = whole;
    huge[4] = huge[5] = huge[6] = huge[7] = char(0xff);
    QTest::newRow("absurd width") << huge << false;
}

void TestMediaPictures::damagedRawPicturesAreRefused() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, accepted);
    const QImage picture =
        qv::viewRawPicture(reinterpret_cast<const uchar*>(bytes.constData()), bytes.size());
    QCOMPARE(!picture.isNull(), accepted);
    if (accepted) {
        QCOMPARE(picture.size(), QSize(3, 2));
        QCOMPARE(picture.pixel(2, 1), qRgba(10, 20, 30, 255));
    }
}

QTEST_GUILESS_MAIN(TestMediaPictures)
#include "test_mediapictures.moc"
