// What a screen reader is told, through the toolkit's accessibility
// interfaces of the real windows: every window's role and name, every
// control's role, name and description, the lists labelled by their
// captions, the pictures named after what they show, and no decoration in
// the tree.
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QTabBar>
#include <QtTest>

#include "catalogue/tables.h"
#include "pictures/transitionpicture.h"
#include "support/gamerig.h"
#include "timing/clock.h"
#include "ui/about/aboutform.h"
#include "ui/accessibility.h"
#include "ui/mainform/mainform.h"
#include "ui/options/options.h"
#include "ui/options/tabcontrol.h"
#include "ui/picturebutton.h"
#include "ui/selectform/selectform.h"

using namespace qv;
using qvtest::GameRig;
using qvtest::TestProgram;
using qvtest::whenDialogOpens;

namespace {

QAccessibleInterface* accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

QString nameOf(QObject* object) {
    return accessible(object)->text(QAccessible::Name);
}

// Every interface below root, depth first.
QList<QAccessibleInterface*> tree(QAccessibleInterface* root) {
    QList<QAccessibleInterface*> all;
    for (int k = 0; k < root->childCount(); ++k) {
        QAccessibleInterface* child = root->child(k);
        if (!child)
            continue;
        all << child << tree(child);
    }
    return all;
}

// The roles a person acts on or reads: each must have a name.
bool isNamedRole(QAccessible::Role role) {
    switch (role) {
        case QAccessible::Button:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::ComboBox:
        case QAccessible::PageTab:
        case QAccessible::Grouping:
        case QAccessible::Pane:
        case QAccessible::Dialog:
        case QAccessible::Window:
        case QAccessible::MenuItem:
            return true;
        default:
            return false;
    }
}

// A move of the focus as a screen reader hears of it: the control that
// gains the focus or, when the focus goes to nothing, the one that loses it
// (the toolkit reports that one as focused once more). Its name, and whether
// it is enabled ("push button grayed" when not).
struct FocusHeard {
    QString object;
    QString name;
    bool enabled = false;
};

FocusHeard heardOf(QWidget* old, QWidget* now) {
    QWidget* told = now ? now : old;
    if (!told)
        return {};
    return {told->objectName(), accessible(told)->text(QAccessible::Name), told->isEnabled()};
}

// The windows a screen reader meets, each shown as the program shows it.
struct Windows {
    GameRig rig{GameRig::withoutMusic({})};
    std::unique_ptr<options> dialog;

