// Checks the generated sound side of the media library: every WAV the
// program can open, the background tunes (rendered through the soundfont the
// program uses) and the help page.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>

#include "catalogue/tables.h"
#include "midireader.h"
#include "wavreader.h"

namespace {

const QString kProgramDir = QStringLiteral(QUORVEL_PROGRAM_DIR);
const QString kRendersDir = QStringLiteral(QUORVEL_SPEECH_RENDERS);
const char kSoundFont[] = "/usr/share/sounds/sf2/TimGM6mb.sf2";

const QStringList kColours(qv::kColorNames.begin(), qv::kColorNames.end());
const QStringList kShapeStems(qv::kShapeStems.begin(), qv::kShapeStems.end());

enum class Kind { Speech, Effect, Chime };

QStringList speechStems() {
    QStringList stems = kColours + kShapeStems;
    for (const QString& s : kColours + kShapeStems)
        stems << "sel" + s;
    stems << "letsgocolors"
          << "letsgoshapes"
          << "letsplaycolor"
          << "letsplayshape"
          << "thatis"
          << "thisisa"
          << "thanks";
    for (int i = 0; i < 6; ++i)
        stems << QString("a%1").arg(i);
    return stems;
}

// "Sound" starts 40 dB below the phrase's own peak: quieter than that is
// inaudible next to the word itself.
constexpr double kSoundThreshold = 0.01;
// A phrase keeps the faint start of its first consonant and the dying away of
// its last sound, both quieter than that, but no long silence.
constexpr double kMaxEdgeSeconds = 0.120;
// A phrase starts in quiet at least this long, so that no player swallows
// its first consonant.
constexpr double kMinLeadSeconds = 0.015;
// Trimming may take away only what is this far below the phrase's peak
// (-45 dB), judged over every stretch of 5 ms.
constexpr double kCutThreshold = 0.005623;
constexpr double kCutWindowSeconds = 0.005;
constexpr double kLoudnessTolerance = 0.03;  // 3 %, about a quarter of a decibel

struct Render {
    double seconds = 0.0;
    double peak = 0.0;
};

struct Loss {
    double level = 0.0;  // RMS of the loudest 5 ms of what trimming took away
    double at = 0.0;     // where that stretch starts in the render, seconds
};

// What the phrase lost against its untrimmed render: everything cut away and
// whatever the fades changed. The phrase is a stretch of the render at the
// same gain, so the first loud sample of each fixes their alignment.
Loss lossAgainstRender(const PcmSound& phrase, const PcmSound& render) {
    const double loud = 0.1 * render.peak();
    const auto isLoud = [&](double v) { return std::fabs(v) >= loud; };
    const auto inPhrase = std::find_if(phrase.samples.begin(), phrase.samples.end(), isLoud);
    const auto inRender = std::find_if(render.samples.begin(), render.samples.end(), isLoud);
    const qsizetype offset =
        (inRender - render.samples.begin()) - (inPhrase - phrase.samples.begin());
    const qsizetype kept = qsizetype(phrase.samples.size());
    // A phrase that does not fit inside its render lost its alignment: all of it counts.
    if (offset < 0 || offset + kept > qsizetype(render.samples.size()))
        return {render.peak(), 0.0};
    std::vector<double> energy(render.samples.size() + 1, 0.0);
    for (size_t i = 0; i < render.samples.size(); ++i) {
        const qsizetype k = qsizetype(i) - offset;
        const double left =
            render.samples[i] - (k >= 0 && k < kept ? phrase.samples[size_t(k)] : 0.0);
        energy[i + 1] = energy[i] + left * left;
    }
    const size_t window = size_t(std::lround(kCutWindowSeconds * render.rate));
    Loss worst;
    for (size_t i = 0; i + window <= render.samples.size(); ++i) {
        const double level = std::sqrt((energy[i + window] - energy[i]) / double(window));
        if (level > worst.level)
            worst = {level, double(i) / render.rate};
    }
    return worst;
}

// Plays the file through FluidSynth faster than real time, driving the
// player by rendered samples rather than by the wall clock.
Render renderTune(const QString& path) {
    Render result;
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_settings_setint(settings, "synth.lock-memory", 0);
    fluid_settings_setnum(settings, "synth.sample-rate", 44100.0);
    // Full gain rather than FluidSynth's cautious default: a tune that stays
    // below full scale here has headroom in any player.
    fluid_settings_setnum(settings, "synth.gain", 1.0);
    fluid_synth_t* synth = new_fluid_synth(settings);
    fluid_player_t* player = nullptr;
    if (fluid_synth_sfload(synth, kSoundFont, 1) != FLUID_FAILED) {
        player = new_fluid_player(synth);
        if (fluid_player_add(player, path.toLocal8Bit().constData()) == FLUID_OK &&
            fluid_player_play(player) == FLUID_OK) {
            constexpr int kBlock = 512;
            constexpr long kLimit = 44100L * 200;  // a broken file must not loop forever
            float left[kBlock], right[kBlock];
            long frames = 0;
            while (fluid_player_get_status(player) == FLUID_PLAYER_PLAYING && frames < kLimit) {
                fluid_synth_write_float(synth, kBlock, left, 0, 1, right, 0, 1);
                for (int i = 0; i < kBlock; ++i)
                    result.peak = std::max(
                        {result.peak, double(std::fabs(left[i])), double(std::fabs(right[i]))});
                frames += kBlock;
            }
            result.seconds = frames / 44100.0;
        }
        delete_fluid_player(player);
    }
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return result;
}

}  // namespace

