// A damaged media library: a copy of the real one with a share of every kind
// of file missing, empty, garbage or cut short. A scripted child plays each
// activity on it for an hour of virtual time, with music, clicking and
// pressing keys at random and opening and closing New, About and Options.
// The program must never crash or hang, and what the files allow must still
// hold.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QRadioButton>
#include <QtTest>

#include <random>

#include "catalogue/tables.h"
#include "media/soundplayer.h"
#include "media/timer.h"
#include "media/transitionpicture.h"
#include "support/testprogram.h"
#include "ui/about/aboutform.h"
#include "ui/mainform/mainform.h"
#include "ui/options/options.h"
#include "ui/picturebutton.h"
#include "ui/selectform/selectform.h"

using namespace qv;
using qvtest::RecordingAudio;
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

// Runs fn once the next modal window is up.
void whenDialogOpens(std::function<void()> fn) {
    QTimer::singleShot(0, qApp, [fn = std::move(fn)] { fn(); });
}

QWidget* openOptionsDialog() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "options" && w->isVisible())
            return w;
    return nullptr;
}

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
        TestProgram program(library_.path());
        program.useSettings({{"fxspeed", "5"}, {"fxplayspeed", "5"}});
        program.random.useGenerator(qHash(mode));
        program.module1.selectedmode = mode;
        mainform& game = program.forms->game();
        game.showAsWindow();
        game.showNormal();
        game.resize(160, 120);
        std::mt19937 child(qHash(mode) + 1);
        const auto chance = [&](double p) { return std::bernoulli_distribution(p)(child); };
        const std::array<TransitionPicture*, 4> answers{game.image0, game.Image1, game.image2,
                                                        game.image3};

        // What the files allow: a built question has four different answers
        // and asks for one of them, never the one asked just before.
        QString previousQuestion;
        int questions = 0, learnSteps = 0;
        QObject::connect(game.Timer1, &Timer::tick, [&] {
            const QString& m = program.module1.selectedmode;
            if (m.startsWith("learn")) {
                ++learnSteps;
                QVERIFY(!game.pick.currentcolor.isEmpty() && !game.pick.currentshape.isEmpty());
            }
        });
        const auto checkQuestion = [&] {
            const QString& m = program.module1.selectedmode;
            if (!m.startsWith("play") || game.lastquestion.isEmpty() ||
                game.lastquestion == previousQuestion)
                return;
            const bool colours = m == "playcolors";
            const auto& distinct = colours ? game.picturecolors : game.pictureshapes;
            QCOMPARE(QSet<QString>(distinct.begin(), distinct.end()).size(), 4);
            QCOMPARE(distinct[game.rightpicture], game.lastquestion);
            previousQuestion = game.lastquestion;
            ++questions;
        };

        const char* const buttons[] = {"lcbut", "lsbut", "playcbut", "playshapes"};
        while (program.clock.nowMs() < kHourMs) {
            const qint64 before = program.clock.nowMs();
            program.clock.advance(std::uniform_int_distribution<int>(0, 4000)(child));
            checkQuestion();
            const int action = std::uniform_int_distribution<int>(0, 99)(child);
            if (action < 45) {
                QTest::mouseClick(answers[child() % 4], Qt::LeftButton);
            } else if (action < 75) {
                QTest::mouseClick(game.Learnimage, Qt::LeftButton);
                QTest::keyClick(&game, Qt::Key(Qt::Key_A + child() % 26));
            } else if (action < 82) {
                const bool choose = chance(0.8);
                const char* button = buttons[child() % 4];
                whenDialogOpens([&program, choose, button] {
                    selectform& screen = program.forms->select();
                    if (choose)
                        QTest::mouseClick(screen.findChild<PictureButton*>(button), Qt::LeftButton);
                    else
                        screen.close();
                });
                game.newmenu_click();
                previousQuestion.clear();
            } else if (action < 88) {
                whenDialogOpens([&program] { program.forms->about().okaybut->click(); });
                game.aboutmenu_click();
                previousQuestion.clear();
            } else if (action < 96) {
                const int page = int(child() % 4);
                const qsizetype pick = qsizetype(child() % 1000);
                whenDialogOpens([page, pick] {
                    QWidget* dialog = openOptionsDialog();
                    QVERIFY(dialog);
                    const auto lists = dialog->findChildren<QComboBox*>();
                    QComboBox* list = lists[pick % lists.size()];
                    list->setCurrentIndex(int(pick % list->count()));
                    const auto boxes = dialog->findChildren<QCheckBox*>();
                    boxes[pick % boxes.size()]->click();
                    const auto options = dialog->findChildren<QRadioButton*>();
                    options[pick % options.size()]->click();
                    if (page == 3) {
                        dialog->close();
                        return;
                    }
                    const char* okays[] = {"okaybutglobal", "okayclose2", "okayclose3"};
                    dialog->findChild<QAbstractButton*>(okays[page])->click();
                });
                game.optionsmenu_click();
                previousQuestion.clear();
            } else {
                game.SSResizer1_resize();
            }
            // Every wait is bounded: no single action holds time for long.
            QVERIFY2(program.clock.nowMs() - before < 60'000,
                     qPrintable(QString("stuck for %1 ms").arg(program.clock.nowMs() - before)));
            QVERIFY(program.desktop.endedWith.isEmpty());
            QVERIFY(program.desktop.errors.isEmpty());
            if (program.audio.entries().size() > 5000)
                program.audio.clear();
        }
        // The child did get to play, damaged library or not, despite all the restarts.
        QVERIFY2(
            learnSteps + questions > 50,
            qPrintable(QString("%1 learn steps, %2 questions").arg(learnSteps).arg(questions)));
    }

private:
    DamagedLibrary library_;
};

QTEST_MAIN(TestDamagedLibrary)
#include "test_damagedlibrary.moc"
