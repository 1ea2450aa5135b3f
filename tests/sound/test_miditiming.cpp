// Where the notes of a MIDI file lie in time: the backend ends a tune by it.
#include <QtTest>

#include "sound/miditiming.h"
#include "sound/soundfiles.h"

using qv::MidiTiming;
using qv::readMidiTiming;

namespace {

QByteArray varLen(quint32 value) {
    QByteArray bytes(1, char(value & 0x7f));
    while ((value >>= 7) != 0)
        bytes.prepend(char(0x80 | (value & 0x7f)));
    return bytes;
}

// One event: a delta time in ticks followed by the event's bytes.
QByteArray at(quint32 delta, std::initializer_list<int> event) {
    QByteArray bytes = varLen(delta);
    for (int b : event)
        bytes.append(char(b));
    return bytes;
}

QByteArray tempo(quint32 delta, quint32 usPerQuarter) {
    return at(delta, {0xff, 0x51, 0x03, int(usPerQuarter >> 16), int((usPerQuarter >> 8) & 0xff),
                      int(usPerQuarter & 0xff)});
}

QByteArray big(quint32 value, int bytes) {
    QByteArray out;
    for (int i = bytes - 1; i >= 0; --i)
        out.append(char((value >> (8 * i)) & 0xff));
    return out;
}

QByteArray midiFile(quint16 division, const QList<QByteArray>& tracks) {
    QByteArray file = "MThd" + big(6, 4) + big(tracks.size() > 1 ? 1 : 0, 2) +
                      big(quint32(tracks.size()), 2) + big(division, 2);
    for (const QByteArray& events : tracks) {
        const QByteArray body = events + at(0, {0xff, 0x2f, 0x00});
        file += "MTrk" + big(quint32(body.size()), 4) + body;
    }
    return file;
}

}  // namespace

class TestMidiTiming : public QObject {
    Q_OBJECT

private slots:
    void notesInTime_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<double>("firstNoteMs");
        QTest::addColumn<double>("lastNoteEndMs");

        QTest::newRow("one note at the default tempo")
            << midiFile(480, {at(0, {0x90, 60, 100}) + at(960, {0x80, 60, 64})}) << 0.0 << 1000.0;
        QTest::newRow("tempo doubles halfway through")
            << midiFile(480, {tempo(0, 500000) + at(0, {0x90, 60, 100}) + tempo(480, 250000) +
                              at(480, {0x80, 60, 64})})
            << 0.0 << 750.0;
        QTest::newRow("running status, note on at velocity 0 ends a note")
            << midiFile(96, {at(96, {0x90, 60, 100}) + at(96, {62, 100}) + at(48, {60, 0}) +
                             at(48, {62, 0})})
            << 500.0 << 1500.0;
        QTest::newRow("conductor track and a long silence before the end of track")
            << midiFile(480, {tempo(0, 1000000) + at(9600, {0xff, 0x01, 0x02, 'h', 'i'}),
                              at(0, {0xc0, 5}) + at(240, {0x91, 64, 90}) + at(0, {0xb1, 7, 100}) +
                                  at(480, {0x81, 64, 0}) + at(4800, {0xf0, 0x02, 0x7e, 0xf7})})
            << 500.0 << 1500.0;
        QTest::newRow("SMPTE time: 25 frames of 40 ticks a second")
            << midiFile(quint16((0x100 - 25) << 8 | 40),
                        {at(250, {0x90, 60, 100}) + at(2000, {0x80, 60, 0})})
            << 250.0 << 2250.0;
        QTest::newRow("no notes") << midiFile(480, {tempo(0, 500000)}) << -1.0 << -1.0;
        QTest::newRow("a note that never ends")
            << midiFile(480, {at(0, {0x90, 60, 100})}) << -1.0 << -1.0;
        QTest::newRow("not a MIDI file") << QByteArray("RIFF....WAVEfmt ") << -1.0 << -1.0;
        QTest::newRow("the file ends inside the last note's end")
            << midiFile(480, {at(0, {0x90, 60, 100}) + at(480, {0x80, 60, 0})}).left(30) << -1.0
            << -1.0;
    }
    void notesInTime() {
        QFETCH(QByteArray, file);
        QFETCH(double, firstNoteMs);
        QFETCH(double, lastNoteEndMs);
        const MidiTiming timing = readMidiTiming(file);
        QCOMPARE(timing.firstNoteMs, firstNoteMs);
        QCOMPARE(timing.lastNoteEndMs, lastNoteEndMs);
        QCOMPARE(timing.hasNotes(), lastNoteEndMs >= 0);
    }

    // The tunes the tests play through the real backend.
    void theTestTune() {
        QTemporaryDir dir;
        const QString path = dir.filePath("tune.mid");
        QVERIFY(qvtest::writeMidiNote(path, 1234));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const MidiTiming timing = readMidiTiming(file.readAll());
        QCOMPARE(timing.firstNoteMs, 0.0);
        QVERIFY(qAbs(timing.lastNoteEndMs - 1234) < 1.5);
    }
};

QTEST_MAIN(TestMidiTiming)
#include "test_miditiming.moc"
