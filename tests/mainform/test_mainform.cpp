// The game window: starting activities, New, About, Exit, keys, backgrounds,
// links and the proportional layout.
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <QTimer>
#include <cmath>
#include <memory>

#include "catalogue/tables.h"
#include "pictures/pictureloader.h"
#include "pictures/transitionpicture.h"
#include "sound/soundplayer.h"
#include "support/gamerig.h"
#include "timing/timer.h"
#include "ui/about/aboutform.h"
#include "ui/builtinpicture.h"
#include "ui/mainform/mainform.h"
#include "ui/mainform/stretchpicture.h"
#include "ui/picturebutton.h"
#include "ui/selectform/selectform.h"

using namespace qv;
using qvtest::GameRig;
using qvtest::TestProgram;
using qvtest::whenDialogOpens;

namespace {

const QString kLibrary = QStringLiteral(QUORVEL_PROGRAM_DIR);

QList<TransitionPicture*> visiblePictures(mainform& game) {
    QList<TransitionPicture*> shown;
    for (TransitionPicture* p :
         {game.Learnimage, game.image0, game.Image1, game.image2, game.image3})
        if (p->isVisibleTo(&game))
            shown << p;
    return shown;
}

}  // namespace

class TestMainform : public QObject {
    Q_OBJECT

private slots:
    void windowMenusAndShortcuts() {
        GameRig rig;
        mainform& game = rig.open("learncolors");
        QCOMPARE(game.windowTitle(), QStringLiteral("Learn Colors and Shapes"));
        QVERIFY(game.isMaximized());
        const QList<QAction*> top = game.menuBar()->actions();
        QCOMPARE(top.size(), 3);
        QCOMPARE(top[0]->text(), QStringLiteral("&File"));
        QCOMPARE(top[1]->text(), QStringLiteral("&Options"));
        QCOMPARE(top[2]->text(), QStringLiteral("&Help"));
        QStringList file, help;
        for (QAction* a : game.filemenu->actions())
            file << (a->isSeparator() ? "-" : a->text() + " " + a->shortcut().toString());
        for (QAction* a : game.Helpmenu->actions())
            help << (a->isSeparator() ? "-" : a->text() + " " + a->shortcut().toString());
        QCOMPARE(file, QStringList({"&New Ctrl+N", "-", "E&xit Ctrl+E"}));
        QCOMPARE(help, QStringList({"&Contents Ctrl+O", "&Web Site Ctrl+W", "-", "&Donate Ctrl+R",
                                    "&About Ctrl+A"}));
    }

