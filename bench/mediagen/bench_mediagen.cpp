// Generates the whole media library twice into temporary folders, prints the
// seconds each kind takes, and compares the two libraries byte for byte: the
// build relies on the same sources always giving the same files.
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <map>

namespace {

struct Step {
    const char* kind;
    QString program;
    QStringList arguments;   // the output folder comes after these
    QStringList files = {};  // and these after it
};

std::map<QString, QByteArray> checksums(const QString& root) {
    std::map<QString, QByteArray> sums;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        QCryptographicHash hash(QCryptographicHash::Sha256);
        hash.addData(&f);
        sums[QDir(root).relativeFilePath(path)] = hash.result().toHex();
    }
    return sums;
}

// Returns the total seconds, or a negative number when a step failed.
double generate(const QString& dir, int round) {
    const Step steps[] = {
        // The art comes with the build's names of its files.
        {"art", QUORVEL_MEDIAGEN, {"art"}, QStringLiteral(QUORVEL_ART_FILES).split(',')},
        {"pictures", QUORVEL_MEDIAGEN, {"pictures"}},
        {"sounds", QUORVEL_MEDIAGEN, {"sounds"}},
        {"speech", QUORVEL_SPEECHGEN, {}},
        {"help", QUORVEL_MEDIAGEN, {"help"}},
    };
    double total = 0.0;
    for (const Step& step : steps) {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer clock;
        clock.start();
        process.start(step.program, step.arguments + QStringList{dir} + step.files);
        const bool ok = process.waitForFinished(10 * 60 * 1000) &&
                        process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        const double seconds = clock.nsecsElapsed() / 1e9;
        std::printf("run %d  %-9s %7.2f s%s\n", round, step.kind, seconds, ok ? "" : "  FAILED");
        if (!ok)
            return -1.0;
        total += seconds;
    }
    std::printf("run %d  %-9s %7.2f s\n", round, "total", total);
    return total;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir first, second;
    if (!first.isValid() || !second.isValid())
        return 1;
    if (generate(first.path(), 1) < 0 || generate(second.path(), 2) < 0)
        return 1;

    const auto a = checksums(first.path());
    const auto b = checksums(second.path());
    int differences = 0;
    for (const auto& [file, sum] : a) {
        const auto other = b.find(file);
        if (other == b.end() || other->second != sum) {
            std::printf("differs between runs: %s\n", qPrintable(file));
            ++differences;
        }
    }
    for (const auto& [file, sum] : b)
        if (!a.count(file)) {
            std::printf("only in the second run: %s\n", qPrintable(file));
            ++differences;
        }
    std::printf("%zu files, %s\n", a.size(),
                differences == 0 ? "identical in both runs" : "NOT deterministic");
    return differences == 0 ? 0 : 1;
}
