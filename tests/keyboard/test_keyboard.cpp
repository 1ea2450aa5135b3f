// The whole program by keyboard: what each key does in each activity and way
// of changing pictures, Return and Escape in the About box, the selection
// screen and the options, the options' access keys, and the focus ring that
// shows where the keys go.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QtTest>

#include "pictures/transitionpicture.h"
#include "support/gamerig.h"
#include "timing/timer.h"
#include "ui/about/aboutform.h"
#include "ui/focusframe.h"
#include "ui/mainform/mainform.h"
#include "ui/menubar.h"
#include "ui/options/options.h"
#include "ui/options/panel.h"
#include "ui/options/tabcontrol.h"
#include "ui/picturebutton.h"
#include "ui/selectform/selectform.h"

using namespace qv;
using qvtest::GameRig;
using qvtest::TestProgram;
using qvtest::whenDialogOpens;

namespace {

// Presses a key where the keyboard is: at the control with the focus, or at
// the window when none of its controls has it.
void press(QWidget& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    QWidget* target = focus && focus->window() == window.window() ? focus : &window;
    QTest::keyClick(target, Qt::Key(key), modifiers);
}

int focusedAnswer(GameRig& rig) {
    const auto answers = rig.answers();
    for (size_t k = 0; k < answers.size(); ++k) {
        if (answers[k]->hasFocus())
            return int(k);
    }
    return -1;
}

bool questionOpen(GameRig& rig) {
    for (TransitionPicture* picture : rig.answers()) {
        if (!picture->isEnabled() || !picture->isVisible())
            return false;
    }
    return true;
}

// The focus ring's yellow, as drawn around a control.
bool isRingYellow(QRgb pixel) {
    return qRed(pixel) == 255 && qGreen(pixel) == 214 && qBlue(pixel) == 0;
}

// How many pixels of the ring's yellow an image holds within `area`.
int ringPixels(const QImage& image, const QRect& area) {
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (isRingYellow(image.pixel(x, y)))
                ++count;
        }
    }
    return count;
}

// Whether a window's picture shows the ring along the top and the bottom of
// `frame` (the ring's outer edge).
bool ringAround(const QImage& image, const QRect& frame, int thickness) {
    return ringPixels(image, QRect(frame.x(), frame.y(), frame.width(), thickness)) >
               frame.width() / 2 &&
           ringPixels(image, QRect(frame.x(), frame.bottom() - thickness + 1, frame.width(),
                                   thickness)) > frame.width() / 2;
}