    QWidget* open(const QString& which) {
        Forms& forms = *rig.program.forms;
        QWidget* window = nullptr;
        if (which == QLatin1String("selection")) {
            forms.select().showAsWindow();
            window = &forms.select();
        } else if (which == QLatin1String("game")) {
            window = &rig.open(QStringLiteral("playcolors"));
            rig.program.clock.advance(8000);
        } else if (which == QLatin1String("about")) {
            forms.about().showAsWindow();
            window = &forms.about();
        } else {
            dialog = std::make_unique<options>(forms);
            dialog->show();
            window = dialog.get();
        }
        return QTest::qWaitForWindowExposed(window) ? window : nullptr;
    }
};

}  // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void windowsAreNamedWithTheirRoles_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::newRow("selection screen")
            << "selection" << int(QAccessible::Window) << "Quorvel Learning Selection";
        QTest::newRow("game window")
            << "game" << int(QAccessible::Window) << "Learn Colors and Shapes";
        QTest::newRow("About box") << "about" << int(QAccessible::Dialog) << "About";
        QTest::newRow("options") << "options" << int(QAccessible::Dialog) << "Options";
    }
    void windowsAreNamedWithTheirRoles() {
        QFETCH(QString, window);
        QFETCH(int, role);
        QFETCH(QString, name);
        Windows windows;
        QWidget* shown = windows.open(window);
        QVERIFY(shown);
        QAccessibleInterface* iface = accessible(shown);
        QCOMPARE(int(iface->role()), role);
        QCOMPARE(iface->text(QAccessible::Name), name);
        // The application lists it among its windows.
        QAccessibleInterface* application = accessible(qApp);
        bool listed = false;
        for (int k = 0; k < application->childCount(); ++k)
            listed = listed || application->child(k)->object() == shown;
        QVERIFY(listed);
    }

    // Shown by the game window's New menu, the selection screen is a dialog;
    // on its own again, a window.
    void theNewDialogIsADialog() {
        GameRig rig(GameRig::withoutMusic({}), GameRig::Library::Fixture);
        mainform& game = rig.open("learncolors");
        selectform& screen = rig.program.forms->select();
        int roleWhileOpen = -1;
        // A screen reader that met the screen as a window keeps the role of
        // what it met: the dialog is a new object to it.
        const QAccessible::Id asWindow = QAccessible::uniqueId(accessible(&screen));
        QAccessible::Id asDialog = 0;
        whenDialogOpens([&] {
            roleWhileOpen = accessible(&screen)->role();
            asDialog = QAccessible::uniqueId(accessible(&screen));
            screen.close();
        });
        game.newmenu_click();
        QCOMPARE(roleWhileOpen, int(QAccessible::Dialog));
        QVERIFY(asDialog != asWindow);
        screen.showAsWindow();
        QCOMPARE(int(accessible(&screen)->role()), int(QAccessible::Window));
        QVERIFY(QAccessible::uniqueId(accessible(&screen)) != asDialog);
    }

    // On the way from the options dialog to any of its controls a screen
    // reader meets only named groups and pages, and layout it passes over
    // unnamed (no "layered pane").
    void nothingUnnamedStandsAboveAControl() {
        Windows windows;
        QWidget* shown = windows.open("options");
        QVERIFY(shown);
        int controls = 0;
        for (QWidget* control : shown->findChildren<QWidget*>()) {
            if (control->focusPolicy() == Qt::NoFocus || isDecorative(*control))
                continue;
            ++controls;
            for (QAccessibleInterface* up = accessible(control)->parent();
                 up && up->object() != shown; up = up->parent()) {
                const QString where = control->objectName() + " in " + up->object()->objectName();
                QVERIFY2(up->role() != QAccessible::LayeredPane, qPrintable(where));
                QVERIFY2(
                    up->role() == QAccessible::Client || !up->text(QAccessible::Name).isEmpty(),
                    qPrintable(where));
            }
        }
        QVERIFY(controls > 10);
    }

    // Control, role, name and description: buttons by what they say or do,
    // frames and pages by their titles, captions without their padding.
    void controlsAreNamed_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        const auto row = [](const char* window, const char* control, QAccessible::Role role,
                            const QString& name, const QString& description = QString()) {
            QTest::addRow("%s %s", window, control)
                << window << control << int(role) << name << description;
        };
        row("selection", "lcbut", QAccessible::Button, "Learn Colors",
            "Click this button to learn about different colors.");
        row("selection", "lsbut", QAccessible::Button, "Learn Shapes",
            "Click this button to learn about different shapes.");
        row("selection", "playcbut", QAccessible::Button, "Play Colors",
            "Click this button to play a game where you select different colors.");
        row("selection", "playshapes", QAccessible::Button, "Play Shapes");
        row("about", "okaybut", QAccessible::Button, "Okay", "Closes about box");
        row("about", "SSPanel1", QAccessible::StaticText, "Version " QUORVEL_VERSION);
        const QString saves = QStringLiteral("Saves changes.");
        for (const char* okay : {"okaybutglobal", "okayclose2", "okayclose3"})
            row("options", okay, QAccessible::Button, "Okay, save options", saves);
        row("options", "SSFrame1", QAccessible::Grouping, "Background Options");
        row("options", "SSFrame4", QAccessible::Grouping, "Shapes to Use");
        row("options", "SSFrame6", QAccessible::Grouping, "Music");
        row("options", "SSFrame2", QAccessible::Grouping, "Color and Shape Options");
        row("options", "SSFrame5", QAccessible::Grouping, "Change Shapes");
        row("options", "SSFrame3", QAccessible::Grouping, "Special Effects Options");
        row("options", "SSFrame9", QAccessible::Grouping, "Repeat Question");
        row("options", "changebackcheck", QAccessible::CheckBox, "Change Background",
            "Specifies if the background changes.");
        row("options", "standardopt", QAccessible::RadioButton, "Standard",
            "Uses standard color shapes");
        row("options", "plasticopt", QAccessible::RadioButton, "Plastic",
            "Uses plastic color shapes");
        row("options", "playmusiccheck", QAccessible::CheckBox, "Play Background Music",
            "Allow music to play");
        row("options", "timeropt", QAccessible::RadioButton, "Timer",
            "Allow the timer to change the objects.");
        row("options", "keyboardopt", QAccessible::RadioButton, "Keyboard",
            "Allow the user to cycle through the objects.");
        row("options", "repeatoption", QAccessible::CheckBox, "Repeat",
            "If checked the question will be repeated after a long pause.");
        row("options", "SSPanel3", QAccessible::StaticText, "Repeat Object",
            "The lower the value more it changes.");
        row("options", "SSPanel1", QAccessible::StaticText, "Special Effects",
            "The lower the value the faster the effect.");
        row("options", "changelabel", QAccessible::StaticText, "Change Background after",
            "The lower the value more it changes.");
        row("options", "globalpage", QAccessible::Pane, "Global Options");
        row("options", "learnpage", QAccessible::Pane, "Learn Options");
        row("options", "playpage", QAccessible::Pane, "Play Options");
    }
    void controlsAreNamed() {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(QString, description);
        Windows windows;
        QWidget* shown = windows.open(window);
        QVERIFY(shown);
        auto* widget = shown->findChild<QWidget*>(control);
        QVERIFY(widget);
        QAccessibleInterface* iface = accessible(widget);
        QCOMPARE(int(iface->role()), role);
        QCOMPARE(iface->text(QAccessible::Name), name);
        QCOMPARE(iface->text(QAccessible::Description), description);
    }

    // The tabs are named as they read, and the one on top is selected.
    void theTabsAreNamed() {
        Windows windows;
        QVERIFY(windows.open("options"));
        QAccessibleInterface* tabs = accessible(windows.dialog->vaTabPro1->tabBar());
        QCOMPARE(tabs->role(), QAccessible::PageTabList);
        QStringList names;
        for (int k = 0; k < tabs->childCount(); ++k) {
            QAccessibleInterface* tab = tabs->child(k);
            if (tab->role() == QAccessible::PageTab)
                names << tab->text(QAccessible::Name);
        }
        QCOMPARE(names, QStringList({"Global Options", "Learn Options", "Play Options"}));
    }

    // A list's value is the entry it shows, and it reads as the eye reads
    // it: its caption's words before it label it, and the words after it
    // (after the gap of blanks that makes room for it, or the label right of
    // it) follow the entry in its name.
    void listsAreLabelledByTheirCaptions_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("shows");
        QTest::addColumn<QString>("name");
        QTest::newRow("backlistcount") << "backlistcount"
                                       << "Change Background after"
                                       << "5"
                                       << "5 Pictures.";
        QTest::newRow("repeatobj") << "repeatobj"
                                   << "Repeat Object"
                                   << "1"
                                   << "1 Times";
        QTest::newRow("fxspeedlist") << "fxspeedlist"
                                     << "Special Effects"
                                     << "10"
                                     << "10";
        QTest::newRow("Playfxspeedlist") << "Playfxspeedlist"
                                         << "Special Effects"
                                         << "10"
                                         << "10";
    }
    void listsAreLabelledByTheirCaptions() {
        QFETCH(QString, list);
        QFETCH(QString, label);
        QFETCH(QString, shows);
        QFETCH(QString, name);
        Windows windows;
        QVERIFY(windows.open("options"));
        auto* combo = windows.dialog->findChild<QComboBox*>(list);
        QVERIFY(combo);
        QAccessibleInterface* iface = accessible(combo);
        QCOMPARE(iface->role(), QAccessible::ComboBox);
        QCOMPARE(iface->text(QAccessible::Name), name);
        QCOMPARE(iface->text(QAccessible::Value), shows);
        QStringList labels;
        for (const auto& [other, relation] : iface->relations(QAccessible::Label))
            labels << other->text(QAccessible::Name);
        QCOMPARE(labels, QStringList{label});
        // And the caption says whom it labels.
        QAccessibleInterface* caption = accessible(combo->parentWidget());
        bool labels_list = false;
        for (const auto& [other, relation] : caption->relations(QAccessible::Labelled))
            labels_list = labels_list || other->object() == combo;
        QVERIFY(labels_list);
        // The entries are its child, and it opens by its action.
        QCOMPARE(iface->childCount(), 1);
        QVERIFY(iface->state().collapsed);
        QVERIFY(iface->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::showMenuAction()));
    }

    // Every window's tree: no decoration in it; every control that takes the
    // focus in it; every control a person acts on or reads named.
    void everyControlIsInTheTreeAndNamed_data() {
        QTest::addColumn<QString>("window");
        QTest::newRow("selection screen") << "selection";
        QTest::newRow("game window") << "game";
        QTest::newRow("About box") << "about";
        QTest::newRow("options") << "options";
    }
    void everyControlIsInTheTreeAndNamed() {
        QFETCH(QString, window);
        Windows windows;
        QWidget* shown = windows.open(window);
        QVERIFY(shown);
        if (window == QLatin1String("game"))
            windows.rig.answers()[0]->setFocus();  // the ring's owner is in the tree too
        const QList<QAccessibleInterface*> all = tree(accessible(shown));
        QSet<QObject*> objects;
        int decorations = 0;
        for (QAccessibleInterface* iface : all) {
            objects << iface->object();
            auto* widget = qobject_cast<QWidget*>(iface->object());
            if (widget)
                QVERIFY2(!isDecorative(*widget), qPrintable(widget->objectName()));
            if (isNamedRole(iface->role()) && iface->text(QAccessible::Name).isEmpty())
                QFAIL(qPrintable(QStringLiteral("a %1 without a name: %2")
                                     .arg(int(iface->role()))
                                     .arg(iface->object() ? iface->object()->objectName()
                                                          : QStringLiteral("(no object)"))));
        }
        for (QWidget* widget : shown->findChildren<QWidget*>()) {
            if (isDecorative(*widget))
                ++decorations;
            if (widget->focusPolicy() != Qt::NoFocus && widget->isVisibleTo(shown) &&
                !widget->isWindow())
                QVERIFY2(objects.contains(widget), qPrintable(widget->objectName()));
        }
        // Each window has something to leave out: a background, a focus ring.
        QVERIFY(decorations > 0);
    }

    // The answer pictures are buttons named after what they show, once the
    // question is built; empty, they have no name.
    void answerPicturesAreNamedAfterWhatTheyShow_data() {
        QTest::addColumn<QString>("activity");
        QTest::newRow("play colors") << "playcolors";
        QTest::newRow("play shapes") << "playshapes";
    }
    void answerPicturesAreNamedAfterWhatTheyShow() {
        QFETCH(QString, activity);
        GameRig rig(GameRig::withoutMusic({}), GameRig::Library::Fixture);
        mainform& game = rig.open(activity);
        for (TransitionPicture* picture : rig.answers()) {
            QCOMPARE(accessible(picture)->role(), QAccessible::Button);
            QCOMPARE(nameOf(picture), QString());
        }
        rig.program.clock.advance(8000);
        const auto answers = rig.answers();
        QStringList names;
        for (size_t k = 0; k < answers.size(); ++k) {
            const QString expected =
                game.picturecolors[k] + ' ' +
                kShapeWords[size_t(std::distance(
                    kShapeStems.begin(),
                    std::find(kShapeStems.begin(), kShapeStems.end(), game.pictureshapes[k])))];
            QCOMPARE(nameOf(answers[k]), expected);
            auto* image = accessible(answers[k])->imageInterface();
            QVERIFY(image);
            QCOMPARE(image->imageDescription(), expected);
            QCOMPARE(image->imageSize(), answers[k]->pictureArea().size());
            names << expected;
        }
        // Four different answers, as the question has them.
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 4);

        // A right answer: the picture is now the reward; the next question
        // renames all four.
        const int right = game.rightpicture;
        TransitionPicture* picture = answers[size_t(right)];
        QTest::mouseClick(picture, Qt::LeftButton, {}, picture->pictureArea().center());
        rig.program.clock.advance(8000);
        for (size_t k = 0; k < answers.size(); ++k)
            QCOMPARE(nameOf(answers[k]),
                     pictureWords(game.picturecolors[k], game.pictureshapes[k]));

        // New takes them away: no names.
        whenDialogOpens([&] { rig.program.forms->select().close(); });
        game.newmenu_click();
        for (TransitionPicture* answer : answers)
            QCOMPARE(nameOf(answer), QString());
    }

    void theRewardPictureIsNamed() {
        GameRig rig(GameRig::withoutMusic({}), GameRig::Library::Fixture);
        mainform& game = rig.open("playcolors");
        rig.program.clock.advance(8000);
        const int right = game.rightpicture;
        QString nameDuringPraise;
        // The reward is painted while the window lets its pending events run:
        // its name is read then.
        QMetaObject::invokeMethod(
            &game, [&] { nameDuringPraise = nameOf(rig.answers()[size_t(right)]); },
            Qt::QueuedConnection);
        game.pickedpicture = qint16(right);
        game.checkcolorcorrect();
        QCOMPARE(nameDuringPraise, QStringLiteral("reward picture"));
    }

    // Through two right answers by keyboard a screen reader hears of the
    // focus on named, enabled controls only: never on a grey or nameless
    // picture, never walking through the pictures as they are taken away;
    // the focus rests on the window meanwhile, and comes back to the picture
    // that had it, under its new name, once the next question is open.
    void theFocusRestsWhileTheNextQuestionComesIn() {
        GameRig rig(GameRig::withoutMusic({}), GameRig::Library::Fixture);
        mainform& game = rig.open("playcolors");
        QVERIFY(QTest::qWaitForWindowActive(&game));
        rig.program.clock.advance(8000);
        QList<FocusHeard> heard;
        // Listens for as long as this test runs, however it ends.
        QObject listener;
        QObject::connect(qApp, &QApplication::focusChanged, &listener,
                         [&heard](QWidget* old, QWidget* now) { heard << heardOf(old, now); });
        const auto answers = rig.answers();
        const auto focused = [&] {
            for (size_t k = 0; k < answers.size(); ++k)
                if (answers[k]->hasFocus())
                    return int(k);
            return -1;
        };
        for (int answer = 0; answer < 2; ++answer) {
            const int right = game.rightpicture;
            for (int tabs = 0; tabs < 4 && focused() != right; ++tabs)
                QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &game,
                                Qt::Key_Tab);
            QCOMPARE(focused(), right);
            heard.clear();
            QTest::keyClick(answers[size_t(right)], Qt::Key_Space);
            QCOMPARE(game.pickedpicture, qint16(right));
            rig.program.clock.advance(4 * TransitionPicture::durationMs(10) + 500);
            QVERIFY(game.image3->isEnabled());
            QStringList report;
            for (const FocusHeard& f : heard)
                report << QStringLiteral("%1 \"%2\"%3")
                              .arg(f.object, f.name, f.enabled ? "" : " grayed");
            const QString said = report.join(QStringLiteral(", "));
            for (const FocusHeard& f : heard)
                QVERIFY2(f.enabled && !f.name.isEmpty(), qPrintable(said));
            QVERIFY2(heard.size() <= 2, qPrintable(said));
            QCOMPARE(heard.first().object, game.objectName());
            QVERIFY2(!heard.isEmpty(), qPrintable(said));
            QCOMPARE(heard.last().object, answers[size_t(right)]->objectName());
            QCOMPARE(heard.last().name, pictureWords(game.picturecolors[size_t(right)],
                                                     game.pictureshapes[size_t(right)]));
            QCOMPARE(focused(), right);
        }
    }

    // The learn picture is a picture named after what it shows, renamed with
    // every new picture.
    void theLearnPictureIsNamedAfterWhatItShows_data() {
        QTest::addColumn<QString>("activity");
        QTest::newRow("learn colors") << "learncolors";
        QTest::newRow("learn shapes") << "learnshapes";
    }
    void theLearnPictureIsNamedAfterWhatItShows() {
        QFETCH(QString, activity);
        GameRig rig(GameRig::withoutMusic({}), GameRig::Library::Fixture);
        mainform& game = rig.open(activity);
        QAccessibleInterface* iface = accessible(game.Learnimage);
        QCOMPARE(iface->role(), QAccessible::Graphic);
        QCOMPARE(iface->text(QAccessible::Name), QString());
        QStringList seen;
        for (int picture = 0; picture < 3; ++picture) {
            rig.program.clock.advance(3600);
            const QString name = iface->text(QAccessible::Name);
            QCOMPARE(name, pictureWords(game.pick.currentcolor, game.pick.currentshape));
            seen << name;
        }
        QVERIFY(!seen.first().isEmpty());
        // The taught colour or shape moves on with every picture.
        QCOMPARE(QSet<QString>(seen.begin(), seen.end()).size(), 3);
    }

    // A screen reader's "press" on an answer picture is a click on it: it is
    // judged as one, and offered only while the picture takes clicks.
    void pressingAnAnswerPictureIsAClick() {
        GameRig rig(GameRig::withoutMusic({}), GameRig::Library::Fixture);
        mainform& game = rig.open("playshapes");
        rig.program.clock.advance(5100);
        const QString press = QAccessibleActionInterface::pressAction();
        QAccessibleActionInterface* action = accessible(game.image3)->actionInterface();
        QVERIFY(action);
        QVERIFY(!action->actionNames().contains(press));
        rig.program.clock.advance(3000);
        QVERIFY(action->actionNames().contains(press));
        game.pickedpicture = -1;
        action->doAction(press);
        QCOMPARE(game.pickedpicture, qint16(-1));  // queued, as a click is
        QCoreApplication::sendPostedEvents();
        QCOMPARE(game.pickedpicture, qint16(3));
        QVERIFY(!rig.heard("answerplay").isEmpty());
    }
};

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
