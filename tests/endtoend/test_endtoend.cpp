// The real executable, started as a user would, with a home folder of its own.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kProgram = QStringLiteral(QUORVEL_PROGRAM_DIR "/quorvellearning");

struct Run {
    QTemporaryDir home;
    QProcess process;

    QString storeFile() const {
        return home.filePath(".config/quorvellearning/quorvellearning.ini");
    }

    void writeStore(const QByteArray& text) {
        QDir().mkpath(QFileInfo(storeFile()).path());
        QFile file(storeFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    void start() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home.path());
        env.remove("XDG_CONFIG_HOME");
        env.insert("XDG_RUNTIME_DIR", home.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("SDL_AUDIODRIVER", "dummy");
        process.setProcessEnvironment(env);
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

const QByteArray kDefaults =
    "[colors]\nrunonce=True\nchangebackground=True\nbackchange=5\nshapedirectory=\\\\shapes\\\\\n"
    "playmusic=True\nsameobject=False\nhowmanytimes=1\nhowtochangepictures=timer\nfxspeed=10\n"
    "playsameobj=False\nrepeatquestion=True\nfxplayspeed=10\n";

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
