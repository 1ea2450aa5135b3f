// quorvel-speechgen DIR [RENDERS]: speaks every phrase of the library into
// DIR/sounds.
//
// One festival run synthesises all phrases (loading the voice takes longer
// than speaking), then sox resamples each one, two at a time. The trimming,
// guided by festival's own segment timings, and the levelling to one loudness
// happen here, so that they are exact. With
// RENDERS, each phrase's untrimmed render also goes there, levelled with the
// same gain, so that a test can prove the trimming cut nothing but silence.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <deque>
#include <memory>
#include <optional>

#include "sounds/wavfile.h"
#include "speech/edges.h"
#include "speech/loudness.h"
#include "speech/phrases.h"

namespace {

// The voice as festival names it, and its Debian package (speech/voice.env).
constexpr char kVoice[] = QUORVEL_VOICE;
constexpr char kVoicePackage[] = QUORVEL_VOICE_PACKAGE;
constexpr int kParallelJobs = 2;
constexpr double kSpeakingRate = 0.88;
constexpr int kFestivalTimeoutMs = 10 * 60 * 1000;
constexpr int kSoxTimeoutMs = 60 * 1000;

void fail(const QString& message) {
    std::fprintf(stderr, "quorvel-speechgen: %s\n", qPrintable(message));
}

QString schemeString(const QString& text) {
    QString s = text;
    s.replace('\\', QStringLiteral("\\\\"));
    s.replace('"', QStringLiteral("\\\""));
    return '"' + s + '"';
}

bool runFestival(const QString& festival, const QString& workDir,
                 const std::vector<speechgen::Phrase>& phrases) {
    const QString scriptPath = workDir + "/speak.scm";
    QFile script(scriptPath);
    if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        fail("cannot write " + scriptPath);
        return false;
    }
    QTextStream out(&script);
    out << "(voice_" << kVoice << ")\n";
    // A little slower than the voice's natural pace, for small listeners.
    out << "(set! hts_engine_params (append hts_engine_params (list (list \"-r\" " << kSpeakingRate
        << "))))\n";
    // Besides the sound, the voice's segment timings: they tell where its
    // leading and trailing pauses are.
    out << "(define (qv-speak text wave segments)\n"
           "  (let ((utt (SynthText text)))\n"
           "    (utt.save.wave utt wave 'riff)\n"
           "    (utt.save.segs utt segments)))\n";
    for (const auto& phrase : phrases)
        out << "(qv-speak " << schemeString(phrase.text) << ' '
            << schemeString(workDir + "/raw-" + phrase.stem + ".wav") << ' '
            << schemeString(workDir + "/raw-" + phrase.stem + ".segs") << ")\n";
    out.flush();
    script.close();

    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(festival, {"-b", scriptPath});
    if (!process.waitForFinished(kFestivalTimeoutMs) ||
        process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        fail(
            QStringLiteral("festival did not finish cleanly (is the voice's package %1 installed?)")
                .arg(kVoicePackage));
        return false;
    }
    for (const auto& phrase : phrases) {
        if (!QFile::exists(workDir + "/raw-" + phrase.stem + ".wav") ||
            !QFile::exists(workDir + "/raw-" + phrase.stem + ".segs")) {
            fail("festival wrote no sound for \"" + phrase.text + "\" (is the voice " + kVoice +
                 " installed?)");
            return false;
        }
    }
    return true;
}

// Reads festival's segment file (a header, "#", then one "end-time colour
// name" line per segment) and returns the span between the leading and the
// trailing pause.
std::optional<speechgen::SpeechTimes> readSpeechTimes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    QTextStream in(&file);
    bool inBody = false;
    std::vector<std::pair<double, QString>> segments;  // end time, name
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (!inBody) {
            inBody = line == QLatin1String("#");
            continue;
        }
        const QStringList fields = line.split(' ', Qt::SkipEmptyParts);
        bool ok = false;
        const double end = fields.value(0).toDouble(&ok);
        if (fields.size() == 3 && ok)
            segments.emplace_back(end, fields[2]);
    }
    if (segments.empty())
        return std::nullopt;
    const QString pause = QStringLiteral("pau");
    speechgen::SpeechTimes speech{0.0, segments.back().first};
    if (segments.front().second == pause)
        speech.start = segments.front().first;
    if (segments.size() >= 2 && segments.back().second == pause)
        speech.end = segments[segments.size() - 2].first;
    return speech;
}