    // The line along the bottom of the menu bar runs unbroken under the
    // captions on a scaled screen, in both windows with a menu bar.
    void menuBarLineIsUnbroken_data() {
        QTest::addColumn<bool>("game");
        QTest::addColumn<qreal>("ratio");
        for (qreal ratio : {1.0, 1.25, 1.5, 2.0}) {
            QTest::addRow("game window at %.2f", ratio) << true << ratio;
            QTest::addRow("selection screen at %.2f", ratio) << false << ratio;
        }
    }
    void menuBarLineIsUnbroken() {
        QFETCH(bool, game);
        QFETCH(qreal, ratio);
        GameRig rig;
        QMainWindow* window = &rig.program.forms->select();
        if (game)
            window = &rig.open("learncolors");
        else
            rig.program.forms->select().showAsWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QMenuBar* bar = window->menuBar();
        QImage image((QSizeF(bar->size()) * ratio).toSize(), QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        bar->render(&image);
        // Every one of the bottom rows is one colour from end to end.
        for (int y = image.height() - int(std::ceil(2 * ratio)); y < image.height(); ++y) {
            for (int x = 1; x < image.width(); ++x)
                QVERIFY2(image.pixel(x, y) == image.pixel(0, y),
                         qPrintable(QStringLiteral("row %1 changes at %2 of %3")
                                        .arg(y)
                                        .arg(x)
                                        .arg(image.width())));
        }
    }

    void userselectionStartsEachMode_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("introduction");
        QTest::addColumn<bool>("learn");
        QTest::addColumn<int>("interval");
        QTest::newRow("learn colours") << "learncolors"
                                       << "letsgocolors.wav" << true << 3000;
        QTest::newRow("learn shapes") << "learnshapes"
                                      << "letsgoshapes.wav" << true << 3000;
        QTest::newRow("play colours") << "playcolors"
                                      << "letsplaycolor.wav" << false << 5000;
        QTest::newRow("play shapes") << "playshapes"
                                     << "letsplayshape.wav" << false << 5000;
        QTest::newRow("no activity") << "something else"
                                     << "" << false << 3000;
    }
    void userselectionStartsEachMode() {
        QFETCH(QString, mode);
        QFETCH(QString, introduction);
        QFETCH(bool, learn);
        QFETCH(int, interval);
        GameRig rig;
        TestProgram& program = rig.program;
        // The load step draws a background first, then userselection the start place.
        program.random.scriptDraw(2, kBackgroundCount);
        program.random.scriptDraw(7, mode == "learnshapes" ? 10 : 11);
        program.module1.backgroundcount = 9;
        mainform& game = rig.open(mode);

        const QStringList spoken = program.audio.filesPlayed("mainform.soundplayer");
        QCOMPARE(spoken, introduction.isEmpty()
                             ? QStringList()
                             : QStringList{kLibrary + "/sounds/" + introduction});
        QCOMPARE(game.Timer1->interval(), interval);
        QCOMPARE(game.Timer1->enabled(), !introduction.isEmpty());
        QCOMPARE(game.playstarted, !introduction.isEmpty() && !learn);
        QCOMPARE(program.module1.backgroundcount, qint16(0));
        const QList<TransitionPicture*> shown = visiblePictures(game);
        if (introduction.isEmpty())
            QVERIFY(shown.isEmpty());
        else if (learn)
            QCOMPARE(shown, QList<TransitionPicture*>{game.Learnimage});
        else
            QCOMPARE(shown, (QList<TransitionPicture*>{game.image0, game.Image1, game.image2,
                                                       game.image3}));
        if (mode == "learncolors")
            QCOMPARE(game.pick.colorcounter, qint16(7));
        if (mode == "learnshapes")
            QCOMPARE(game.pick.shapecounter, qint16(7));
        QCOMPARE(game.Learnimage->effectSpeed(), 10);
        QCOMPARE(game.image3->effectSpeed(), 10);
        QCOMPARE(game.mainimage->picture().size(), QSize(1920, 1080));
    }

