// The music's level against the voices: the ramps down and up.
#include <QtTest>

#include "sound/musicducking.h"

using qv::MusicDucking;

namespace {

constexpr double kSpan = MusicDucking::kFullLevel - MusicDucking::kUnderVoiceLevel;

}  // namespace

class TestMusicDucking : public QObject {
    Q_OBJECT

private slots:
    // Stepped at audio buffer sizes: no step is larger than the ramp allows,
    // and each end is reached in its ramp's time.
    void rampsAreSmoothAndTimely_data() {
        QTest::addColumn<double>("stepMs");
        QTest::newRow("512 frames") << 512 * 1000.0 / 44100;
        QTest::newRow("1024 frames") << 1024 * 1000.0 / 44100;
        QTest::newRow("1 ms") << 1.0;
    }
    void rampsAreSmoothAndTimely() {
        QFETCH(double, stepMs);
        MusicDucking ducking;
        QCOMPARE(ducking.level(), MusicDucking::kFullLevel);
        // Runs one ramp to its end: down under a voice, up without one.
        const auto ramp = [&](bool voice) {
            const double rampMs = voice ? MusicDucking::kDownMs : MusicDucking::kUpMs;
            const double target = voice ? MusicDucking::kUnderVoiceLevel : MusicDucking::kFullLevel;
            double elapsed = 0;
            while (ducking.level() != target) {
                const double previous = ducking.level();
                const double step = qAbs(ducking.advance(stepMs, voice) - previous);
                QVERIFY(step <= kSpan * stepMs / rampMs + 1e-9);
                elapsed += stepMs;
                QVERIFY(elapsed <= rampMs + stepMs);
            }
            QVERIFY(elapsed >= rampMs - 1e-9);
            // It stays there however long the voice, or the quiet, lasts.
            QCOMPARE(ducking.advance(60'000, voice), target);
        };
        ramp(true);
        ramp(false);
    }

    // A voice that starts while the music is still coming back turns the ramp
    // round where it is.
    void aNewVoiceTurnsTheRampRound() {
        MusicDucking ducking;
        ducking.advance(MusicDucking::kDownMs, true);
        const double partway = ducking.advance(MusicDucking::kUpMs / 2, false);
        QCOMPARE(partway, MusicDucking::kUnderVoiceLevel + kSpan / 2);
        const double turned = ducking.advance(10, true);
        QCOMPARE(turned, partway - kSpan * 10 / MusicDucking::kDownMs);
        QCOMPARE(ducking.advance(0, false), turned);
        QCOMPARE(ducking.advance(-5, false), turned);
    }
};

QTEST_MAIN(TestMusicDucking)
#include "test_musicducking.moc"
