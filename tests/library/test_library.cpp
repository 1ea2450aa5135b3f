// Every media path the program composes, built the way the windows build it,
// names a file of the generated library that can be used.
#include <QFile>
#include <QtTest>

#include "catalogue/mediapaths.h"
#include "catalogue/tables.h"
#include "links/visiturl.h"
#include "pictures/pictureloader.h"
#include "support/recordingaudio.h"

using namespace qv;

namespace {

const QString kFolder = QStringLiteral(QUORVEL_PROGRAM_DIR);

QStringList composedPictures() {
    QStringList paths;
    for (const QString& folder : {QStringLiteral("\\shapes\\"), QStringLiteral("\\shapes1\\")})
        for (const QString& stem : kShapeStems)
            for (const QString& colour : kColorNames)
                paths << folder + stem + colour + ".jpg";
    for (int n = 0; n < kBackgroundCount; ++n)
        paths << QStringLiteral("\\backgrounds\\back%1.jpg").arg(n);
    for (int n = 0; n < kRewardCount; ++n)
        paths << QStringLiteral("\\backgrounds\\") + "c" + QString::number(n) + ".jpg";
    for (const char* stem : {"lc", "ls", "pc", "ps"})
        for (const char* state : {"y", "w"})
            paths << QStringLiteral("\\backgrounds\\%1%2.jpg")
                         .arg(QLatin1String(stem), QLatin1String(state));
    return paths;
}

QStringList composedSounds() {
    QStringList paths;
    for (const QString& colour : kColorNames)
        paths << "\\sounds\\" + colour + ".wav"
              << "\\sounds\\sel" + colour + ".wav";
    for (const QString& stem : kShapeStems)
        paths << "\\sounds\\" + stem + ".wav"
              << "\\sounds\\sel" + stem + ".wav";
    for (const char* fixed : {"letsgocolors", "letsgoshapes", "letsplaycolor", "letsplayshape",
                              "thatis", "thisisa", "thanks"})
        paths << QStringLiteral("\\sounds\\%1.wav").arg(QLatin1String(fixed));
    for (int n = 0; n < 11; ++n)
        paths << QStringLiteral("\\sounds\\e%1.wav").arg(n);
    for (int n = 0; n < 6; ++n)
        paths << QStringLiteral("\\sounds\\a%1.wav").arg(n);
    paths << QStringLiteral("\\backgrounds\\select.wav");
    return paths;
}

}  // namespace

class TestLibrary : public QObject {
    Q_OBJECT

private slots:
    void everyComposedPictureLoads() {
        const QStringList paths = composedPictures();
        QCOMPARE(paths.size(),
                 2 * kShapeStems.size() * kColorNames.size() + kBackgroundCount + kRewardCount + 8);
        for (const QString& relative : paths)
            QVERIFY2(loadPicture(nativeMediaPath(kFolder, relative)).has_value(),
                     qPrintable(relative));
    }

    void everyComposedSoundPlays() {
        const QStringList paths = composedSounds();
        QCOMPARE(paths.size(), 22 + 20 + 7 + 11 + 6 + 1);
        for (const QString& relative : paths)
            QVERIFY2(qvtest::RecordingAudio::waveLengthMs(nativeMediaPath(kFolder, relative)) > 0,
                     qPrintable(relative));
    }

    void everyTuneIsAMidiFile() {
        for (int n = 0; n < 11; ++n) {
            QFile tune(nativeMediaPath(kFolder, "\\sounds\\" + QString::number(n) + ".mid"));
            QVERIFY2(tune.open(QIODevice::ReadOnly), qPrintable(tune.fileName()));
            QCOMPARE(tune.read(4), QByteArray("MThd"));
        }
    }

    void helpPageIsBesideTheProgram() {
        QFile page(helpPageAddress(kFolder));
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY(page.readAll().contains("<title>"));
    }
};

QTEST_GUILESS_MAIN(TestLibrary)
#include "test_library.moc"
