// The real executable, started as a user would, with a home folder of its own.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "support/programprocess.h"

namespace {

const QString kProgram = QStringLiteral(QUORVEL_PROGRAM_DIR "/quorvellearning");

struct Run {
    QTemporaryDir home;
    QProcess process;

    QString storeFile() const { return qvtest::storeFileIn(home.path()); }

    void writeStore(const QByteArray& text) { QVERIFY(qvtest::writeStoreIn(home.path(), text)); }

    void start(const QStringList& arguments = {}) {
        process.setProcessEnvironment(qvtest::programEnvironment(home.path()));
        process.start(kProgram, arguments);
        QVERIFY(process.waitForStarted());
    }

    // Every file of the settings folder with its time stamp and bytes.
    QStringList settingsFolder() const {
        QStringList listing;
        const QDir folder = QFileInfo(storeFile()).dir();
        for (const QFileInfo& entry :
             folder.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
            QFile in(entry.filePath());
            listing
                << entry.fileName() + ' ' +
                       entry.fileTime(QFileDevice::FileModificationTime)
                           .toString(Qt::ISODateWithMs) +
                       ' ' +
                       QString::fromLatin1(
                           (in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray()).toHex());
        }
        return listing;
    }

    ~Run() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
};

const QByteArray& kDefaults = qvtest::kStoredDefaults;

}  // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void startsAndKeepsRunning_data() {
        QTest::addColumn<bool>("stored");
        QTest::newRow("first run") << false;
        QTest::newRow("ordinary start") << true;
    }
    void startsAndKeepsRunning() {
        QFETCH(bool, stored);
        Run run;
        if (stored)
            run.writeStore(kDefaults);
        run.start();
        // Still there a while later: it started, opened its window and did not fall over.
        QVERIFY2(!run.process.waitForFinished(3000),
                 qPrintable(QString("ended with %1: %2")
                                .arg(run.process.exitCode())
                                .arg(QString(run.process.readAllStandardError()))));
        // Starting writes nothing: a first run writes only at OK.
        QCOMPARE(QFile::exists(run.storeFile()), stored);
        if (stored) {
            QFile file(run.storeFile());
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), kDefaults);
        }
    }

    // The command line's ways to start touch no setting: the store keeps its
    // bytes and its time stamp (set in the past, so that even a write of the
    // same bytes would show), and a first run still writes nothing before OK.
    void startOptionsLeaveTheSettingsAlone_data() {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");  // -1: still running after three seconds
        for (bool stored : {true, false}) {
            const char* run = stored ? "ordinary start" : "first run";
            QTest::addRow("%s: --lock --activity playshapes", run)
                << stored << QStringList{"--lock", "--activity", "playshapes"} << -1;
            QTest::addRow("%s: --lock", run) << stored << QStringList{"--lock"} << -1;
            QTest::addRow("%s: --fullscreen --activity learncolors", run)
                << stored << QStringList{"--fullscreen", "--activity", "learncolors"} << -1;
            QTest::addRow("%s: --activity bogus", run)
                << stored << QStringList{"--activity", "bogus"} << 2;
        }
    }
    void startOptionsLeaveTheSettingsAlone() {
        QFETCH(bool, stored);
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        Run run;
        if (stored) {
            run.writeStore(kDefaults);
            QFile file(run.storeFile());
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime(QDate(2020, 2, 2), QTime(2, 2, 2, 222)),
                                     QFileDevice::FileModificationTime));
        }
        const QStringList before = run.settingsFolder();
        run.start(arguments);
        if (status < 0) {
            QVERIFY2(!run.process.waitForFinished(3000),
                     qPrintable(QString("ended with %1: %2")
                                    .arg(run.process.exitCode())
                                    .arg(QString(run.process.readAllStandardError()))));
        } else {
            QVERIFY(run.process.waitForFinished(10000));
            QCOMPARE(run.process.exitCode(), status);
        }
        QCOMPARE(run.settingsFolder(), before);
        QCOMPARE(QFile::exists(run.storeFile()), stored);
    }

    void badStoredValueIsReported() {
        Run run;
        QByteArray store = kDefaults;
        store.replace("backchange=5", "backchange=abc");
        run.writeStore(store);
        run.start();
        // The report goes to stderr before the message box waits for the user.
        QByteArray err;
        for (int i = 0; i < 100 && !err.contains('\n'); ++i) {
            run.process.waitForReadyRead(100);
            err += run.process.readAllStandardError();
        }
        QVERIFY2(err.contains("\"backchange\" holds \"abc\""), err.constData());
        QVERIFY2(err.contains(run.storeFile().toLocal8Bit()), err.constData());
    }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "test_endtoend.moc"
