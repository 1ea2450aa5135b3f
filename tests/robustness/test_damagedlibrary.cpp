// A damaged media library: a copy of the real one with a share of every kind
// of file missing, empty, garbage or cut short. A scripted child plays each
// activity on it for an hour of virtual time, with music, clicking and
// pressing keys at random and opening and closing New, About and Options.
// The program must never crash or hang, and what the files allow must still
// hold.
#include <QDir>
#include <QDirIterator>
#include <QtTest>

#include <random>

#include "support/gamerig.h"
#include "support/scriptedchild.h"
#include "ui/mainform/mainform.h"

using namespace qv;
using qvtest::GameRig;
using qvtest::TestProgram;

namespace {

enum class Damage { Missing, Empty, Garbage, CutShort };

// The real library copied, with about one file in four of every folder and
// kind damaged in one of four ways, the same way on every run.
class DamagedLibrary {
public:
    DamagedLibrary() {
        const QDir source(QStringLiteral(QUORVEL_PROGRAM_DIR));
        std::mt19937 random(2026);
        for (const char* folder : {"sounds", "backgrounds", "shapes", "shapes1", "help"}) {
            QDir(dir_.path()).mkpath(folder);
            QDirIterator files(source.filePath(folder), QDir::Files);
            QStringList names;
            while (files.hasNext())
                names << QFileInfo(files.next()).fileName();
            names.sort();
            for (const QString& name : names) {
                const QString relative = QString(folder) + "/" + name;
                const QString to = QDir(dir_.path()).filePath(relative);
                QFile::copy(source.filePath(relative), to);
                if (std::uniform_int_distribution<int>(0, 3)(random) != 0)
                    continue;
                damage(to, Damage(std::uniform_int_distribution<int>(0, 3)(random)), random);
                damaged << relative;
            }
        }
    }

    QString path() const { return dir_.path(); }
    QStringList damaged;

private:
    static void damage(const QString& file, Damage how, std::mt19937& random) {
        QFile f(file);
        switch (how) {
            case Damage::Missing:
                QFile::remove(file);
                return;
            case Damage::Empty:
                f.resize(0);
                return;
            case Damage::CutShort:
                f.resize(f.size() / 2);
                return;
            case Damage::Garbage: {
                QByteArray bytes(int(std::min<qint64>(f.size(), 4096)), '\0');
                for (char& b : bytes)
                    b = char(random());
                if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
                    f.write(bytes);
                return;
            }
        }
    }

    QTemporaryDir dir_;
};

}  // namespace

class TestDamagedLibrary : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(library_.damaged.size() > 50); }

    void anHourOfEachActivity_data() {
        QTest::addColumn<QString>("mode");
        for (const char* mode : {"learncolors", "learnshapes", "playcolors", "playshapes"})
            QTest::newRow(mode) << QString(mode);
    }
    void anHourOfEachActivity() {
        QFETCH(QString, mode);
        const qint64 kHourMs = qEnvironmentVariableIntValue("QV_MINUTES") * 60'000 ?: 3'600'000;
        GameRig rig({{"fxspeed", "5"}, {"fxplayspeed", "5"}}, library_.path());
        TestProgram& program = rig.program;
        program.random.useGenerator(qHash(mode));
        mainform& game = rig.open(mode);
        game.showNormal();
        game.resize(160, 120);
        qvtest::ScriptedChild child(program, game, qHash(mode) + 1);
        while (program.clock.nowMs() < kHourMs && child.problems.isEmpty())
            child.step();
        QVERIFY2(child.problems.isEmpty(), qPrintable(child.problems.join('\n')));
        // The child did get to play, damaged library or not, despite all the restarts.
        const int done = child.learnPictures() + child.questions();
        QVERIFY2(done > kHourMs / 60'000 * 4, qPrintable(QString("%1 learn pictures, %2 questions")
                                                             .arg(child.learnPictures())
                                                             .arg(child.questions())));
    }

private:
    DamagedLibrary library_;
};

QTEST_MAIN(TestDamagedLibrary)
#include "test_damagedlibrary.moc"
