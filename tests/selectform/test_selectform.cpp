// The selection screen: highlighting, sounds, the choice and the Help menu.
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include "pictures/pictureloader.h"
#include "program/startprogram.h"
#include "support/picturematch.h"
#include "support/testprogram.h"
#include "ui/builtinpicture.h"
#include "ui/mainform/mainform.h"
#include "ui/picturebutton.h"
#include "ui/selectform/selectform.h"

using namespace qv;
using qvtest::TestProgram;

namespace {

const QString kLibrary = QStringLiteral(QUORVEL_PROGRAM_DIR);

// A picture of the library as a button shows it: the button pictures have the
// built-in ones' pixels, and the same size on the screen.
QImage libraryPicture(const QString& name) {
    QImage picture = *loadPicture(kLibrary + QStringLiteral("/backgrounds/") + name);
    picture.setDevicePixelRatio(kBuiltInPictureScale);
    return picture;
}

void pointerEnters(QWidget* w) {
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(w, &enter);
}

void pointerLeaves(QWidget* w) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w, &leave);
}

// A program folder with the selection pictures and sound, less what a test leaves out.
QString fixtureLibrary(const QTemporaryDir& dir, const QStringList& leaveOut) {
    QDir().mkpath(dir.filePath("backgrounds"));
    for (const char* name : {"lcy.jpg", "lsy.jpg", "pcy.jpg", "psy.jpg", "lcw.jpg", "lsw.jpg",
                             "pcw.jpg", "psw.jpg", "select.wav"}) {
        const QString file = QString::fromLatin1(name);
        if (leaveOut.contains(file))
            continue;
        QFile::copy(kLibrary + "/backgrounds/" + file, dir.filePath("backgrounds/" + file));
    }
    return dir.path();
}

// What a button shows on a screen of the given pixel ratio.
QImage shownBy(PictureButton* button, qreal ratio) {
    QImage shot(button->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    shot.setDevicePixelRatio(ratio);
    shot.fill(Qt::white);
    button->render(&shot, QPoint(), QRegion(), QWidget::DrawChildren);
    return shot;
}

void addButtonsAtTwoScales() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<qreal>("ratio");
    for (const char* button : {"lcbut", "lsbut", "playcbut", "playshapes"}) {
        for (qreal ratio : {1.0, 2.0})
            QTest::addRow("%s at %g", button, ratio) << QString::fromLatin1(button) << ratio;
    }
}

}  // namespace

class TestSelectform : public QObject {
    Q_OBJECT

    static selectform& openScreen(TestProgram& program) {
        program.storeDefaults();
        startprogram(*program.forms);
        selectform& screen = program.forms->select();
        if (!QTest::qWaitForWindowActive(&screen))
            qWarning("selection screen not active");
        return screen;
    }

private slots:
    void layoutAndTexts() {
        TestProgram program;
        selectform& screen = openScreen(program);
        QCOMPARE(screen.centralWidget()->size(), QSize(306, 400));
        QCOMPARE(screen.lcbut->geometry(), QRect(50, 98, 208, 50));
        QCOMPARE(screen.lsbut->geometry(), QRect(50, 153, 208, 50));
        QCOMPARE(screen.playcbut->geometry(), QRect(48, 240, 208, 50));
        QCOMPARE(screen.playshapes->geometry(), QRect(50, 300, 208, 50));
        QCOMPARE(screen.lcbut->toolTip(),
                 QStringLiteral("Click this button to learn about different colors."));
        QCOMPARE(screen.playshapes->toolTip(), QString());
        QCOMPARE(screen.Helpmnu->text(), QStringLiteral("Help"));
        QVERIFY(screen.Helpmnu->menu() == nullptr);
    }

    void openingHighlightsTheFirstButtonWithOneSound() {
        TestProgram program;
        selectform& screen = openScreen(program);
        QVERIFY(screen.lcbut->hasFocus());
        QCOMPARE(screen.lcbut->picture(), libraryPicture("lcy.jpg"));
        QCOMPARE(program.audio.filesPlayed("selectform.soundplayer"),
                 QStringList{kLibrary + "/backgrounds/select.wav"});
        QVERIFY(!screen.yellowcleared);
    }

