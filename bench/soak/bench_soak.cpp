// A long day: a scripted child plays for 24 hours of virtual time with music
// on, moving between all four activities through New, About and Options. At
// every virtual hour it prints the process's peak and current memory, and it
// fails when memory grows by more than 1 MiB after the first hour.
//
//   QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy bench_soak [hours]
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

#include "support/gamerig.h"
#include "support/scriptedchild.h"
#include "ui/mainform/mainform.h"

namespace {

// VmHWM and VmRSS of this process, in KiB.
std::pair<qint64, qint64> memoryKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    qint64 peak = -1, now = -1;
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            const QList<QByteArray> parts = line.simplified().split(' ');
            if (parts.size() >= 2 && parts[0] == "VmHWM:")
                peak = parts[1].toLongLong();
            if (parts.size() >= 2 && parts[0] == "VmRSS:")
                now = parts[1].toLongLong();
        }
    }
    return {peak, now};
}

// The offscreen platform says for every dialog that it cannot raise it.
void quietPlatform(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(quietPlatform);
    // The settings are saved whenever the child presses OKAY: keep the disk's
    // flushes out of the figures.
    if (QFile::exists(QStringLiteral("/dev/shm")))
        qputenv("TMPDIR", "/dev/shm");
    QApplication app(argc, argv);
    const int hours = argc > 1 ? std::max(2, atoi(argv[1])) : 24;
    qvtest::GameRig rig;
    qvtest::TestProgram& program = rig.program;
    program.random.useGenerator(24);
    qv::mainform& game = rig.open(QStringLiteral("learncolors"));
    game.showNormal();
    game.resize(160, 120);
    qvtest::ScriptedChild child(program, game, 2024);

    QElapsedTimer wall;
    wall.start();
    qint64 firstHourKiB = 0, mostAfterKiB = 0;
    std::printf("hour  peak KiB  now KiB  learn pictures  questions  wall s\n");
    for (int hour = 1; hour <= hours; ++hour) {
        while (program.clock.nowMs() < hour * 3'600'000LL) {
            child.step();
            if (!child.problems.isEmpty()) {
                std::printf("problem: %s\n", qPrintable(child.problems.join(QLatin1Char('\n'))));
                return 1;
            }
        }
        const auto [peak, now] = memoryKiB();
        std::printf("%4d  %8lld  %7lld  %14d  %9d  %6.1f\n", hour, static_cast<long long>(peak),
                    static_cast<long long>(now), child.learnPictures(), child.questions(),
                    wall.elapsed() / 1000.0);
        std::fflush(stdout);
        if (hour == 1)
            firstHourKiB = now;
        else
            mostAfterKiB = std::max(mostAfterKiB, now);
    }
    const qint64 growth = mostAfterKiB - firstHourKiB;
    std::printf("growth after the first hour: %lld KiB (limit 1024)\n",
                static_cast<long long>(growth));
    return growth > 1024 ? 1 : 0;
}
