#include "fixturelibrary.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QtTest>

#include "catalogue/tables.h"

namespace qvtest {

namespace {

void writeTinyPicture(const QString& path, QColor colour) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY2(image.save(path, "JPG"), qPrintable(path));
}

}  // namespace

FixtureLibrary::FixtureLibrary() {
    QDir root(dir_.path());
    for (const char* folder : {"shapes", "shapes1", "backgrounds", "sounds"})
        root.mkpath(QString::fromLatin1(folder));
    int hue = 0;
    for (const QString& stem : qv::kShapeStems) {
        for (const QString& colour : qv::kColorNames) {
            const QColor tint = QColor::fromHsv(hue++ * 3 % 360, 200, 200);
            writeTinyPicture(root.filePath("shapes/" + stem + colour + ".jpg"), tint);
            writeTinyPicture(root.filePath("shapes1/" + stem + colour + ".jpg"), tint.darker());
        }
    }
    for (int n = 0; n < qv::kBackgroundCount; ++n)
        writeTinyPicture(root.filePath(QString("backgrounds/back%1.jpg").arg(n)),
                         QColor::fromHsv(n * 36, 80, 255));
    for (int n = 0; n < qv::kRewardCount; ++n)
        writeTinyPicture(root.filePath(QString("backgrounds/c%1.jpg").arg(n)),
                         QColor::fromHsv(n * 4, 255, 255));
    const QDir sounds(QStringLiteral(QUORVEL_PROGRAM_DIR "/sounds"));
    for (const QString& name : sounds.entryList(QDir::Files))
        QFile::link(sounds.filePath(name), root.filePath("sounds/" + name));
}

void FixtureLibrary::damage(const QString& relative, Damage how) {
    const QString path = QDir(dir_.path()).filePath(relative);
    QVERIFY2(QFile::remove(path), qPrintable(relative));
    if (how == Damage::Removed)
        return;
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("this is not a picture or a sound");
}

}  // namespace qvtest
