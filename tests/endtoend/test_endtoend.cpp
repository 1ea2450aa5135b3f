// The real executable, started as a user would, with a home folder of its own.
#include <QDir>
#include <QFile>
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

    void start() {
        process.setProcessEnvironment(qvtest::programEnvironment(home.path()));
        process.start(kProgram, {});
        QVERIFY(process.waitForStarted());
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
