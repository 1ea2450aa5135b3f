// The dialogs as the desktop is told of them: each dialog of the game window
// is kept above it, framed as a dialog without minimise or maximise button,
// with no task bar entry of its own; the windows that serve as dialogs at
// times (About, the selection screen) are windows of their own again
// afterwards; and with the screen filled, the first window is the backdrop's
// dialog until the game window fills the screen itself. What X11 makes of
// these is test_x11windows.
#include <QtTest>

#include <QApplication>
#include <QWindow>

#include "program/startprogram.h"
#include "support/gamerig.h"
#include "ui/about/aboutform.h"
#include "ui/mainform/mainform.h"
#include "ui/picturebutton.h"
#include "ui/selectform/selectform.h"

using namespace qv;
using namespace qvtest;

namespace {

// What the desktop is told of a window.
struct Kind {
    Qt::WindowType type = Qt::Widget;
    QWindow* keptAbove = nullptr;
    bool minimiseOrMaximise = false;
    bool closeButton = false;
};

Kind kindOf(QWidget& window) {
    window.winId();
    const Qt::WindowFlags flags = window.windowFlags();
    return {window.windowType(), window.windowHandle()->transientParent(),
            bool(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)),
            bool(flags & Qt::WindowCloseButtonHint)};
}

QWidget* backdrop() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("backdrop"))
            return w;
    }
    return nullptr;
}

}  // namespace

class TestDialogWindows : public QObject {
    Q_OBJECT

private slots:
    void theGameWindowsDialogsBelongToIt_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("About") << "aboutmenu"
                               << "Aboutform";
        QTest::newRow("New") << "newmenu"
                             << "selectform";
        QTest::newRow("Options") << "optionsmenu"
                                 << "options";
    }
    void theGameWindowsDialogsBelongToIt() {
        QFETCH(QString, menu);
        QFETCH(QString, dialog);
        GameRig rig(GameRig::withoutMusic({}), GameRig::Library::Fixture);
        mainform& game = rig.open("playcolors");
        QVERIFY(QTest::qWaitForWindowExposed(&game));
        Kind open;
        QString shown;
        whenDialogOpens([&] {
            QWidget* modal = QApplication::activeModalWidget();
            QVERIFY(modal);
            shown = modal->objectName();
            QVERIFY(modal->isModal());
            open = kindOf(*modal);
            modal->close();
        });
        if (menu == QLatin1String("aboutmenu"))
            game.aboutmenu_click();
        else if (menu == QLatin1String("newmenu"))
            game.newmenu_click();
        else
            game.optionsmenu_click();
        QCOMPARE(shown, dialog);
        QCOMPARE(open.type, Qt::Dialog);
        QCOMPARE(open.keptAbove, game.windowHandle());
        QVERIFY(!open.minimiseOrMaximise);
        QVERIFY(open.closeButton);
        // About and the selection screen live on: windows of their own again,
        // kept above nothing, with the same frame.
        QWidget* after = nullptr;
        if (dialog == QLatin1String("Aboutform"))
            after = &rig.program.forms->about();
        else if (dialog == QLatin1String("selectform"))
            after = &rig.program.forms->select();
        if (!after)
            return;
        const Kind own = kindOf(*after);
        QCOMPARE(own.type, Qt::Window);
        QCOMPARE(own.keptAbove, nullptr);
        QVERIFY(!own.minimiseOrMaximise);
        QVERIFY(own.closeButton);
    }

    // The same box opened again is the same dialog again.
    void aDialogOpenedTwiceBelongsToTheGameWindowEachTime() {
        GameRig rig(GameRig::withoutMusic({}), GameRig::Library::Fixture);
        mainform& game = rig.open("learnshapes");
        QVERIFY(QTest::qWaitForWindowExposed(&game));
        Aboutform& about = rig.program.forms->about();
        for (int time = 0; time < 2; ++time) {
            Kind open;
            whenDialogOpens([&] {
                open = kindOf(about);
                about.close();
            });
            game.aboutmenu_click();
            QCOMPARE(open.type, Qt::Dialog);
            QCOMPARE(open.keptAbove, game.windowHandle());
        }
    }

    // Filling the screen, the program's first window is the backdrop's
    // dialog, kept above it; once the game window has filled the screen, the
    // selection screen is a window of its own again, whose New is the game
    // window's dialog.
    void theFirstWindowBelongsToTheBackdrop_data() {
        QTest::addColumn<bool>("firstRun");
        QTest::newRow("selection screen") << false;
        QTest::newRow("first-run About box, then the selection screen") << true;
    }
    void theFirstWindowBelongsToTheBackdrop() {
        QFETCH(bool, firstRun);
        GameRig rig(GameRig::withoutMusic({}), GameRig::Library::Fixture);
        TestProgram& program = rig.program;
        if (firstRun)
            program.storeText(QStringLiteral("runonce"), QStringLiteral("False"));
        StartOptions options;
        options.fullScreen = true;
        program.startWith(options);
        startprogram(*program.forms);
        QWidget* behind = backdrop();
        QVERIFY(behind && behind->isVisible());
        Aboutform& about = program.forms->about();
        selectform& screen = program.forms->select();
        if (firstRun) {
            QVERIFY(about.isVisible());
            QCOMPARE(kindOf(about).type, Qt::Dialog);
            QCOMPARE(kindOf(about).keptAbove, behind->windowHandle());
            QTest::mouseClick(about.okaybut, Qt::LeftButton);
            // The box it was is its own window again.
            QCOMPARE(kindOf(about).type, Qt::Window);
            QCOMPARE(kindOf(about).keptAbove, nullptr);
        }
        QVERIFY(screen.isVisible());
        QCOMPARE(kindOf(screen).type, Qt::Dialog);
        QCOMPARE(kindOf(screen).keptAbove, behind->windowHandle());
        QVERIFY(!kindOf(screen).minimiseOrMaximise);

        QTest::mouseClick(screen.playcbut, Qt::LeftButton);
        mainform& game = rig.game();
        QVERIFY(game.isFullScreen());
        QVERIFY(!behind->isVisible());
        QCOMPARE(kindOf(screen).type, Qt::Window);
        QCOMPARE(kindOf(screen).keptAbove, nullptr);

        Kind asNew;
        whenDialogOpens([&] {
            asNew = kindOf(screen);
            screen.close();
        });
        game.newmenu_click();
        QCOMPARE(asNew.type, Qt::Dialog);
        QCOMPARE(asNew.keptAbove, game.windowHandle());
    }
};

QTEST_MAIN(TestDialogWindows)
#include "test_dialogwindows.moc"