// Resamples to the library's rate; the untrimmed result is the phrase's
// render. -D: no dither, so the same input always gives the same output.
QStringList soxArguments(const QString& in, const QString& out) {
    return {"-D", "-V1", in,  "-b",   "32", "-e",   "floating-point",
            "-c", "1",   out, "rate", "-v", "44100"};
}

bool resampleAll(const QString& sox, const QString& workDir,
                 const std::vector<speechgen::Phrase>& phrases) {
    std::deque<std::pair<std::unique_ptr<QProcess>, QString>> running;
    auto finishOldest = [&]() {
        auto [process, stem] = std::move(running.front());
        running.pop_front();
        if (!process->waitForFinished(kSoxTimeoutMs) ||
            process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0) {
            fail("sox failed on " + stem + ": " +
                 QString::fromLocal8Bit(process->readAllStandardError()));
            return false;
        }
        return true;
    };
    bool ok = true;
    for (const auto& phrase : phrases) {
        if (static_cast<int>(running.size()) >= kParallelJobs)
            ok = finishOldest() && ok;
        auto process = std::make_unique<QProcess>();
        process->start(sox, soxArguments(workDir + "/raw-" + phrase.stem + ".wav",
                                         workDir + "/render-" + phrase.stem + ".wav"));
        running.emplace_back(std::move(process), phrase.stem);
    }
    while (!running.empty())
        ok = finishOldest() && ok;
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: quorvel-speechgen DIR [RENDERS]\n");
        return 2;
    }
    const QString festival = QStandardPaths::findExecutable("festival");
    if (festival.isEmpty()) {
        fail(QStringLiteral("festival is not installed; install the packages festival and %1")
                 .arg(kVoicePackage));
        return 1;
    }
    const QString sox = QStandardPaths::findExecutable("sox");
    if (sox.isEmpty()) {
        fail("sox is not installed; install the package sox");
        return 1;
    }
    const QString soundsDir = QDir(QString::fromLocal8Bit(argv[1])).filePath("sounds");
    if (!QDir().mkpath(soundsDir)) {
        fail("cannot create " + soundsDir);
        return 1;
    }
    const QString rendersDir = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (!rendersDir.isEmpty() && !QDir().mkpath(rendersDir)) {
        fail("cannot create " + rendersDir);
        return 1;
    }
    QTemporaryDir work;
    if (!work.isValid()) {
        fail("cannot create a temporary folder");
        return 1;
    }
    const auto phrases = speechgen::allPhrases();
    if (phrases.empty())
        return 1;
    if (!runFestival(festival, work.path(), phrases))
        return 1;
    if (!resampleAll(sox, work.path(), phrases))
        return 1;

    for (const auto& phrase : phrases) {
        const auto render = mediagen::readWav(work.path() + "/render-" + phrase.stem + ".wav");
        if (!render || render->rate != mediagen::kSampleRate || render->samples.empty()) {
            fail("sox gave no usable sound for " + phrase.stem);
            return 1;
        }
        const auto speech = readSpeechTimes(work.path() + "/raw-" + phrase.stem + ".segs");
        if (!speech) {
            fail("festival gave no segment timings for " + phrase.stem);
            return 1;
        }
        const auto edges = speechgen::findPhraseEdges(render->samples, render->rate, *speech);
        const auto cut = speechgen::cutPhrase(render->samples, edges, render->rate);
        const double gain = speechgen::levelGain(cut);
        const QString target = soundsDir + '/' + phrase.stem + ".wav";
        if (!mediagen::writeWav16(target, speechgen::applyLevel(cut, gain))) {
            fail("cannot write " + target);
            return 1;
        }
        const QString untrimmed = rendersDir + '/' + phrase.stem + ".wav";
        if (!rendersDir.isEmpty() &&
            !mediagen::writeWav16(untrimmed, speechgen::applyLevel(render->samples, gain))) {
            fail("cannot write " + untrimmed);
            return 1;
        }
    }
    return 0;
}