Q_DECLARE_METATYPE(Kind)

class TestMediaSounds : public QObject {
    Q_OBJECT

private:
    double speechLoudness_ = 0.0;

private slots:
    void initTestCase() {
        // The reference loudness is the median over all phrases, so a single
        // odd phrase stands out instead of shifting the reference.
        std::vector<double> levels;
        for (const QString& stem : speechStems()) {
            const PcmSound s = readPcmWav(kProgramDir + "/sounds/" + stem + ".wav");
            if (s.problem.isEmpty())
                levels.push_back(s.rms());
        }
        QVERIFY2(!levels.empty(), "no speech in the library; was the media target built?");
        std::nth_element(levels.begin(), levels.begin() + levels.size() / 2, levels.end());
        speechLoudness_ = levels[levels.size() / 2];
    }

    void soundFile_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<Kind>("kind");
        for (const QString& stem : speechStems())
            QTest::newRow(qPrintable(stem)) << "/sounds/" + stem + ".wav" << Kind::Speech;
        for (int i = 0; i <= 10; ++i)
            QTest::newRow(qPrintable(QString("e%1").arg(i)))
                << QString("/sounds/e%1.wav").arg(i) << Kind::Effect;
        QTest::newRow("select") << QString("/backgrounds/select.wav") << Kind::Chime;
    }

    void soundFile() {
        QFETCH(QString, path);
        QFETCH(Kind, kind);
        const PcmSound s = readPcmWav(kProgramDir + path);
        QVERIFY2(s.problem.isEmpty(), qPrintable(path + ": " + s.problem));
        QCOMPARE(s.rate, 44100);
        QCOMPARE(s.channels, 1);
        QVERIFY2(s.peak() > 0.1 && s.rms() > 0.01, "silent or nearly silent");
        QVERIFY2(s.peak() < 0.999, "clips");

        if (kind == Kind::Speech) {
            const double threshold = kSoundThreshold * s.peak();
            const auto audible = [&](double v) { return std::fabs(v) >= threshold; };
            const auto first = std::find_if(s.samples.begin(), s.samples.end(), audible);
            const auto last = std::find_if(s.samples.rbegin(), s.samples.rend(), audible);
            const double lead = double(first - s.samples.begin()) / s.rate;
            const double tail = double(last - s.samples.rbegin()) / s.rate;
            QVERIFY2(lead <= kMaxEdgeSeconds,
                     qPrintable(QString("%1 s before the first sound").arg(lead)));
            QVERIFY2(lead >= kMinLeadSeconds,
                     qPrintable(QString("only %1 s of quiet before the first sound").arg(lead)));
            QVERIFY2(tail <= kMaxEdgeSeconds,
                     qPrintable(QString("%1 s after the last sound").arg(tail)));
            const double ratio = s.rms() / speechLoudness_;
            QVERIFY2(std::fabs(ratio - 1.0) <= kLoudnessTolerance,
                     qPrintable(QString("loudness %1 of the others'").arg(ratio)));
        } else {
            QVERIFY2(s.seconds() <= (kind == Kind::Effect ? 0.6 : 0.5),
                     qPrintable(QString("lasts %1 s").arg(s.seconds())));
            QVERIFY2(s.peak() <= 0.9, "peaks above -1 dBFS");
            // An envelope that starts or stops on a large sample clicks.
            QVERIFY(std::fabs(s.samples.front()) < 0.01);
            QVERIFY(std::fabs(s.samples.back()) < 0.01);
        }
    }

    void speechIsCutOnlyInSilence_data() {
        QTest::addColumn<QString>("stem");
        for (const QString& stem : speechStems())
            QTest::newRow(qPrintable(stem)) << stem;
    }

    void speechIsCutOnlyInSilence() {
        QFETCH(QString, stem);
        const PcmSound phrase = readPcmWav(kProgramDir + "/sounds/" + stem + ".wav");
        const PcmSound render = readPcmWav(kRendersDir + "/" + stem + ".wav");
        QVERIFY2(phrase.problem.isEmpty(), qPrintable(phrase.problem));
        QVERIFY2(render.problem.isEmpty(), qPrintable("untrimmed render: " + render.problem));
        QCOMPARE(render.rate, phrase.rate);
        QVERIFY(render.samples.size() >= phrase.samples.size());
        const Loss loss = lossAgainstRender(phrase, render);
        QVERIFY2(loss.level <= kCutThreshold * render.peak(),
                 qPrintable(QString("lost %1 dB of the peak at %2 s of the render")
                                .arg(20 * std::log10(loss.level / render.peak()), 0, 'f', 1)
                                .arg(loss.at, 0, 'f', 3)));
    }

    void effectsAreDistinct() {
        std::vector<std::vector<double>> sounds;
        for (int i = 0; i <= 10; ++i)
            sounds.push_back(
                readPcmWav(QString("%1/sounds/e%2.wav").arg(kProgramDir).arg(i)).samples);
        for (size_t a = 0; a < sounds.size(); ++a)
            for (size_t b = a + 1; b < sounds.size(); ++b)
                QVERIFY2(sounds[a] != sounds[b],
                         qPrintable(QString("e%1 equals e%2").arg(a).arg(b)));
    }

    void tune_data() {
        QTest::addColumn<QString>("path");
        for (int i = 0; i <= 10; ++i)
            QTest::newRow(qPrintable(QString("%1.mid").arg(i)))
                << QString("%1/sounds/%2.mid").arg(kProgramDir).arg(i);
    }

    void tune() {
        QFETCH(QString, path);
        const MidiSummary midi = readMidiFile(path);
        QVERIFY2(midi.problem.isEmpty(), qPrintable(midi.problem));
        QCOMPARE(midi.format, 1);
        QCOMPARE(midi.tracksFound, midi.declaredTracks);
        QVERIFY2(midi.declaredTracks >= 4, "expected a tempo track and melody, chords and bass");
        QVERIFY(midi.tempoEvents >= 1);
        QVERIFY2(midi.noteOns >= 100, "too few notes for a minute of music");
    }

    void tuneRenders_data() { tune_data(); }

    void tuneRenders() {
        QFETCH(QString, path);
        if (!QFile::exists(kSoundFont))
            QSKIP("the TimGM6mb soundfont is not installed");
        const Render r = renderTune(path);
        qInfo("%s: %.1f s, peak %.3f", qPrintable(path.section('/', -1)), r.seconds, r.peak);
        QVERIFY2(r.seconds >= 40.0 && r.seconds <= 90.0,
                 qPrintable(QString("plays %1 s").arg(r.seconds)));
        QVERIFY2(r.peak < 1.0, qPrintable(QString("peak %1 clips").arg(r.peak)));
        QVERIFY2(r.peak > 0.05, "renders almost silent");
    }

    void helpPageStructure() {
        QFile page(kProgramDir + "/help/colorhelp.htm");
        QVERIFY(page.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&page);
        QString title;
        int h1 = 0, h2 = 0, h3 = 0, styles = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            const auto name = xml.name();
            if (name == u"title")
                title = xml.readElementText();
            else if (name == u"h1")
                ++h1;
            else if (name == u"h2")
                ++h2;
            else if (name == u"h3")
                ++h3;
            else if (name == u"style")
                ++styles;
        }
        QVERIFY2(!xml.hasError(),
                 qPrintable(QString("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString())));
        QVERIFY(!title.trimmed().isEmpty());
        QCOMPARE(h1, 1);
        QVERIFY(h2 >= 4);
        QVERIFY(h3 >= 4);
        QCOMPARE(styles, 1);
    }

    void helpPageMentions_data() {
        QTest::addColumn<QString>("text");
        for (const char* t : {"Learn Colors",
                              "Learn Shapes",
                              "Play Colors",
                              "Play Shapes",
                              "Ctrl</kbd>+<kbd>N",
                              "Ctrl</kbd>+<kbd>E",
                              "Ctrl</kbd>+<kbd>O",
                              "Ctrl</kbd>+<kbd>A",
                              "Change Background",
                              "Standard",
                              "Plastic",
                              "Play Background Music",
                              "Use the Same Object",
                              "Repeat Object",
                              "Timer",
                              "Keyboard",
                              "Special Effects",
                              "Repeat Question",
                              "~/.config/quorvellearning/quorvellearning.ini",
                              "[colors]",
                              "offline",
                              "collects nothing",
                              "What you must allow",
                              "GNOME on Wayland"})
            QTest::newRow(t) << QString::fromUtf8(t);
    }

    void helpPageMentions() {
        QFETCH(QString, text);
        QFile page(kProgramDir + "/help/colorhelp.htm");
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY2(QString::fromUtf8(page.readAll()).contains(text, Qt::CaseInsensitive),
                 qPrintable("the help page never mentions " + text));
    }

    // The page names the web site's menu items only for a build with a web
    // site, as the game window shows them only then; the library beside the
    // program follows the build's own setting.
    void helpPageNamesTheWebSiteOnlyWhenThereIsOne_data() {
        QTest::addColumn<QString>("website");
        QTest::newRow("none") << QString();
        QTest::newRow("a web site") << QStringLiteral("http://www.maker.test");
        QTest::newRow("the build's") << QStringLiteral(QUORVEL_WEBSITE);
    }
    void helpPageNamesTheWebSiteOnlyWhenThereIsOne() {
        QFETCH(QString, website);
        QString text;
        if (QTest::currentDataTag() == QLatin1String("the build's")) {
            QFile page(kProgramDir + "/help/colorhelp.htm");
            QVERIFY(page.open(QIODevice::ReadOnly));
            text = QString::fromUtf8(page.readAll());
        } else {
            QTemporaryDir dir;
            QProcess generator;
            generator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            generator.start(QStringLiteral(QUORVEL_MEDIAGEN), {"help", dir.path(), website});
            QVERIFY(generator.waitForFinished(60000) && generator.exitCode() == 0);
            QFile page(dir.filePath("help/colorhelp.htm"));
            QVERIFY(page.open(QIODevice::ReadOnly));
            text = QString::fromUtf8(page.readAll());
        }
        const bool site = !website.isEmpty();
        for (const char* item : {"Web Site", "Donate", "Ctrl</kbd>+<kbd>W", "Ctrl</kbd>+<kbd>R"})
            QVERIFY2(text.contains(QLatin1String(item)) == site, item);
        QVERIFY(text.contains("Ctrl</kbd>+<kbd>O"));
        QVERIFY(text.contains("collects nothing"));
    }
};

QTEST_GUILESS_MAIN(TestMediaSounds)
#include "test_mediasounds.moc"
