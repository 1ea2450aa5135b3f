// The recording backend is what every flow test hears through; its idea of a
// sound's length must match the file's header.
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include "sound/soundfiles.h"
#include "support/recordingaudio.h"
#include "support/virtualclock.h"

using qvtest::RecordingAudio;

namespace {

QByteArray le32(quint32 value) {
    QByteArray raw(4, '\0');
    qToLittleEndian(value, raw.data());
    return raw;
}

// A RIFF file assembled from raw chunks, to reach the corners of the format.
QByteArray riff(const QList<QPair<QByteArray, QByteArray>>& chunks) {
    QByteArray body = "WAVE";
    for (const auto& [id, data] : chunks) {
        body += id + le32(static_cast<quint32>(data.size())) + data;
        if (data.size() % 2 != 0)
            body += '\0';
    }
    return "RIFF" + le32(static_cast<quint32>(body.size())) + body;
}

QByteArray pcmFormat(quint32 sampleRate, quint16 channels) {
    QByteArray format(16, '\0');
    qToLittleEndian<quint16>(1, format.data());
    qToLittleEndian<quint16>(channels, format.data() + 2);
    qToLittleEndian<quint32>(sampleRate, format.data() + 4);
    qToLittleEndian<quint32>(sampleRate * channels * 2, format.data() + 8);
    qToLittleEndian<quint16>(static_cast<quint16>(channels * 2), format.data() + 12);
    qToLittleEndian<quint16>(16, format.data() + 14);
    return format;
}

}  // namespace

class RecordingAudioTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void lengthComesFromTheHeader_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<qint64>("lengthMs");

        const QByteArray oneSecondMono(22050 * 2, '\0');
        QTest::newRow("mono 22050")
            << riff({{"fmt ", pcmFormat(22050, 1)}, {"data", oneSecondMono}}) << qint64{1000};
        QTest::newRow("stereo 44100")
            << riff({{"fmt ", pcmFormat(44100, 2)}, {"data", oneSecondMono}}) << qint64{250};
        QTest::newRow("chunks before the data, one of odd size")
            << riff({{"fmt ", pcmFormat(22050, 1)}, {"LIST", "INFOabc"}, {"data", oneSecondMono}})
            << qint64{1000};
        QTest::newRow("no data chunk") << riff({{"fmt ", pcmFormat(22050, 1)}}) << qint64{-1};
        QTest::newRow("data before fmt")
            << riff({{"data", oneSecondMono}, {"fmt ", pcmFormat(22050, 1)}}) << qint64{-1};
        QTest::newRow("not a RIFF file") << QByteArray("MThd\0\0\0\6", 8) << qint64{-1};
        QTest::newRow("empty") << QByteArray() << qint64{-1};
    }

    void lengthComesFromTheHeader() {
        QFETCH(QByteArray, file);
        QFETCH(qint64, lengthMs);
        const QString path = dir_.filePath(QTest::currentDataTag() + QStringLiteral(".wav"));
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file);
        out.close();
        QCOMPARE(RecordingAudio::waveLengthMs(path), lengthMs);
    }

    void aWrittenToneHasItsLength() {
        const QString path = dir_.filePath("tone.wav");
        QVERIFY(qvtest::writeSineWave(path, 1200));
        QCOMPARE(RecordingAudio::waveLengthMs(path), qint64{1200});
        QCOMPARE(RecordingAudio::waveLengthMs(dir_.filePath("missing.wav")), qint64{-1});
    }

    // The end of a tune comes from where it was started, not from when it was opened.
    void musicEndsItsLengthAfterPlay() {
        const QString tune = dir_.filePath("tune.mid");
        QVERIFY(qvtest::writeMidiNote(tune, 500));
        qvtest::VirtualClock clock;
        RecordingAudio audio(clock);
        audio.setMusicLengthMs(10'000);
        QSignalSpy finished(&audio, &RecordingAudio::finished);
        const auto player = audio.createPlayer("music");
        QVERIFY(audio.openMusic(player, tune));
        clock.advance(3000);
        QVERIFY(audio.playMusic(player));
        clock.advance(9999);
        QCOMPARE(finished.count(), 0);
        QVERIFY(audio.isPlaying("music"));
        clock.advance(1);
        QCOMPARE(finished.count(), 1);
        QVERIFY(!audio.isPlaying("music"));
        QCOMPARE(audio.commandsFor("music"), QStringList({"open " + tune, "play " + tune}));
        QCOMPARE(audio.entries().at(1).timeMs, qint64{3000});
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(RecordingAudioTest)
#include "test_recordingaudio.moc"
