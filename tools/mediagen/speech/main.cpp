// quorvel-speechgen DIR: speaks every phrase of the library into DIR/sounds.
//
// One festival run synthesises all phrases (loading the voice takes longer
// than speaking), then sox trims and resamples each one, two at a time, and
// the levelling to one loudness happens here so that it is exact.
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

#include "sounds/wavfile.h"
#include "speech/loudness.h"
#include "speech/phrases.h"

namespace {

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
    out << "(voice_cmu_us_slt_arctic_hts)\n";
    // A little slower than the voice's natural pace, for small listeners.
    out << "(set! hts_engine_params (append hts_engine_params (list (list \"-r\" " << kSpeakingRate
        << "))))\n";
    for (const auto& phrase : phrases)
        out << "(utt.save.wave (SynthText " << schemeString(phrase.text) << ") "
            << schemeString(workDir + "/raw-" + phrase.stem + ".wav") << " 'riff)\n";
    out.flush();
    script.close();

    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(festival, {"-b", scriptPath});
    if (!process.waitForFinished(kFestivalTimeoutMs) ||
        process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        fail("festival did not finish cleanly (is the voice festvox-us-slt-hts installed?)");
        return false;
    }
    for (const auto& phrase : phrases) {
        if (!QFile::exists(workDir + "/raw-" + phrase.stem + ".wav")) {
            fail("festival wrote no sound for \"" + phrase.text +
                 "\" (is the voice cmu_us_slt_arctic_hts installed?)");
            return false;
        }
    }
    return true;
}

// Trim the silence festival leaves around a phrase and resample to the library's rate. Normalising
// first makes the silence threshold relative to the phrase's own peak. -D: no dither, so the same
// input always gives the same output.
QStringList soxArguments(const QString& in, const QString& out) {
    return {"-D",      "-V1",  in,        "-b",      "32", "-e",      "floating-point",
            "-c",      "1",    out,       "norm",    "-3", "silence", "1",
            "0.005",   "-45d", "reverse", "silence", "1",  "0.005",   "-45d",
            "reverse", "rate", "-v",      "44100"};
}

bool trimAll(const QString& sox, const QString& workDir,
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
                                         workDir + "/trim-" + phrase.stem + ".wav"));
        running.emplace_back(std::move(process), phrase.stem);
    }
    while (!running.empty())
        ok = finishOldest() && ok;
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: quorvel-speechgen DIR\n");
        return 2;
    }
    const QString festival = QStandardPaths::findExecutable("festival");
    if (festival.isEmpty()) {
        fail("festival is not installed; install the packages festival and festvox-us-slt-hts");
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
    QTemporaryDir work;
    if (!work.isValid()) {
        fail("cannot create a temporary folder");
        return 1;
    }
    const auto phrases = speechgen::allPhrases();
    if (!runFestival(festival, work.path(), phrases))
        return 1;
    if (!trimAll(sox, work.path(), phrases))
        return 1;

    for (const auto& phrase : phrases) {
        const auto trimmed = mediagen::readWav(work.path() + "/trim-" + phrase.stem + ".wav");
        if (!trimmed || trimmed->rate != mediagen::kSampleRate || trimmed->samples.empty()) {
            fail("sox gave no usable sound for " + phrase.stem);
            return 1;
        }
        const QString target = soundsDir + '/' + phrase.stem + ".wav";
        if (!mediagen::writeWav16(target,
                                  speechgen::levelPhrase(speechgen::fadeEnds(trimmed->samples)))) {
            fail("cannot write " + target);
            return 1;
        }
    }
    return 0;
}