    // The window system may report a pointer resting on a button before the
    // window is active; the focus highlight of lcbut still comes first.
    void restingPointerWaitsForTheFocusHighlight_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("leavesFirst");
        QTest::addColumn<QString>("lcbutShows");
        QTest::addColumn<int>("sounds");
        QTest::newRow("resting on lsbut") << "lsbut" << false << "lcw.jpg" << 2;
        QTest::newRow("resting on playshapes") << "playshapes" << false << "lcw.jpg" << 2;
        QTest::newRow("resting on lcbut") << "lcbut" << false << "lcy.jpg" << 2;
        QTest::newRow("passing over lsbut") << "lsbut" << true << "lcy.jpg" << 1;
    }
    void restingPointerWaitsForTheFocusHighlight() {
        QFETCH(QString, button);
        QFETCH(bool, leavesFirst);
        QFETCH(QString, lcbutShows);
        QFETCH(int, sounds);
        TestProgram program;
        program.storeDefaults();
        startprogram(*program.forms);
        selectform& screen = program.forms->select();
        auto* resting = screen.findChild<PictureButton*>(button);
        const QImage builtIn = resting->picture();
        QVERIFY2(!screen.lcbut->hasFocus(), "the focus must arrive after the pointer here");
        pointerEnters(resting);
        if (leavesFirst)
            pointerLeaves(resting);
        QVERIFY(QTest::qWaitForWindowActive(&screen));

        QVERIFY(screen.lcbut->hasFocus());
        QCOMPARE(screen.lcbut->picture(), libraryPicture(lcbutShows));
        const QStringList lit = {"lcy.jpg", "lsy.jpg", "pcy.jpg", "psy.jpg"};
        const QList<PictureButton*> buttons = {screen.lcbut, screen.lsbut, screen.playcbut,
                                               screen.playshapes};
        const int index = int(buttons.indexOf(resting));
        if (resting != screen.lcbut)
            QCOMPARE(resting->picture(), leavesFirst ? builtIn : libraryPicture(lit[index]));
        QCOMPARE(program.audio.filesPlayed("selectform.soundplayer").size(), sounds);
        // A resting pointer does not choose a play activity.
        QCOMPARE(program.module1.selectedmode, QString());
    }

    void pointerVisitsAndTestyellow() {
        TestProgram program;
        selectform& screen = openScreen(program);
        program.audio.clear();

        pointerEnters(screen.lsbut);
        QVERIFY(screen.yellowcleared);
        QCOMPARE(screen.lcbut->picture(), libraryPicture("lcw.jpg"));
        QCOMPARE(screen.lsbut->picture(), libraryPicture("lsy.jpg"));
        QCOMPARE(program.audio.filesPlayed("selectform.soundplayer").size(), 1);
        pointerLeaves(screen.lsbut);
        QCOMPARE(screen.lsbut->picture(), libraryPicture("lsw.jpg"));

        // Later visits to other buttons no longer touch lcbut.
        screen.lcbut->setPicture(QImage());
        pointerEnters(screen.playcbut);
        QVERIFY(screen.lcbut->picture().isNull());
        // The pointer entering a play button does not choose it.
        QCOMPARE(program.module1.selectedmode, QString());

        // lcbut lights up and goes plain under the pointer though it keeps the focus.
        pointerEnters(screen.lcbut);
        QCOMPARE(screen.lcbut->picture(), libraryPicture("lcy.jpg"));
        pointerLeaves(screen.lcbut);
        QCOMPARE(screen.lcbut->picture(), libraryPicture("lcw.jpg"));
        QVERIFY(screen.lcbut->hasFocus());
    }

    void focusOnAPlayButtonChoosesIt_data() {
        QTest::addColumn<int>("tabs");
        QTest::addColumn<QString>("expected");
        QTest::newRow("lsbut leaves it alone") << 1 << QString();
        QTest::newRow("playcbut") << 2 << "playcolors";
        QTest::newRow("playshapes") << 3 << "playshapes";
    }
    void focusOnAPlayButtonChoosesIt() {
        QFETCH(int, tabs);
        QFETCH(QString, expected);
        TestProgram program;
        selectform& screen = openScreen(program);
        program.audio.clear();
        QWidget* before = screen.lcbut;
        for (int i = 0; i < tabs; ++i) {
            before = QApplication::focusWidget();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(program.module1.selectedmode, expected);
        auto* focused = qobject_cast<PictureButton*>(QApplication::focusWidget());
        QVERIFY(focused);
        // The button left behind is plain again; the new one lit with a sound.
        const QStringList plain = {"lcw.jpg", "lsw.jpg", "pcw.jpg", "psw.jpg"};
        const QStringList lit = {"lcy.jpg", "lsy.jpg", "pcy.jpg", "psy.jpg"};
        QCOMPARE(qobject_cast<PictureButton*>(before)->picture(), libraryPicture(plain[tabs - 1]));
        QCOMPARE(focused->picture(), libraryPicture(lit[tabs]));
        QCOMPARE(program.audio.filesPlayed("selectform.soundplayer").size(), tabs);
    }

    // Once the pointer or the focus has passed, a button shows the library's
    // plain picture: on a plain screen and at 200 % it looks as it did at first.
    void plainPictureLooksLikeTheFirstShowing_data() { addButtonsAtTwoScales(); }
    void plainPictureLooksLikeTheFirstShowing() {
        QFETCH(QString, button);
        QFETCH(qreal, ratio);
        TestProgram program;
        program.storeDefaults();
        startprogram(*program.forms);
        selectform& screen = program.forms->select();
        auto* shown = screen.findChild<PictureButton*>(button);
        QVERIFY2(!shown->hasFocus(), "the first showing is looked at before the focus arrives");
        const QImage first = shownBy(shown, ratio);
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        if (shown == screen.lcbut) {
            screen.lsbut->setFocus();
        } else {
            pointerEnters(shown);
            pointerLeaves(shown);
        }
        QVERIFY(!shown->hasFocus());
        const QImage plain = shownBy(shown, ratio);
        QVERIFY(plain != first);  // the library's picture, not the built-in one
        const QString mismatch = qvtest::jpegMismatch(first, plain);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
    }

    // At 200 % a button shows every pixel of its built-in picture, one for one;
    // on a plain screen the picture is scaled down to its size there, smoothly.
    void builtInPictureIsShownAtItsSize_data() { addButtonsAtTwoScales(); }
    void builtInPictureIsShownAtItsSize() {
        QFETCH(QString, button);
        QFETCH(qreal, ratio);
        TestProgram program;
        program.storeDefaults();
        startprogram(*program.forms);
        selectform& screen = program.forms->select();
        auto* shown = screen.findChild<PictureButton*>(button);
        QVERIFY(!shown->hasFocus());
        const QImage picture = qv::builtInPicture(button);
        QCOMPARE(picture.devicePixelRatio(), 2.0);
        // Centred in the 208 x 50 button: 3 in from its top left corner.
        const QRect face(QPoint(3, 3) * ratio, picture.deviceIndependentSize().toSize() * ratio);
        const QImage seen = shownBy(shown, ratio).copy(face).convertToFormat(QImage::Format_RGB32);
        const QImage expected = (ratio == 2.0 ? picture
                                              : picture.scaled(face.size(), Qt::IgnoreAspectRatio,
                                                               Qt::SmoothTransformation))
                                    .convertToFormat(QImage::Format_RGB32);
        QCOMPARE(seen.size(), expected.size());
        int worst = 0;
        for (int y = 0; y < seen.height(); ++y) {
            for (int x = 0; x < seen.width(); ++x) {
                const QRgb a = seen.pixel(x, y);
                const QRgb b = expected.pixel(x, y);
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)),
                                  std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
            }
        }
        // One for one it is exact; scaled down, two ways of averaging differ a little.
        QVERIFY2(worst <= (ratio == 2.0 ? 0 : 24), qPrintable(QString("differs by %1").arg(worst)));
    }

    void clickChoosesHidesAndStartsTheGame_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("introduction");
        QTest::newRow("learn colours") << "lcbut"
                                       << "learncolors"
                                       << "letsgocolors.wav";
        QTest::newRow("learn shapes") << "lsbut"
                                      << "learnshapes"
                                      << "letsgoshapes.wav";
        QTest::newRow("play colours") << "playcbut"
                                      << "playcolors"
                                      << "letsplaycolor.wav";
        QTest::newRow("play shapes") << "playshapes"
                                     << "playshapes"
                                     << "letsplayshape.wav";
    }
    void clickChoosesHidesAndStartsTheGame() {
        QFETCH(QString, button);
        QFETCH(QString, mode);
        QFETCH(QString, introduction);
        TestProgram program;
        selectform& screen = openScreen(program);
        QTest::mouseClick(screen.findChild<PictureButton*>(button), Qt::LeftButton);
        QCOMPARE(program.module1.selectedmode, mode);
        QVERIFY(!screen.isVisible());
        QVERIFY(program.forms->gameCreated());
        QVERIFY(program.forms->game().isVisible());
        QCOMPARE(program.audio.filesPlayed("mainform.soundplayer"),
                 QStringList{kLibrary + "/sounds/" + introduction});
    }

    void missingPicturesKeepTheButtonAsItWas() {
        QTemporaryDir dir;
        TestProgram program(fixtureLibrary(dir, {"lsw.jpg", "psy.jpg"}));
        selectform& screen = openScreen(program);
        program.audio.clear();

        pointerEnters(screen.lsbut);
        const QImage lit = screen.lsbut->picture();
        QCOMPARE(lit, libraryPicture("lsy.jpg"));
        // No plain picture: leaving keeps the lit one and the program goes on.
        pointerLeaves(screen.lsbut);
        QCOMPARE(screen.lsbut->picture(), lit);
        QVERIFY(program.desktop.endedWith.isEmpty());

        // No highlight picture: the button keeps its picture, the sound still plays.
        const QImage before = screen.playshapes->picture();
        pointerEnters(screen.playshapes);
        QCOMPARE(screen.playshapes->picture(), before);
        QCOMPARE(program.audio.filesPlayed("selectform.soundplayer").size(), 2);
    }

    void helpOpensThePageWithoutTheGameWindow() {
        QTemporaryDir dir;
        const QString folder = dir.filePath("a folder with blanks");
        QDir().mkpath(folder);
        TestProgram program(folder);
        selectform& screen = openScreen(program);
        screen.Helpmnu->trigger();
        QCOMPARE(program.desktop.opened.size(), 1);
        QCOMPARE(program.desktop.opened.first().owner, &screen);
        QCOMPARE(program.desktop.opened.first().address, folder + "/help/colorhelp.htm");
        QVERIFY(!program.forms->gameCreated());
    }

    void closingTheScreenEndsTheProgram() {
        TestProgram program;
        selectform& screen = openScreen(program);
        screen.close();
        QCOMPARE(program.desktop.endedWith, QList<int>{0});
    }
};

QTEST_MAIN(TestSelectform)
#include "test_selectform.moc"