    void newWithTheSameOrAnotherChoice_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("interval");
        QTest::newRow("play again starts at once") << "playcolors"
                                                   << "playcbut"
                                                   << "playcolors" << 1;
        QTest::newRow("learn to play shapes") << "learncolors"
                                              << "playshapes"
                                              << "playshapes" << 5000;
        QTest::newRow("play to learn shapes") << "playshapes"
                                              << "lsbut"
                                              << "learnshapes" << 3000;
    }
    void newWithTheSameOrAnotherChoice() {
        QFETCH(QString, first);
        QFETCH(QString, button);
        QFETCH(QString, mode);
        QFETCH(int, interval);
        GameRig rig;
        TestProgram& program = rig.program;
        mainform& game = rig.open(first);
        program.clock.advance(100);
        game.playgametimer->setEnabled(true);
        game.timesshown = 4;
        const int seedingsBefore = program.random.seedings;
        program.audio.clear();

        selectform& screen = program.forms->select();
        whenDialogOpens([&]() {
            QVERIFY(screen.isVisible());
            QVERIFY(screen.isModal());
            // Everything of the old activity is stopped and cleared meanwhile.
            QVERIFY(!game.Timer1->enabled());
            QVERIFY(!game.playgametimer->enabled());
            QVERIFY(visiblePictures(game).isEmpty());
            QTest::mouseClick(screen.findChild<PictureButton*>(button), Qt::LeftButton);
        });
        game.newmenu_click();

        QCOMPARE(program.module1.selectedmode, mode);
        QVERIFY(!screen.isVisible());
        QCOMPARE(program.random.seedings, seedingsBefore + 1);  // a new background
        QCOMPARE(game.Timer1->interval(), interval);
        QVERIFY(game.Timer1->enabled());
        QCOMPARE(game.timesshown, qint16(0));
        QVERIFY(game.Learnimage->picture().isNull());
    }

    void closingTheNewDialogRestartsTheCurrentChoice() {
        GameRig rig;
        TestProgram& program = rig.program;
        mainform& game = rig.open("learncolors");
        selectform& screen = program.forms->select();
        whenDialogOpens([&]() {
            QVERIFY(QTest::qWaitForWindowActive(&screen));
            // Tabbing onto a play button chooses it without a click.
            QTest::keyClick(screen.focusWidget(), Qt::Key_Tab);
            QTest::keyClick(screen.focusWidget(), Qt::Key_Tab);
            screen.close();
        });
        game.newmenu_click();
        QCOMPARE(program.module1.selectedmode, QStringLiteral("playcolors"));
        QVERIFY(program.desktop.endedWith.isEmpty());
        QCOMPARE(visiblePictures(game).size(), 4);
    }

    void aboutKeepsTheBackgroundAndTheQuestionTimer_data() {
        QTest::addColumn<bool>("questionTimerRunning");
        QTest::newRow("question timer running") << true;
        QTest::newRow("question timer stopped") << false;
    }
    void aboutKeepsTheBackgroundAndTheQuestionTimer() {
        QFETCH(bool, questionTimerRunning);
        GameRig rig;
        TestProgram& program = rig.program;
        mainform& game = rig.open("playshapes");
        game.playgametimer->setEnabled(questionTimerRunning);
        program.module1.backgroundcount = 3;
        const QImage background = game.mainimage->picture();
        const int seedingsBefore = program.random.seedings;
        Aboutform& about = program.forms->about();
        whenDialogOpens([&]() {
            QVERIFY(about.isVisible());
            QCOMPARE(game.playgametimer->enabled(), questionTimerRunning);
            QTest::mouseClick(about.okaybut, Qt::LeftButton);
        });
        game.aboutmenu_click();
        QCOMPARE(program.random.seedings, seedingsBefore);
        QCOMPARE(game.mainimage->picture(), background);
        QCOMPARE(game.playgametimer->enabled(), questionTimerRunning);
        QCOMPARE(program.module1.backgroundcount, qint16(0));
        QCOMPARE(game.Timer1->interval(), 1);  // the second play start of this window
        QVERIFY(program.audio.filesPlayed("playdonate").isEmpty());
    }

    void exitAndClosingStopTheMusicAndEnd_data() {
        QTest::addColumn<bool>("byMenu");
        QTest::newRow("Exit") << true;
        QTest::newRow("close box") << false;
    }
    void exitAndClosingStopTheMusicAndEnd() {
        QFETCH(bool, byMenu);
        GameRig rig;
        TestProgram& program = rig.program;
        mainform& game = rig.open("learnshapes");
        if (byMenu)
            game.eitmenu_click();
        else
            game.close();
        QCOMPARE(program.audio.commandsFor("playbackmusiccontrol").last().section(' ', 0, 0),
                 QStringLiteral("close"));
        QCOMPARE(program.desktop.endedWith, QList<int>{0});
    }

    void keyPressEnablesTheTimerOnlyInKeyboardMode_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("keyboard") << "keyboard" << true;
        QTest::newRow("timer") << "timer" << false;
        QTest::newRow("Keyboard in capitals is not keyboard") << "Keyboard" << false;
    }
    void keyPressEnablesTheTimerOnlyInKeyboardMode() {
        QFETCH(QString, how);
        QFETCH(bool, enabled);
        GameRig rig;
        TestProgram& program = rig.program;
        mainform& game = rig.open("playcolors");
        program.module1.settings.howtochangepictures = how;
        game.Timer1->setEnabled(false);
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &game;
        QTest::keyClick(target, Qt::Key_Space);
        QCOMPARE(game.Timer1->enabled(), enabled);
    }

    // (backchange, counted steps) -> which steps change the background
    void backgroundCount_data() {
        QTest::addColumn<int>("backchange");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QList<int>>("changesAt");
        QTest::newRow("default 5") << 5 << 16 << QList<int>{6, 11, 16};
        QTest::newRow("every picture but the first") << 1 << 4 << QList<int>{2, 3, 4};
        QTest::newRow("0: the first step only") << 0 << 6 << QList<int>{1};
    }
    void backgroundCount() {
        QFETCH(int, backchange);
        QFETCH(int, steps);
        QFETCH(QList<int>, changesAt);
        GameRig rig;
        TestProgram& program = rig.program;
        mainform& game = rig.open("learncolors");
        program.module1.settings.backchange = static_cast<qint16>(backchange);
        // The model the long runs of test_learn and test_play check against.
        qvtest::BackgroundModel model(backchange, program.random.seedings);
        QList<int> changed;
        for (int step = 1; step <= steps; ++step) {
            const int before = program.random.seedings;
            game.checkbackground();
            if (program.random.seedings != before)
                changed << step;
            model.step();
            QCOMPARE(int(program.module1.backgroundcount), model.count());
            QCOMPARE(program.random.seedings, model.seedings());
        }
        QCOMPARE(changed, changesAt);
    }

    void backgroundCountStopsAtItsTop() {
        GameRig rig;
        TestProgram& program = rig.program;
        mainform& game = rig.open("learncolors");
        program.module1.settings.backchange = 0;
        program.module1.backgroundcount = 32766;
        game.checkbackground();
        game.checkbackground();
        QCOMPARE(program.module1.backgroundcount, qint16(32767));
    }

    void backgroundDrawAndMissingFile() {
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath("backgrounds"));
        QFile::copy(kLibrary + "/backgrounds/back3.jpg", dir.filePath("backgrounds/back3.jpg"));
        GameRig rig({}, dir.path());
        TestProgram& program = rig.program;
        program.random.scriptDraw(3, kBackgroundCount);
        mainform& game = rig.open("learncolors");
        QCOMPARE(game.pick.randomnumber, qint16(3));
        const QImage shown = game.mainimage->picture();
        QVERIFY(!shown.isNull());
        // back5.jpg is missing: the background stays as it was.
        program.random.scriptDraw(5, kBackgroundCount);
        game.getbackgrounpicture();
        QCOMPARE(game.pick.randomnumber, qint16(5));
        QCOMPARE(game.mainimage->picture(), shown);
    }

    void helpMenuAddresses() {
        QTemporaryDir dir;
        const QString folder = dir.filePath("my programs/quorvel learning");
        QDir().mkpath(folder);
        GameRig rig({}, folder);
        TestProgram& program = rig.program;
        program.platform.website = QStringLiteral("http://www.maker.test");
        mainform& game = rig.open("learncolors");
        QVERIFY(game.webmenu->isVisible() && game.donatemenu->isVisible());
        game.abounmenu->trigger();
        game.webmenu->trigger();
        game.donatemenu->trigger();
        game.donatemenu->trigger();
        QStringList addresses;
        for (const auto& o : program.desktop.opened) {
            QCOMPARE(o.owner, &game);
            addresses << o.address;
        }
        const QString site = program.platform.website;
        QCOMPARE(addresses, QStringList({folder + "/help/colorhelp.htm", site,
                                         site + "/donations.htm", site + "/donations.htm"}));
        // The activity goes on untouched.
        QVERIFY(game.Timer1->enabled());
    }

    // A build without a web site offers neither it nor the donation page,
    // by menu or by shortcut; the help page still opens.
    void noWebSiteNoWebMenus() {
        GameRig rig;
        TestProgram& program = rig.program;
        mainform& game = rig.open("learncolors");
        QVERIFY(!game.webmenu->isVisible());
        QVERIFY(!game.donatemenu->isVisible());
        QVERIFY(game.abounmenu->isVisible());
        game.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&game));
        QTest::keyClick(&game, Qt::Key_W, Qt::ControlModifier);
        QTest::keyClick(&game, Qt::Key_R, Qt::ControlModifier);
        QTest::keyClick(&game, Qt::Key_O, Qt::ControlModifier);
        QStringList addresses;
        for (const auto& o : program.desktop.opened)
            addresses << o.address;
        QCOMPARE(addresses, QStringList{program.platform.programFolder + "/help/colorhelp.htm"});
    }

    void restoredWindowHasTheDesignClientArea() {
        GameRig rig;
        mainform& game = rig.open("learncolors");
        QVERIFY(game.isMaximized());
        game.showNormal();
        QVERIFY(QTest::qWaitFor([&]() { return !game.isMaximized(); }));
        const int menuHeight = game.menuBar()->height();
        QVERIFY(menuHeight > 0);
        QCOMPARE(game.centralWidget()->geometry(), QRect(0, menuHeight, 638, 483));
        QCOMPARE(game.geometry().size(), QSize(638, 483 + menuHeight));
    }

    void modalBoxesOpenCentredOverTheGameWindow_data() {
        QTest::addColumn<bool>("about");
        QTest::newRow("About") << true;
        QTest::newRow("New") << false;
    }
    void modalBoxesOpenCentredOverTheGameWindow() {
        QFETCH(bool, about);
        GameRig rig;
        TestProgram& program = rig.program;
        mainform& game = rig.open("learncolors");
        game.showNormal();
        // Away from the middle of the screen, where a box would be by chance.
        game.move(game.screen()->availableGeometry().topLeft() + QPoint(40, 25));
        QVERIFY(QTest::qWaitFor([&]() { return game.pos().x() >= 40; }));
        QWidget* box = about ? static_cast<QWidget*>(&program.forms->about())
                             : static_cast<QWidget*>(&program.forms->select());
        QRect shownAt;
        whenDialogOpens([&]() {
            shownAt = box->frameGeometry();
            box->close();
        });
        about ? game.aboutmenu_click() : game.newmenu_click();
        QVERIFY(!shownAt.isNull());
        const QPoint off = shownAt.center() - game.frameGeometry().center();
        QVERIFY2(
            off.manhattanLength() <= 1,
            qPrintable(
                QString("the box's centre is %1, %2 off the window's").arg(off.x()).arg(off.y())));
    }

    // A box the desktop minimises on its own is still open: the game waits
    // on, the box comes back rather than block the game unseen, and once it
    // is closed the game window takes input again.
    void aMinimisedBoxComesBack_data() {
        QTest::addColumn<QString>("box");
        QTest::newRow("About") << "about";
        QTest::newRow("New") << "new";
        QTest::newRow("Options") << "options";
    }
    void aMinimisedBoxComesBack() {
        QFETCH(QString, box);
        GameRig rig;
        mainform& game = rig.open("learncolors");
        struct Seen {
            bool cameBack = false;
            bool closed = false;
        };
        // Shared: a wait that ended too early leaves the check to run later.
        auto seen = std::make_shared<Seen>();
        whenDialogOpens([seen]() {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            dialog->showMinimized();
            QTimer::singleShot(300, dialog, [seen, dialog] {
                seen->cameBack = dialog->isVisible() && !dialog->isMinimized();
                dialog->close();
                seen->closed = true;
            });
        });
        if (box == QLatin1String("about"))
            game.aboutmenu_click();
        else if (box == QLatin1String("new"))
            game.newmenu_click();
        else
            game.optionsmenu_click();
        QVERIFY2(seen->closed, "the box's wait ended when it was minimised");
        QVERIFY(seen->cameBack);
        QTRY_COMPARE(QApplication::activeModalWidget(), nullptr);
    }

    void reloadedSelectionScreenStartsFromItsBuiltInPictures() {
        GameRig rig;
        TestProgram& program = rig.program;
        mainform& game = rig.open("learncolors");
        selectform& screen = program.forms->select();
        QList<QImage> builtIn;
        for (PictureButton* b : {screen.lcbut, screen.lsbut, screen.playcbut, screen.playshapes})
            builtIn << b->picture();
        whenDialogOpens([&]() {
            QVERIFY(QTest::qWaitForWindowActive(&screen));
            // The child leaves lit and plain pictures from the library behind.
            QTest::keyClick(screen.focusWidget(), Qt::Key_Tab);
            QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
            QApplication::sendEvent(screen.playshapes, &enter);
            screen.close();
        });
        game.newmenu_click();
        QVERIFY(screen.lsbut->picture() != builtIn[1]);
        QVERIFY(screen.playshapes->picture() != builtIn[3]);

        QList<QImage> reloaded;
        whenDialogOpens([&]() {
            QVERIFY(QTest::qWaitForWindowActive(&screen));
            for (PictureButton* b :
                 {screen.lcbut, screen.lsbut, screen.playcbut, screen.playshapes})
                reloaded << b->picture();
            screen.close();
        });
        game.newmenu_click();
        QCOMPARE(reloaded.size(), 4);
        // lcbut has the focus again and lights up; the others are as at the first showing.
        QImage lit = *loadPicture(kLibrary + "/backgrounds/lcy.jpg");
        lit.setDevicePixelRatio(kBuiltInPictureScale);  // shown at the built-in pictures' size
        QCOMPARE(reloaded[0], lit);
        QCOMPARE(reloaded[1], builtIn[1]);
        QCOMPARE(reloaded[2], builtIn[2]);
        QCOMPARE(reloaded[3], builtIn[3]);
    }

    void layoutStaysProportional_data() {
        QTest::addColumn<QSize>("client");
        QTest::newRow("design size") << QSize(638, 483);
        QTest::newRow("full HD") << QSize(1920, 1040);
        QTest::newRow("tall and narrow") << QSize(500, 900);
    }
    void layoutStaysProportional() {
        QFETCH(QSize, client);
        GameRig rig;
        mainform& game = rig.open("playcolors");
        game.showNormal();
        // The restored window already has the design size: start every row
        // from another size, so that each is a real change.
        game.centralWidget()->resize(client / 2);
        QSignalSpy laidOut(&game, &mainform::laidOut);
        game.centralWidget()->resize(client);
        QVERIFY(laidOut.count() >= 1);
        const double sx = client.width() / 9570.0, sy = client.height() / 7245.0;
        const auto expect = [&](QWidget* w, int l, int t, int wd, int h) {
            const QRect g = w->geometry();
            QVERIFY2(qAbs(g.left() - l * sx) <= 1 && qAbs(g.top() - t * sy) <= 1 &&
                         qAbs(g.width() - wd * sx) <= 1.5 && qAbs(g.height() - h * sy) <= 1.5,
                     qPrintable(w->objectName()));
        };
        expect(game.mainimage, 0, -105, 9600, 7425);
        expect(game.Learnimage, 1620, 735, 6345, 5640);
        expect(game.image0, 1200, 600, 3585, 3000);
        expect(game.Image1, 4800, 600, 3585, 3000);
        expect(game.image2, 1200, 3600, 3585, 3000);
        expect(game.image3, 4800, 3600, 3585, 3000);
    }

    void firstLayoutRaisesTheNotification() {
        GameRig rig;
        QSignalSpy laidOut(&rig.game(), &mainform::laidOut);
        rig.open("learncolors");
        QVERIFY(laidOut.count() >= 1);
    }
};

QTEST_MAIN(TestMainform)
#include "test_mainform.moc"