// The access keys a page shows at once: its own controls' and the tabs'.
QStringList accessKeysOn(options& dialog, int page) {
    static const QRegularExpression mark(QStringLiteral("&([^&])"));
    QStringList captions;
    for (const QWidget* control : dialog.vaTabPro1->page(page)->findChildren<QWidget*>()) {
        if (auto* button = qobject_cast<const QAbstractButton*>(control))
            captions << button->text();
        else if (auto* label = qobject_cast<const QLabel*>(control); label && label->buddy())
            captions << label->text();
    }
    for (int k = 0; k < dialog.vaTabPro1->count(); ++k)
        captions << dialog.vaTabPro1->tabBar()->tabText(k);
    QStringList keys;
    for (const QString& caption : captions) {
        const QRegularExpressionMatch match = mark.match(caption);
        if (match.hasMatch())
            keys << match.captured(1).toUpper();
    }
    return keys;
}

}  // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    // Key, activity, way of changing pictures and what happens. With the
    // timer the keys answer a play question as a click on a picture does;
    // with "keyboard" every key asks for the next picture or question.
    void keysInTheGameWindow_data() {
        QTest::addColumn<QString>("activity");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("focusBefore");  // answer picture with the focus; -1 none
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("happens");  // "answer k", "focus k", "next", "nothing"
        const auto row = [](const char* name, const char* activity, const char* how, int before,
                            int key, const char* happens, int modifiers = Qt::NoModifier) {
            QTest::newRow(name) << activity << how << before << key << modifiers << happens;
        };
        row("1 answers top left", "playcolors", "timer", -1, Qt::Key_1, "answer 0");
        row("2 answers top right", "playcolors", "timer", -1, Qt::Key_2, "answer 1");
        row("3 answers bottom left", "playcolors", "timer", -1, Qt::Key_3, "answer 2");
        row("4 answers bottom right", "playcolors", "timer", -1, Qt::Key_4, "answer 3");
        row("4 on the keypad", "playcolors", "timer", -1, Qt::Key_4, "answer 3",
            Qt::KeypadModifier);
        row("3 in the shape game", "playshapes", "timer", -1, Qt::Key_3, "answer 2");
        row("1 with the focus elsewhere", "playshapes", "timer", 3, Qt::Key_1, "answer 0");
        row("Space answers with the ring", "playcolors", "timer", 1, Qt::Key_Space, "answer 1");
        row("Return answers with the ring", "playshapes", "timer", 2, Qt::Key_Return, "answer 2");
        row("Enter answers with the ring", "playcolors", "timer", 3, Qt::Key_Enter, "answer 3",
            Qt::KeypadModifier);
        row("Space without a ring", "playcolors", "timer", -1, Qt::Key_Space, "nothing");
        row("first arrow rings top left", "playcolors", "timer", -1, Qt::Key_Down, "focus 0");
        row("Right", "playcolors", "timer", 0, Qt::Key_Right, "focus 1");
        row("Down", "playcolors", "timer", 0, Qt::Key_Down, "focus 2");
        row("Left", "playcolors", "timer", 3, Qt::Key_Left, "focus 2");
        row("Up", "playshapes", "timer", 3, Qt::Key_Up, "focus 1");
        row("Right at the right edge", "playcolors", "timer", 1, Qt::Key_Right, "focus 1");
        row("first Tab rings top left", "playcolors", "timer", -1, Qt::Key_Tab, "focus 0");
        row("Tab", "playcolors", "timer", 1, Qt::Key_Tab, "focus 2");
        row("Tab from the last", "playcolors", "timer", 3, Qt::Key_Tab, "focus 0");
        row("Shift+Tab from the first", "playcolors", "timer", 0, Qt::Key_Backtab, "focus 3",
            Qt::ShiftModifier);
        row("5", "playcolors", "timer", -1, Qt::Key_5, "nothing");
        row("a letter", "playcolors", "timer", 0, Qt::Key_A, "nothing");
        row("keyboard: 1 asks anew", "playcolors", "keyboard", -1, Qt::Key_1, "next");
        row("keyboard: an arrow asks anew", "playshapes", "keyboard", -1, Qt::Key_Right, "next");
        row("keyboard: Space asks anew", "playcolors", "keyboard", -1, Qt::Key_Space, "next");
        row("learn, timer: 1", "learncolors", "timer", -1, Qt::Key_1, "nothing");
        row("learn, timer: Space", "learnshapes", "timer", -1, Qt::Key_Space, "nothing");
        row("learn, keyboard: Space", "learncolors", "keyboard", -1, Qt::Key_Space, "next");
        row("learn, keyboard: 4", "learnshapes", "keyboard", -1, Qt::Key_4, "next");
        row("learn, keyboard: an arrow", "learnshapes", "keyboard", -1, Qt::Key_Left, "next");
    }
    void keysInTheGameWindow() {
        QFETCH(QString, activity);
        QFETCH(QString, how);
        QFETCH(int, focusBefore);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, happens);
        GameRig rig(GameRig::withoutMusic({{"howtochangepictures", how}}),
                    GameRig::Library::Fixture);
        mainform& game = rig.open(activity);
        QVERIFY(QTest::qWaitForWindowActive(&game));
        const bool play = activity.startsWith(QLatin1String("play"));
        // The question is open, or the learn picture has been named.
        rig.program.clock.advance(8000);
        if (play)
            QVERIFY(questionOpen(rig));
        if (focusBefore >= 0) {
            rig.answers()[size_t(focusBefore)]->setFocus(Qt::OtherFocusReason);
            QCOMPARE(focusedAnswer(rig), focusBefore);
        }
        game.pickedpicture = -1;
        const qsizetype answersBefore = rig.heard("answerplay").size();
        const bool stepWaiting = game.Timer1->enabled();

        press(game, key, Qt::KeyboardModifiers(modifiers));

        const QString what = happens.section(' ', 0, 0);
        const int index = happens.section(' ', 1, 1).toInt();
        if (what == QLatin1String("answer")) {
            QCOMPARE(game.pickedpicture, qint16(index));
            QVERIFY(rig.heard("answerplay").size() > answersBefore);
            return;
        }
        QCOMPARE(game.pickedpicture, qint16(-1));
        QCOMPARE(rig.heard("answerplay").size(), answersBefore);
        if (what == QLatin1String("focus")) {
            QCOMPARE(focusedAnswer(rig), index);
        } else if (what == QLatin1String("next")) {
            QVERIFY(game.Timer1->enabled());
            QCOMPARE(focusedAnswer(rig), -1);
        } else {
            QCOMPARE(game.Timer1->enabled(), stepWaiting);
            QCOMPARE(focusedAnswer(rig), focusBefore);
        }
    }

    // Before the fourth picture has arrived a key answers nothing, as a click
    // does not; once the question is open it does.
    void keysAnswerOnlyAnOpenQuestion() {
        GameRig rig(GameRig::withoutMusic({}), GameRig::Library::Fixture);
        mainform& game = rig.open("playcolors");
        QVERIFY(QTest::qWaitForWindowActive(&game));
        rig.program.clock.advance(5100);  // the first picture is coming in
        QVERIFY(!questionOpen(rig));
        game.pickedpicture = -1;
        press(game, Qt::Key_2);
        press(game, Qt::Key_Right);
        QCOMPARE(game.pickedpicture, qint16(-1));
        QCOMPARE(focusedAnswer(rig), -1);
        QVERIFY(rig.heard("answerplay").isEmpty());
        rig.program.clock.advance(3000);
        QVERIFY(questionOpen(rig));
        press(game, Qt::Key_2);
        QCOMPARE(game.pickedpicture, qint16(1));
    }

    // A child who answers by keyboard finds the ring where it was when the
    // next question has come in; a child who only clicks never sees one.
    void theRingComesBackWithTheNextQuestion_data() {
        QTest::addColumn<bool>("byKeyboard");
        QTest::newRow("answered by keyboard") << true;
        QTest::newRow("answered by clicking") << false;
    }
    void theRingComesBackWithTheNextQuestion() {
        QFETCH(bool, byKeyboard);
        GameRig rig(GameRig::withoutMusic({}), GameRig::Library::Fixture);
        mainform& game = rig.open("playcolors");
        QVERIFY(QTest::qWaitForWindowActive(&game));
        rig.program.clock.advance(8000);
        const int right = game.rightpicture;
        const QString asked = game.lastquestion;
        if (byKeyboard) {
            press(game, Qt::Key_1 + right);
        } else {
            TransitionPicture* picture = rig.answers()[size_t(right)];
            QTest::mouseClick(picture, Qt::LeftButton, {}, picture->pictureArea().center());
        }
        QCOMPARE(game.pickedpicture, qint16(right));
        QVERIFY(!questionOpen(rig));  // the next question is being built
        QCOMPARE(focusedAnswer(rig), -1);
        rig.program.clock.advance(5000);
        QVERIFY(questionOpen(rig));
        QVERIFY(game.lastquestion != asked);
        QCOMPARE(focusedAnswer(rig), byKeyboard ? right : -1);
    }

    // A child who only clicks never sees the ring, and Space and Return
    // answer nothing for them: not when the window becomes active again, not
    // after a click on a picture or beside the pictures, not in the next
    // question.
    void noRingWithoutAKey_data() {
        QTest::addColumn<QString>("what");
        QTest::newRow("the window becomes active again") << "activate";
        QTest::newRow("a click on a wrong picture") << "wrong";
        QTest::newRow("a right answer by a click") << "right";
        QTest::newRow("a click beside the pictures") << "beside";
    }
    void noRingWithoutAKey() {
        QFETCH(QString, what);
        GameRig rig(GameRig::withoutMusic({}), GameRig::Library::Fixture);
        mainform& game = rig.open("playcolors");
        QVERIFY(QTest::qWaitForWindowActive(&game));
        rig.program.clock.advance(8000);
        QVERIFY(questionOpen(rig));
        const int right = game.rightpicture;
        if (what == QLatin1String("activate")) {
            QWidget other;
            other.resize(200, 100);
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
            game.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&game));
            other.hide();
            game.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&game));
        } else if (what == QLatin1String("beside")) {
            QTest::mouseClick(game.centralWidget(), Qt::LeftButton, {}, QPoint(5, 5));
        } else {
            const int k = what == QLatin1String("right") ? right : (right + 1) % 4;
            QTest::mouseClick(rig.answers()[size_t(k)], Qt::LeftButton);
        }
        // Whatever the click began has ended; the question is open.
        rig.program.clock.advance(6000);
        QVERIFY(questionOpen(rig));
        QCOMPARE(focusedAnswer(rig), -1);
        for (TransitionPicture* picture : rig.answers())
            QCOMPARE(ringPixels(picture->grab().toImage(), picture->rect()), 0);
        const qsizetype answersBefore = rig.heard("answerplay").size();
        game.pickedpicture = -1;
        for (int key : {Qt::Key_Space, Qt::Key_Return})
            press(game, key);
        QCOMPARE(game.pickedpicture, qint16(-1));
        QCOMPARE(rig.heard("answerplay").size(), answersBefore);
    }

    // A key places the ring: a digit on the picture it answers with, the
    // first arrow or Tab on the top left one; from then on the ring shows,
    // Space answers with it, and it stays when the window becomes active
    // again.
    void aKeyPlacesTheRing_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("ringAt");  // -1: the picture a wrong digit answers with
        QTest::newRow("a digit") << int(Qt::Key_1) << -1;
        QTest::newRow("an arrow") << int(Qt::Key_Right) << 0;
        QTest::newRow("Tab") << int(Qt::Key_Tab) << 0;
    }
    void aKeyPlacesTheRing() {
        QFETCH(int, key);
        QFETCH(int, ringAt);
        GameRig rig(GameRig::withoutMusic({}), GameRig::Library::Fixture);
        mainform& game = rig.open("playcolors");
        QVERIFY(QTest::qWaitForWindowActive(&game));
        rig.program.clock.advance(8000);
        const int wrong = (game.rightpicture + 1) % 4;
        if (ringAt < 0) {
            key = Qt::Key_1 + wrong;
            ringAt = wrong;
        }
        press(game, key);
        rig.program.clock.advance(6000);
        QCOMPARE(focusedAnswer(rig), ringAt);
        TransitionPicture* ringed = rig.answers()[size_t(ringAt)];
        QVERIFY(ringPixels(ringed->grab().toImage(), ringed->rect()) > ringed->width());
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        other.hide();
        game.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&game));
        QCOMPARE(focusedAnswer(rig), ringAt);
        game.pickedpicture = -1;
        press(game, Qt::Key_Space);
        QCOMPARE(game.pickedpicture, qint16(ringAt));
    }

    // Return presses the button with the focus and Escape closes the About
    // box opened from the game window; the first-run screen stays on Escape,
    // which would end the program unasked.
    void aboutBoxKeys_data() {
        QTest::addColumn<bool>("firstRun");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("closes");
        QTest::newRow("from the game: Return") << false << int(Qt::Key_Return) << true;
        QTest::newRow("from the game: Space") << false << int(Qt::Key_Space) << true;
        QTest::newRow("from the game: Escape") << false << int(Qt::Key_Escape) << true;
        QTest::newRow("from the game: a letter") << false << int(Qt::Key_Q) << false;
        QTest::newRow("first run: Return") << true << int(Qt::Key_Return) << true;
        QTest::newRow("first run: Escape") << true << int(Qt::Key_Escape) << false;
    }
    void aboutBoxKeys() {
        QFETCH(bool, firstRun);
        QFETCH(int, key);
        QFETCH(bool, closes);
        if (firstRun) {
            TestProgram program;
            Aboutform& about = program.forms->about();
            about.showAsWindow();
            QVERIFY(QTest::qWaitForWindowActive(&about));
            QCOMPARE(QApplication::focusWidget(), about.okaybut);
            press(about, key);
            QCOMPARE(about.isVisible(), !closes);
            QVERIFY(program.desktop.endedWith.isEmpty());
            // Return is the first run's OK: the defaults are stored.
            QCOMPARE(program.storedText("runonce"),
                     closes ? QStringLiteral("True") : QStringLiteral("<missing>"));
            QCOMPARE(program.forms->select().isVisible(), closes);
            return;
        }
        GameRig rig(GameRig::withoutMusic({}), GameRig::Library::Fixture);
        mainform& game = rig.open("learncolors");
        Aboutform& about = rig.program.forms->about();
        bool stillOpen = false;
        whenDialogOpens([&] {
            QVERIFY(QTest::qWaitForWindowActive(&about));
            QCOMPARE(QApplication::focusWidget(), about.okaybut);
            press(about, key);
            stillOpen = about.isVisible();
            if (stillOpen)
                about.close();
        });
        game.aboutmenu_click();
        QCOMPARE(stillOpen, !closes);
        QVERIFY(game.Timer1->enabled());  // the activity starts again
    }

    // The selection screen as the game window's New dialog: the arrows move
    // between the buttons, Return chooses, Escape closes it as its close
    // button does (the game goes on with the choice the focus made).
    void newDialogKeys_data() {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("mode");
        QTest::newRow("Return") << QList<int>{Qt::Key_Return} << "learncolors";
        QTest::newRow("Down, Return") << QList<int>{Qt::Key_Down, Qt::Key_Return} << "learnshapes";
        QTest::newRow("Down, Down, Space")
            << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Space} << "playcolors";
        QTest::newRow("Up wraps round, Return")
            << QList<int>{Qt::Key_Up, Qt::Key_Return} << "playshapes";
        QTest::newRow("Escape") << QList<int>{Qt::Key_Escape} << "learnshapes";
        QTest::newRow("Tab, Tab, Escape")
            << QList<int>{Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Escape} << "playcolors";
    }
    void newDialogKeys() {
        QFETCH(QList<int>, keys);
        QFETCH(QString, mode);
        GameRig rig(GameRig::withoutMusic({}), GameRig::Library::Fixture);
        mainform& game = rig.open("learnshapes");
        selectform& screen = rig.program.forms->select();
        bool closed = false;
        whenDialogOpens([&] {
            QVERIFY(QTest::qWaitForWindowActive(&screen));
            QCOMPARE(QApplication::focusWidget(), screen.lcbut);
            for (int key : keys)
                press(screen, key);
            closed = !screen.isVisible();
            if (!closed)
                screen.close();
        });
        game.newmenu_click();
        QVERIFY(closed);
        QCOMPARE(rig.program.module1.selectedmode, mode);
        QVERIFY(rig.program.desktop.endedWith.isEmpty());
    }

    // On its own the selection screen is the program's only window: Escape
    // leaves it open; Return starts the activity whose button has the focus.
    void selectionScreenKeys() {
        TestProgram program;
        program.useSettings({{"playmusic", "False"}});
        selectform& screen = program.forms->select();
        screen.showAsWindow();
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        press(screen, Qt::Key_Escape);
        QVERIFY(screen.isVisible());
        QVERIFY(program.desktop.endedWith.isEmpty());
        press(screen, Qt::Key_Down);
        press(screen, Qt::Key_Return);
        QVERIFY(!screen.isVisible());
        QVERIFY(program.forms->gameCreated() && program.forms->game().isVisible());
        QCOMPARE(program.module1.selectedmode, QStringLiteral("learnshapes"));
    }

    // Return on an OKAY button stores every page and closes; Escape closes and
    // stores nothing, as the window's close command does.
    void optionsKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("stored");
        QTest::newRow("Return on OKAY") << int(Qt::Key_Return) << true;
        QTest::newRow("Space on OKAY") << int(Qt::Key_Space) << true;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
    }
    void optionsKeys() {
        QFETCH(int, key);
        QFETCH(bool, stored);
        TestProgram program;
        program.useSettings({});
        options dialog(*program.forms);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        // A change on the page on top, then the focus on its OKAY button.
        QCOMPARE(QApplication::focusWidget(), dialog.playusessameobject);
        press(dialog, Qt::Key_Space);
        QVERIFY(dialog.playusessameobject->isChecked());
        dialog.okayclose3->setFocus(Qt::TabFocusReason);
        press(dialog, key);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(program.storedText("playsameobj"),
                 stored ? QStringLiteral("True") : QStringLiteral("False"));
    }

    // Every access key a page shows reaches one control: Alt+P always goes to
    // the "Play Options" tab, and "Plastic" has a letter of its own.
    void accessKeysAreUniqueOnEveryPage_data() {
        QTest::addColumn<int>("page");
        QTest::newRow("Global Options") << 0;
        QTest::newRow("Learn Options") << 1;
        QTest::newRow("Play Options") << 2;
    }
    void accessKeysAreUniqueOnEveryPage() {
        QFETCH(int, page);
        TestProgram program;
        program.useSettings({});
        options dialog(*program.forms);
        const QStringList keys = accessKeysOn(dialog, page);
        QVERIFY(keys.size() >= 6);
        QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), keys.size());
    }
    void accessKeysOfTheGlobalPage_data() {
        QTest::addColumn<int>("letter");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("focus");
        QTest::newRow("Alt+P: Play Options") << int(Qt::Key_P) << 2 << "";
        QTest::newRow("Alt+L: Learn Options") << int(Qt::Key_L) << 1 << "";
        QTest::newRow("Alt+A: Plastic") << int(Qt::Key_A) << 0 << "plasticopt";
        QTest::newRow("Alt+S: Standard") << int(Qt::Key_S) << 0 << "standardopt";
        QTest::newRow("Alt+B: the background list") << int(Qt::Key_B) << 0 << "backlistcount";
    }
    void accessKeysOfTheGlobalPage() {
        QFETCH(int, letter);
        QFETCH(int, page);
        QFETCH(QString, focus);
        TestProgram program;
        program.useSettings({});
        options dialog(*program.forms);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        press(dialog, Qt::Key_G, Qt::AltModifier);
        QCOMPARE(dialog.vaTabPro1->currentIndex(), 0);
        dialog.changebackcheck->setFocus(Qt::TabFocusReason);
        press(dialog, letter, Qt::AltModifier);
        QCOMPARE(dialog.vaTabPro1->currentIndex(), page);
        // An option button's access key clicks it a moment later, as a press would.
        if (!focus.isEmpty())
            QTRY_COMPARE(QApplication::focusWidget()->objectName(), focus);
        if (focus == QLatin1String("plasticopt"))
            QTRY_VERIFY(dialog.plasticopt->isChecked());
    }

    // Wherever the focus is, a thick ring of the focus colour shows it: round
    // the control in the dialogs and on the selection screen, round the
    // picture in the game, inside the chosen tab.
    // Escape from an open menu leaves the menu bar with the keys, and the
    // title that the next Down opens is marked as an open menu's title is;
    // Escape once more gives the keys back to the window, and the mark goes.
    void escapeFromAMenuLeavesItsTitleMarked() {
        GameRig rig(GameRig::withoutMusic({}), GameRig::Library::Fixture);
        mainform& game = rig.open("learncolors");
        QVERIFY(QTest::qWaitForWindowActive(&game));
        auto* bar = qobject_cast<MenuBar*>(game.menuBar());
        QVERIFY(bar);
        const QRect title = bar->actionGeometry(game.filemenu->menuAction());
        const auto titleShown = [&] { return bar->grab().toImage().copy(title); };
        const QImage plain = titleShown();
        // No control of the window has the keys before: they are the window's.
        if (QWidget* focused = QApplication::focusWidget())
            focused->clearFocus();
        QCOMPARE(QApplication::focusWidget(), nullptr);

        QTest::keyClick(&game, Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(game.filemenu->isVisible());
        const QImage open = titleShown();
        QVERIFY(open != plain);
        QTest::keyClick(game.filemenu, Qt::Key_Escape);
        QTRY_VERIFY(!game.filemenu->isVisible());
        QVERIFY(bar->hasFocus());
        QCOMPARE(bar->keyboardChoice(), game.filemenu->menuAction());
        QCOMPARE(titleShown(), open);

        // Down opens what the mark shows.
        QTest::keyClick(bar, Qt::Key_Down);
        QTRY_VERIFY(game.filemenu->isVisible());
        QTest::keyClick(game.filemenu, Qt::Key_Escape);
        QTRY_VERIFY(!game.filemenu->isVisible());
        // (The off-screen platform lets the closed menu keep the activation.)
        game.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&game));
        QVERIFY(bar->hasFocus());
        QTest::keyClick(bar, Qt::Key_Escape);
        QTRY_VERIFY(!bar->hasFocus());
        QCOMPARE(QApplication::activeWindow(), &game);
        QCOMPARE(bar->keyboardChoice(), nullptr);
        QCOMPARE(titleShown(), plain);
        // The next Down is the window's, and opens nothing.
        QTest::keyClick(game.windowHandle(), Qt::Key_Down);
        QTest::qWait(50);
        QVERIFY(!game.filemenu->isVisible());
        QVERIFY(!bar->hasFocus());
    }

    // A check box or option button has the ring's sides wholly outside it:
    // its box or circle starts at its very edge.
    void focusIsShown_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("sideOutside");
        const int half = FocusFrame::kOutside;
        const int whole = FocusFrame::kThickness;
        for (const auto& [name, side] :
             std::initializer_list<std::pair<const char*, int>>{{"changebackcheck", whole},
                                                                {"backlistcount", half},
                                                                {"standardopt", whole},
                                                                {"okaybutglobal", half},
                                                                {"repeatobj", half},
                                                                {"keyboardopt", whole},
                                                                {"okayclose2", half},
                                                                {"Playfxspeedlist", half}})
            QTest::newRow(name) << QString::fromLatin1(name) << side;
    }
    void focusIsShown() {
        QFETCH(QString, control);
        QFETCH(int, sideOutside);
        TestProgram program;
        program.useSettings({});
        options dialog(*program.forms);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* widget = dialog.findChild<QWidget*>(control);
        QVERIFY(widget);
        for (int k = 0; k < dialog.vaTabPro1->count(); ++k) {
            if (dialog.vaTabPro1->page(k)->isAncestorOf(widget))
                dialog.vaTabPro1->setCurrentIndex(k);
        }
        widget->setFocus(Qt::TabFocusReason);
        QVERIFY(widget->hasFocus());
        auto* frame = dialog.findChild<FocusFrame*>();
        QVERIFY(frame);
        QCOMPARE(frame->control(), widget);
        const QRect around(widget->mapTo(&dialog, QPoint(0, 0)), widget->size());
        QCOMPARE(frame->geometry(), around.adjusted(-sideOutside, -FocusFrame::kOutside,
                                                    sideOutside, FocusFrame::kOutside));
        // Drawn above everything: the window's picture shows the ring.
        QVERIFY(ringAround(dialog.grab().toImage(), frame->geometry(), FocusFrame::kThickness));
        // Gone with the focus.
        dialog.vaTabPro1->tabBar()->setFocus(Qt::TabFocusReason);
        QVERIFY(!frame->isVisible());
    }

    void focusIsShownOnTheSelectionButtons() {
        TestProgram program;
        program.useSettings({{"playmusic", "False"}});
        selectform& screen = program.forms->select();
        screen.showAsWindow();
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        auto* frame = screen.findChild<FocusFrame*>();
        QVERIFY(frame);
        for (PictureButton* button :
             {screen.lcbut, screen.lsbut, screen.playcbut, screen.playshapes}) {
            button->setFocus(Qt::TabFocusReason);
            QCOMPARE(frame->control(), button);
            QVERIFY2(ringAround(screen.grab().toImage(), frame->geometry(), FocusFrame::kThickness),
                     qPrintable(button->objectName()));
        }
    }

    void focusIsShownRoundTheAnswerPicture() {
        GameRig rig(GameRig::withoutMusic({}));
        mainform& game = rig.open("playcolors");
        QVERIFY(QTest::qWaitForWindowActive(&game));
        rig.program.clock.advance(8000);
        TransitionPicture* picture = game.image2;
        const QRect area = picture->pictureArea();
        const QRect band(area.topLeft(), QSize(area.width(), 4));
        QCOMPARE(ringPixels(picture->grab().toImage(), band), 0);
        press(game, Qt::Key_Down);
        press(game, Qt::Key_Down);
        QVERIFY(picture->hasFocus());
        QVERIFY(ringPixels(picture->grab().toImage(), band) > area.width());
        // Only the picture with the focus wears it.
        const QRect other = game.image0->pictureArea();
        QCOMPARE(ringPixels(game.image0->grab().toImage(),
                            QRect(other.topLeft(), QSize(other.width(), 4))),
                 0);
    }

    void focusIsShownOnTheChosenTab() {
        TestProgram program;
        program.useSettings({});
        options dialog(*program.forms);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTabBar* tabs = dialog.vaTabPro1->tabBar();
        const QRect chosen = tabs->tabRect(tabs->currentIndex());
        QCOMPARE(ringPixels(tabs->grab().toImage(), chosen), 0);
        tabs->setFocus(Qt::TabFocusReason);
        QVERIFY(ringPixels(tabs->grab().toImage(), chosen) > chosen.width());
        for (int k = 0; k < tabs->count(); ++k) {
            if (k != tabs->currentIndex())
                QCOMPARE(ringPixels(tabs->grab().toImage(), tabs->tabRect(k)), 0);
        }
    }
};

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
