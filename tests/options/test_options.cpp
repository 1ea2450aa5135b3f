// The options dialog and the game window's Options menu.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabBar>
#include <QXmlStreamReader>
#include <QtTest>

#include "pictures/transitionpicture.h"
#include "sound/soundplayer.h"
#include "support/gamerig.h"
#include "timing/timer.h"
#include "ui/accessibility.h"
#include "ui/focusframe.h"
#include "ui/mainform/mainform.h"
#include "ui/options/options.h"
#include "ui/options/panel.h"
#include "ui/options/tabcontrol.h"
#include "ui/options/titledframe.h"
#include "ui/selectform/selectform.h"

using namespace qv;
using qvtest::GameRig;
using qvtest::TestProgram;
using qvtest::whenDialogOpens;

namespace {

using Texts = QMap<QString, QString>;

const QStringList kEveryKey{"runonce",        "changebackground",    "backchange",
                            "shapedirectory", "playmusic",           "sameobject",
                            "howmanytimes",   "howtochangepictures", "fxspeed",
                            "playsameobj",    "repeatquestion",      "fxplayspeed"};

// The store's twelve texts after the first run.
Texts defaultTexts() {
    Texts texts;
    for (const auto& key : kSettingKeys)
        texts[QString::fromLatin1(key.key)] = QString::fromLatin1(key.defaultText);
    return texts;
}

Texts storedTexts(const TestProgram& program) {
    Texts texts;
    for (const QString& key : kEveryKey)
        texts[key] = program.storedText(key);
    return texts;
}

QString entries(const QComboBox* list) {
    QStringList texts;
    for (int k = 0; k < list->count(); ++k)
        texts << list->itemText(k);
    return list->currentText() + " of " + texts.join(',');
}

// What the dialog shows, one line a setting.
QStringList shown(const options& dialog) {
    const auto check = [](const QCheckBox* box) { return box->isChecked() ? "on" : "off"; };
    return {
        QStringLiteral("changebackcheck %1").arg(check(dialog.changebackcheck)),
        QStringLiteral("dependants %1")
            .arg(dialog.changelabel->isEnabled() && dialog.backlistcount->isEnabled() &&
                         dialog.piclabel->isEnabled()
                     ? "enabled"
                 : !dialog.changelabel->isEnabled() && !dialog.backlistcount->isEnabled() &&
                         !dialog.piclabel->isEnabled()
                     ? "disabled"
                     : "mixed"),
        "backlistcount " + entries(dialog.backlistcount),
        QStringLiteral("shapes %1")
            .arg(dialog.standardopt->isChecked() == dialog.plasticopt->isChecked() ? "both"
                 : dialog.standardopt->isChecked()                                 ? "standard"
                                                                                   : "plastic"),
        QStringLiteral("playmusiccheck %1").arg(check(dialog.playmusiccheck)),
        QStringLiteral("usesamecheck %1").arg(check(dialog.usesamecheck)),
        "repeatobj " + entries(dialog.repeatobj),
        QStringLiteral("change %1")
            .arg(dialog.timeropt->isChecked() == dialog.keyboardopt->isChecked() ? "both"
                 : dialog.timeropt->isChecked()                                  ? "timer"
                                                                                 : "keyboard"),
        "fxspeedlist " + entries(dialog.fxspeedlist),
        QStringLiteral("playusessameobject %1").arg(check(dialog.playusessameobject)),
        QStringLiteral("repeatoption %1").arg(check(dialog.repeatoption)),
        "Playfxspeedlist " + entries(dialog.Playfxspeedlist),
    };
}

const QStringList kShownByDefault{
    "changebackcheck on",
    "dependants enabled",
    "backlistcount 5 of 1,5,10,15,20,25,30",
    "shapes standard",
    "playmusiccheck on",
    "usesamecheck off",
    "repeatobj 1 of 1,2,3,4,5,6,7,8",
    "change timer",
    "fxspeedlist 10 of 1,5,10,15,20,25,30,35,40",
    "playusessameobject off",
    "repeatoption on",
    "Playfxspeedlist 10 of 1,5,10,15,20,25,30,35,40",
};

// The lines of kShownByDefault, with those that start like a changed line replaced.
QStringList shownWith(const QStringList& changed) {
    QStringList lines = kShownByDefault;
    for (const QString& change : changed)
        for (QString& line : lines)
            if (line.section(' ', 0, 0) == change.section(' ', 0, 0))
                line = change;
    return lines;
}

// Brings the page that holds control to the front, by its tab, as a user would.
void showPageOf(options& dialog, QWidget* control) {
    TabControl* tabs = dialog.vaTabPro1;
    for (int index = 0; index < tabs->count(); ++index) {
        if (!tabs->page(index)->isAncestorOf(control))
            continue;
        QTabBar* bar = tabs->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        QCOMPARE(tabs->currentIndex(), index);
    }
}

// "name" clicks a box or an option button; "name=value" picks a list entry.
void change(options& dialog, const QString& what) {
    const QString name = what.section('=', 0, 0);
    auto* control = dialog.findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(name));
    showPageOf(dialog, control);
    if (auto* list = qobject_cast<QComboBox*>(control)) {
        const int index = list->findText(what.section('=', 1));
        QVERIFY2(index >= 0, qPrintable(what));
        list->setCurrentIndex(index);
    } else {
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(8, control->height() / 2));
    }
}

options* openOptions() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<options*>(w); dialog && dialog->isVisible())
            return dialog;
    return nullptr;
}

int optionsAlive() {
    int alive = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        alive += qobject_cast<options*>(w) ? 1 : 0;
    return alive;
}

QList<TransitionPicture*> pictures(mainform& game) {
    return {game.Learnimage, game.image0, game.Image1, game.image2, game.image3};
}

void damageStore(TestProgram& program) {
    QFile file(program.store.fileFor(kApplicationName));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("[colors]\nfxspeed=\0\n", 19));
}

QString captionOf(const QWidget* w) {
    if (auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text();
    if (auto* frame = qobject_cast<const TitledFrame*>(w))
        return frame->title();
    if (auto* label = qobject_cast<const QLabel*>(w))
        return label->text();
    return {};
}

// A caption as its window shows it: without the access key's mark, and the
// run of blanks that leaves room for a list read as an ellipsis.
QString shownCaption(QString caption) {
    static const QRegularExpression gap(QStringLiteral(" {2,}"));
    return caption.remove('&').trimmed().replace(gap, QStringLiteral(" \u2026 "));
}

void addMenuCaptions(const QList<QAction*>& actions, QStringList& captions) {
    for (const QAction* action : actions) {
        if (action->isSeparator() || !action->isVisible())
            continue;
        captions << shownCaption(action->text());
        if (action->menu())
            addMenuCaptions(action->menu()->actions(), captions);
    }
}

// Every caption of the options dialog and of the menus, as shown.
QStringList shownCaptions(TestProgram& program) {
    QStringList captions;
    options dialog(*program.forms);
    for (const QWidget* control : dialog.findChildren<QWidget*>())
        if (const QString caption = captionOf(control); !caption.isEmpty())
            captions << shownCaption(caption);
    for (int k = 0; k < dialog.vaTabPro1->count(); ++k)
        captions << shownCaption(dialog.vaTabPro1->tabBar()->tabText(k));
    addMenuCaptions(program.forms->game().menuBar()->actions(), captions);
    addMenuCaptions(program.forms->select().menuBar()->actions(), captions);
    captions.removeDuplicates();
    return captions;
}

// What the help page marks as a control's caption (class "caption").
QStringList captionsNamedInHelpPage() {
    QFile page(QStringLiteral(QUORVEL_PROGRAM_DIR "/help/colorhelp.htm"));
    if (!page.open(QIODevice::ReadOnly))
        return {};
    QStringList named;
    QXmlStreamReader xml(&page);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement &&
            xml.attributes().value(QLatin1String("class")) == QLatin1String("caption"))
            named << xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
    }
    if (xml.hasError())
        qWarning("help page, line %lld: %s", xml.lineNumber(), qPrintable(xml.errorString()));
    return named;
}

}  // namespace

class TestOptions : public QObject {
    Q_OBJECT

private slots:
    void theWindow() {
        TestProgram program;
        program.useSettings({});
        options dialog(*program.forms);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Options "));
        QCOMPARE(dialog.size(), QSize(520, 411));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        const Qt::WindowFlags flags = dialog.windowFlags();
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!dialog.windowIcon().isNull());

        TabControl* tabs = dialog.vaTabPro1;
        QCOMPARE(tabs->geometry(), QRect(0, -2, 522, 415));
        QCOMPARE(tabs->toolTip(), QStringLiteral("Saves changes."));
        QStringList captions;
        for (int k = 0; k < tabs->tabBar()->count(); ++k)
            captions << tabs->tabBar()->tabText(k);
        QCOMPARE(captions, QStringList({"&Global Options", "&Learn Options", "&Play Options"}));
        QCOMPARE(tabs->tabBar()->font().pointSizeF(), 8.25);
        QCOMPARE(tabs->currentIndex(), 2);
        // Every page's top-left corner is 4 right of and 47 below the tab control's.
        for (int k = 0; k < 3; ++k)
            QCOMPARE(tabs->page(k)->mapTo(&dialog, QPoint(0, 0)), QPoint(4, 45));
        // The tabs stand above the page area and inside the control.
        const QRect bar = tabs->tabBar()->geometry();
        QVERIFY(bar.bottom() < 47 && bar.top() >= 0 && bar.right() < 522);
    }

    // The help page tells a parent where to click by the words on the screen.
    void helpPageNamesEveryCaption_data() {
        QTest::addColumn<QString>("caption");
        TestProgram program;
        program.useSettings({});
        for (const QString& caption : shownCaptions(program))
            QTest::newRow(qPrintable(caption)) << caption;
    }
    void helpPageNamesEveryCaption() {
        QFETCH(QString, caption);
        QVERIFY2(captionsNamedInHelpPage().contains(caption),
                 qPrintable("the help page never names \"" + caption + "\""));
    }

    void helpPageNamesOnlyCaptionsThatAreShown() {
        TestProgram program;
        program.useSettings({});
        const QStringList captions = shownCaptions(program);
        QVERIFY(captions.size() > 25);
        const QStringList named = captionsNamedInHelpPage();
        QVERIFY(!named.isEmpty());
        for (const QString& name : named)
            QVERIFY2(captions.contains(name),
                     qPrintable("the help page names \"" + name + "\", which no window shows"));
    }

    void controlsAtTheirPlaces_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("inside");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tooltip");
        const QString lower = "The lower the value more it changes.";
        const QString faster = "The lower the value the faster the effect.";
        const QString inforce = "Repeat object to inforce colors or shapes.";
        const QString saves = "Saves changes.";
        const auto row = [](const char* name, const char* inside, QRect geometry,
                            const QString& caption, const QString& tooltip) {
            QTest::newRow(name) << name << inside << geometry << caption << tooltip;
        };
        row("SSFrame1", "globalpage", {20, 11, 471, 87}, "Background Options", "");
        row("changebackcheck", "SSFrame1", {16, 35, 172, 24}, "&Change Background",
            "Specifies if the background changes.");
        row("changelabel", "SSFrame1", {232, 24, 209, 49}, "Change &Background after", lower);
        row("backlistcount", "changelabel", {17, 15, 48, 24}, "",
            "Specifies how much the background changes.");
        row("piclabel", "changelabel", {71, 22, 88, 17}, "Pictures.", "");
        row("SSFrame4", "globalpage", {20, 99, 471, 133}, "Shapes to Use", "");
        row("standardopt", "SSFrame4", {15, 19, 212, 95}, "&Standard",
            "Uses standard color shapes");
        // Its access key is not P, which takes the "Play Options" tab.
        row("plasticopt", "SSFrame4", {279, 18, 212, 95}, "Pl&astic", "Uses plastic color shapes");
        row("SSFrame6", "globalpage", {20, 235, 471, 54}, "Music", "");
        row("playmusiccheck", "SSFrame6", {16, 21, 210, 24}, "Play Background &Music",
            "Allow music to play");
        row("okaybutglobal", "globalpage", {404, 300, 86, 54}, "", saves);
        row("SSFrame2", "learnpage", {21, 24, 471, 87}, "Color and Shape Options", "");
        row("usesamecheck", "SSFrame2", {22, 36, 172, 24}, "&Use the Same Object", inforce);
        row("SSPanel3", "SSFrame2", {222, 29, 239, 38},
            " &Repeat Object" + QString(17, ' ') + "Times", lower);
        row("repeatobj", "SSPanel3", {110, 9, 61, 24}, "",
            "How many time to repeat the same color or shape.");
        row("SSFrame5", "learnpage", {21, 123, 471, 60}, "Change Shapes", "");
        row("timeropt", "SSFrame5", {25, 25, 93, 21}, "&Timer",
            "Allow the timer to change the objects.");
        row("keyboardopt", "SSFrame5", {338, 25, 93, 21}, "&Keyboard",
            "Allow the user to cycle through the objects.");
        row("SSFrame3", "learnpage", {22, 188, 470, 68}, "Special Effects Options", "");
        row("SSPanel1", "SSFrame3", {11, 27, 197, 30}, " &Special Effects ", faster);
        row("fxspeedlist", "SSPanel1", {120, 2, 61, 24}, "", faster);
        row("okayclose2", "learnpage", {404, 300, 86, 54}, "", saves);
        row("SSFrame7", "playpage", {16, 23, 471, 87}, "Color and Shape Options", "");
        row("playusessameobject", "SSFrame7", {22, 36, 172, 24}, "&Use the Same Object", inforce);
        row("SSFrame9", "playpage", {16, 122, 471, 87}, "Repeat Question", "");
        row("repeatoption", "SSFrame9", {22, 35, 172, 24}, "&Repeat",
            "If checked the question will be repeated after a long pause.");
        row("SSFrame8", "playpage", {16, 222, 470, 68}, "Special Effects Options", "");
        row("SSPanel2", "SSFrame8", {11, 27, 197, 30}, " &Special Effects ", faster);
        row("Playfxspeedlist", "SSPanel2", {120, 2, 61, 24}, "", faster);
        row("okayclose3", "playpage", {398, 300, 86, 54}, "", saves);
    }
    void controlsAtTheirPlaces() {
        QFETCH(QString, name);
        QFETCH(QString, inside);
        QFETCH(QRect, geometry);
        QFETCH(QString, caption);
        QFETCH(QString, tooltip);
        TestProgram program;
        program.useSettings({});
        options dialog(*program.forms);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* control = dialog.findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->parentWidget()->objectName(), inside);
        if (qobject_cast<QCheckBox*>(control) || qobject_cast<QRadioButton*>(control)) {
            // Wider only as far as its whole caption needs.
            QCOMPARE(control->pos(), geometry.topLeft());
            QCOMPARE(control->height(), geometry.height());
            QCOMPARE(control->width(), std::max(geometry.width(), control->sizeHint().width()));
        } else {
            QCOMPARE(control->geometry(), geometry);
        }
        QCOMPARE(captionOf(control), caption);
        QCOMPARE(control->toolTip(), tooltip);

        // Fonts and colours by kind; a caption shows whole.
        QFont font = control->font();
        if (auto* frame = qobject_cast<TitledFrame*>(control)) {
            QCOMPARE(font.pointSizeF(), 12.0);
            QVERIFY(font.bold());
            QVERIFY(frame->titleRect().right() < frame->width());
        } else if (auto* button = qobject_cast<QCheckBox*>(control);
                   button || qobject_cast<QRadioButton*>(control)) {
            QCOMPARE(font.pointSizeF(), 12.0);
            QVERIFY(!font.bold());
            QVERIFY2(control->sizeHint().width() <= control->width(), "caption cut off");
        } else if (qobject_cast<QComboBox*>(control)) {
            QCOMPARE(font.pointSizeF(), 9.75);
            QVERIFY(!font.bold());
            QCOMPARE(font.stretch(), 100);
            QCOMPARE(static_cast<QComboBox*>(control)->isEditable(), false);
        } else if (auto* label = qobject_cast<QLabel*>(control)) {
            QCOMPARE(font.pointSizeF(), 9.75);
            QVERIFY(font.bold());
            QCOMPARE(label->palette().color(QPalette::Active, QPalette::WindowText),
                     QColor(0, 0, 192));
            QCOMPARE(label->palette().color(QPalette::Window), QColor(192, 255, 255));
            QVERIFY(label->autoFillBackground());
            QString text = label->text().remove('&');
            const QFontMetrics metrics(font);
            QVERIFY2(metrics.horizontalAdvance(text) <= label->contentsRect().width(),
                     "caption cut off");
            // No word of a panel's caption hides under its list: with the list
            // out of the way, nothing of the caption is drawn where it stands.
            if (auto* list = label->findChild<QComboBox*>();
                list && label->alignment() & Qt::AlignVCenter) {
                QCOMPARE(label->buddy(), list);
                list->hide();
                const QImage drawn = label->grab().toImage();
                list->show();
                const QColor cyan(192, 255, 255);
                int covered = 0, beside = 0;
                for (int y = list->y(); y <= list->geometry().bottom(); ++y)
                    for (int x = 1; x < drawn.width() - 1; ++x) {
                        const bool ink = drawn.pixelColor(x, y) != cyan;
                        if (x >= list->x() && x <= list->geometry().right())
                            covered += ink ? 1 : 0;
                        else
                            beside += ink ? 1 : 0;
                    }
                QCOMPARE(covered, 0);
                QVERIFY(beside > 0);
            }
        } else if (auto* okay = qobject_cast<QPushButton*>(control)) {
            QCOMPARE(okay->iconSize(), QSize(80, 48));
            QVERIFY(!okay->icon().isNull());
            QCOMPARE(okay->palette().color(QPalette::Button), QColor(255, 192, 192));
        }
    }

    // Every check box and option button shows its whole caption in its own
    // font, unnarrowed, on a scaled screen too (test_options_scaled runs this
    // at 200 %, where a caption measures a little wider): it takes the room
    // beside it, and stays clear of the next control by more than the focus
    // ring's width.
    void captionsShowWholeInTheirOwnFont() {
        TestProgram program;
        program.useSettings({});
        options dialog(*program.forms);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        int buttons = 0;
        for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
            if (!qobject_cast<QCheckBox*>(button) && !qobject_cast<QRadioButton*>(button))
                continue;
            ++buttons;
            const QString name = button->objectName();
            QVERIFY2(
                button->font().stretch() == QFont::Unstretched,
                qPrintable(
                    QStringLiteral("%1 narrowed to %2 %").arg(name).arg(button->font().stretch())));
            QVERIFY2(button->sizeHint().width() <= button->width(), qPrintable(name));
            const QRect ringed =
                button->geometry().adjusted(-FocusFrame::kThickness, 0, FocusFrame::kThickness, 0);
            for (QWidget* other : button->parentWidget()->findChildren<QWidget*>(
                     QString(), Qt::FindDirectChildrenOnly)) {
                if (other != button && !other->isWindow() && !isDecorative(*other))
                    QVERIFY2(!other->geometry().intersects(ringed),
                             qPrintable(name + " meets " + other->objectName()));
            }
        }
        QCOMPARE(buttons, 9);
    }

    void decoration() {
        TestProgram program;
        program.useSettings({});
        options dialog(*program.forms);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        // The first frame's title stands on yellow, the others on the page.
        const QImage frame = dialog.SSFrame1->grab().toImage();
        QCOMPARE(frame.pixelColor(dialog.SSFrame1->titleRect().topLeft() + QPoint(1, 1)),
                 QColor(255, 255, 0));
        const QImage other = dialog.SSFrame7->grab().toImage();
        QVERIFY(other.pixelColor(dialog.SSFrame7->titleRect().topLeft() + QPoint(1, 1)) !=
                QColor(255, 255, 0));
        // Two different hearts on the shape choices.
        const QImage standard = dialog.standardopt->icon().pixmap(90).toImage();
        const QImage plastic = dialog.plasticopt->icon().pixmap(90).toImage();
        QVERIFY(!standard.isNull() && !plastic.isNull());
        QVERIFY(standard != plastic);
        // The page area shows the gradient: pale at the top, dark green at the bottom.
        const QImage tabs = dialog.vaTabPro1->grab().toImage();
        const QRect area = dialog.vaTabPro1->pageArea();
        const QColor top = tabs.pixelColor(area.left() + 2, area.top() + 2);
        const QColor bottom = tabs.pixelColor(area.left() + 2, area.bottom() - 2);
        QVERIFY(top.lightness() > 200);
        QVERIFY(bottom.green() > bottom.red() && bottom.lightness() < 100);
    }

    void tabOrder() {
        TestProgram program;
        program.useSettings({});
        options dialog(*program.forms);
        const QList<QWidget*> order{
            dialog.changebackcheck,    dialog.backlistcount,  dialog.standardopt,
            dialog.plasticopt,         dialog.playmusiccheck, dialog.okaybutglobal,
            dialog.usesamecheck,       dialog.repeatobj,      dialog.timeropt,
            dialog.keyboardopt,        dialog.fxspeedlist,    dialog.okayclose2,
            dialog.playusessameobject, dialog.repeatoption,   dialog.Playfxspeedlist,
            dialog.okayclose3};
        QList<QWidget*> chain;
        QWidget* w = dialog.changebackcheck;
        do {
            if (order.contains(w))
                chain << w;
            w = w->nextInFocusChain();
        } while (w != dialog.changebackcheck);
        QCOMPARE(chain, order);

        // On screen the focus goes round the page that is shown.
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(QApplication::focusWidget(), dialog.playusessameobject);
        QStringList visited;
        for (int k = 0; k < 5; ++k) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, QStringList({"repeatoption", "Playfxspeedlist", "okayclose3", "tabs",
                                       "playusessameobject"}));
    }

    void accessKeys() {
        TestProgram program;
        program.useSettings({});
        options dialog(*program.forms);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(&dialog, Qt::Key_G, Qt::AltModifier);
        QCOMPARE(dialog.vaTabPro1->currentIndex(), 0);
        // A panel's key goes to its list.
        QTest::keyClick(&dialog, Qt::Key_B, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), dialog.backlistcount);
        // A button's key presses it visibly, then clicks it.
        QTest::keyClick(&dialog, Qt::Key_C, Qt::AltModifier);
        QTRY_VERIFY(!dialog.changebackcheck->isChecked());
        QVERIFY(!dialog.backlistcount->isEnabled());
        QTest::keyClick(&dialog, Qt::Key_L, Qt::AltModifier);
        QCOMPARE(dialog.vaTabPro1->currentIndex(), 1);
        QTest::keyClick(&dialog, Qt::Key_K, Qt::AltModifier);
        QTRY_VERIFY(dialog.keyboardopt->isChecked());
    }

    void openingState_data() {
        QTest::addColumn<Texts>("stored");
        QTest::addColumn<QStringList>("shownChanges");
        QTest::addColumn<Texts>("storedByOkay");
        QTest::newRow("defaults") << Texts{} << QStringList{} << Texts{};
        QTest::newRow("shape folder in capitals")
            << Texts{{"shapedirectory", "\\Shapes\\"}} << QStringList{"shapes plastic"}
            << Texts{{"shapedirectory", "\\shapes1\\"}};
        QTest::newRow("plastic shapes")
            << Texts{{"shapedirectory", "\\shapes1\\"}} << QStringList{"shapes plastic"}
            << Texts{{"shapedirectory", "\\shapes1\\"}};
        QTest::newRow("shape folder empty")
            << Texts{{"shapedirectory", ""}} << QStringList{"shapes plastic"}
            << Texts{{"shapedirectory", "\\shapes1\\"}};
        QTest::newRow("Timer in capitals")
            << Texts{{"howtochangepictures", "Timer"}} << QStringList{"change keyboard"}
            << Texts{{"howtochangepictures", "keyboard"}};
        QTest::newRow("some other way")
            << Texts{{"howtochangepictures", "mouse"}} << QStringList{"change keyboard"}
            << Texts{{"howtochangepictures", "keyboard"}};
        QTest::newRow("background stays")
            << Texts{{"changebackground", "False"}}
            << QStringList{"changebackcheck off", "dependants disabled"}
            << Texts{{"changebackground", "False"}};
        QTest::newRow("every box the other way")
            << Texts{{"playmusic", "False"},
                     {"sameobject", "True"},
                     {"playsameobj", "-1"},
                     {"repeatquestion", "0"}}
            << QStringList{"playmusiccheck off", "usesamecheck on", "playusessameobject on",
                           "repeatoption off"}
            << Texts{{"playmusic", "False"},
                     {"sameobject", "True"},
                     {"playsameobj", "True"},
                     {"repeatquestion", "False"}};
        QTest::newRow("list entries")
            << Texts{{"backchange", "30"},
                     {"howmanytimes", "8"},
                     {"fxspeed", "1"},
                     {"fxplayspeed", "40"}}
            << QStringList{"backlistcount 30 of 1,5,10,15,20,25,30",
                           "repeatobj 8 of 1,2,3,4,5,6,7,8",
                           "fxspeedlist 1 of 1,5,10,15,20,25,30,35,40",
                           "Playfxspeedlist 40 of 1,5,10,15,20,25,30,35,40"}
            << Texts{{"backchange", "30"},
                     {"howmanytimes", "8"},
                     {"fxspeed", "1"},
                     {"fxplayspeed", "40"}};
        // Values a hand-edited store may hold are shown in their place and kept.
        QTest::newRow("values not in the lists")
            << Texts{{"backchange", "7"},
                     {"howmanytimes", "0"},
                     {"fxspeed", "100"},
                     {"fxplayspeed", " -3 "}}
            << QStringList{"backlistcount 7 of 1,5,7,10,15,20,25,30",
                           "repeatobj 0 of 0,1,2,3,4,5,6,7,8",
                           "fxspeedlist 100 of 1,5,10,15,20,25,30,35,40,100",
                           "Playfxspeedlist -3 of -3,1,5,10,15,20,25,30,35,40"}
            << Texts{{"backchange", "7"},
                     {"howmanytimes", "0"},
                     {"fxspeed", "100"},
                     {"fxplayspeed", "-3"}};
    }
    void openingState() {
        QFETCH(Texts, stored);
        QFETCH(QStringList, shownChanges);
        QFETCH(Texts, storedByOkay);
        TestProgram program;
        program.useSettings(stored);
        options dialog(*program.forms);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(shown(dialog), shownWith(shownChanges));
        QCOMPARE(dialog.vaTabPro1->currentIndex(), 2);

        // OKAY without a change writes all twelve keys, runonce as it was.
        program.storeText("runonce", "False");
        program.module1.settings.runonce = false;
        QTest::mouseClick(dialog.okayclose3, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        Texts expected = defaultTexts();
        expected["runonce"] = "False";
        for (auto it = storedByOkay.begin(); it != storedByOkay.end(); ++it)
            expected[it.key()] = it.value();
        QCOMPARE(storedTexts(program), expected);
    }

    void everyOkayStoresEveryPage_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<Texts>("stored");
        QTest::newRow("global OKAY, learn and play changed")
            << "okaybutglobal"
            << QStringList{"usesamecheck",     "repeatobj=4",        "keyboardopt",
                           "fxspeedlist=30",   "playusessameobject", "repeatoption",
                           "Playfxspeedlist=1"}
            << Texts{{"sameobject", "True"},
                     {"howmanytimes", "4"},
                     {"howtochangepictures", "keyboard"},
                     {"fxspeed", "30"},
                     {"playsameobj", "True"},
                     {"repeatquestion", "False"},
                     {"fxplayspeed", "1"}};
        QTest::newRow("learn OKAY, global and play changed")
            << "okayclose2"
            << QStringList{"backlistcount=20", "changebackcheck", "plasticopt", "playmusiccheck",
                           "Playfxspeedlist=35"}
            << Texts{{"changebackground", "False"},
                     {"backchange", "20"},
                     {"shapedirectory", "\\shapes1\\"},
                     {"playmusic", "False"},
                     {"fxplayspeed", "35"}};
        QTest::newRow("play OKAY, global and learn changed")
            << "okayclose3"
            << QStringList{"backlistcount=1", "plasticopt",  "standardopt",  "keyboardopt",
                           "timeropt",        "repeatobj=2", "fxspeedlist=5"}
            << Texts{{"backchange", "1"}, {"howmanytimes", "2"}, {"fxspeed", "5"}};
        QTest::newRow("a box cleared and checked again")
            << "okayclose3" << QStringList{"changebackcheck", "changebackcheck"} << Texts{};
    }
    void everyOkayStoresEveryPage() {
        QFETCH(QString, button);
        QFETCH(QStringList, changes);
        QFETCH(Texts, stored);
        TestProgram program;
        program.useSettings({});
        options dialog(*program.forms);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        for (const QString& what : changes)
            change(dialog, what);
        auto* okay = dialog.findChild<QPushButton*>(button);
        showPageOf(dialog, okay);
        QTest::mouseClick(okay, Qt::LeftButton);

        QVERIFY(!dialog.isVisible());
        Texts expected = defaultTexts();
        for (auto it = stored.begin(); it != stored.end(); ++it)
            expected[it.key()] = it.value();
        QCOMPARE(storedTexts(program), expected);
        // Settings holds what the store holds.
        Settings reread;
        loadsettings(reread, program.store);
        QCOMPARE(program.module1.settings, reread);
    }

    void dependentControls() {
        TestProgram program;
        program.useSettings({});
        {
            options dialog(*program.forms);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            change(dialog, "changebackcheck");
            QCOMPARE(shown(dialog).mid(0, 2),
                     QStringList({"changebackcheck off", "dependants disabled"}));
            // The space bar toggles it as well.
            dialog.changebackcheck->setFocus();
            QTest::keyClick(dialog.changebackcheck, Qt::Key_Space);
            QCOMPARE(shown(dialog).mid(0, 2),
                     QStringList({"changebackcheck on", "dependants enabled"}));
            change(dialog, "changebackcheck");
            dialog.close();
        }
        // A new opening starts from Settings, not from the last dialog.
        options again(*program.forms);
        QCOMPARE(shown(again), kShownByDefault);
    }

    void closingStoresNothing() {
        TestProgram program;
        program.useSettings({});
        const Settings before = program.module1.settings;
        options dialog(*program.forms);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        for (const char* what : {"changebackcheck", "plasticopt", "repeatobj=3", "keyboardopt",
                                 "repeatoption", "Playfxspeedlist=20"})
            change(dialog, what);
        QVERIFY(dialog.close());
        QCOMPARE(storedTexts(program), defaultTexts());
        QCOMPARE(program.module1.settings, before);
    }

    // ---- The game window's Options menu ----

    void optionsRestartsTheActivityEitherWay_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("byOkay");
        QTest::addColumn<int>("interval");
        QTest::newRow("learn colours, OKAY") << "learncolors" << true << 3000;
        QTest::newRow("learn shapes, closed") << "learnshapes" << false << 3000;
        QTest::newRow("play colours, OKAY") << "playcolors" << true << 1;
        QTest::newRow("play shapes, closed") << "playshapes" << false << 1;
    }
    void optionsRestartsTheActivityEitherWay() {
        QFETCH(QString, mode);
        QFETCH(bool, byOkay);
        QFETCH(int, interval);
        GameRig rig;
        TestProgram& program = rig.program;
        mainform& game = rig.open(mode);
        // Let the activity run a while, so there is something to stop.
        program.clock.advance(9000);
        game.playgametimer->setEnabled(true);
        game.Timer1->setEnabled(true);
        game.timesshown = 3;
        program.module1.backgroundcount = 2;
        program.audio.clear();

        bool opened = false;
        whenDialogOpens([&]() {
            options* dialog = openOptions();
            QVERIFY(dialog);
            opened = true;
            QVERIFY(dialog->isModal());
            QVERIFY(!game.Timer1->enabled());
            QVERIFY(!game.playgametimer->enabled());
            for (TransitionPicture* picture : pictures(game)) {
                QVERIFY(!picture->isVisibleTo(&game));
                QVERIFY(picture->picture().isNull());
            }
            // A change in the store while the dialog is open shows after it.
            program.storeText("fxspeed", "35");
            change(*dialog, "Playfxspeedlist=5");
            if (byOkay)
                QTest::mouseClick(dialog->okayclose3, Qt::LeftButton);
            else
                dialog->close();
        });
        game.optionsmenu_click();

        QVERIFY(opened);
        QCOMPARE(optionsAlive(), 0);
        // Settings were read back from the store either way.
        Settings reread;
        loadsettings(reread, program.store);
        QCOMPARE(program.module1.settings, reread);
        QCOMPARE(program.module1.settings.fxplayspeed, qint16(byOkay ? 5 : 10));
        QCOMPARE(game.image0->effectSpeed(), byOkay ? 5 : 10);
        // Saved by OKAY from the dialog's own list; read back otherwise.
        QCOMPARE(game.Learnimage->effectSpeed(), byOkay ? 10 : 35);
        // The activity starts again from its beginning.
        QVERIFY(game.Timer1->enabled());
        QCOMPARE(game.Timer1->interval(), interval);
        QCOMPARE(game.timesshown, qint16(0));
        QCOMPARE(program.module1.backgroundcount, qint16(0));
        QCOMPARE(program.audio.filesPlayed("mainform.soundplayer").size(), 1);
        QVERIFY(program.audio.entriesFor("playbackmusiccontrol").isEmpty());
        QVERIFY(program.desktop.endedWith.isEmpty());
    }

    void musicSwitch_data() {
        QTest::addColumn<bool>("before");
        QTest::addColumn<bool>("toggle");
        QTest::addColumn<bool>("byOkay");
        QTest::addColumn<QStringList>("commands");
        QTest::newRow("switched off") << true << true << true << QStringList{"close"};
        QTest::newRow("switched on")
            << false << true << true << QStringList{"open", "prev", "play"};
        QTest::newRow("left on") << true << false << true << QStringList{};
        QTest::newRow("left off") << false << false << true << QStringList{};
        QTest::newRow("off, but closed") << true << true << false << QStringList{};
    }
    void musicSwitch() {
        QFETCH(bool, before);
        QFETCH(bool, toggle);
        QFETCH(bool, byOkay);
        QFETCH(QStringList, commands);
        GameRig rig({{"playmusic", before ? "True" : "False"}});
        TestProgram& program = rig.program;
        mainform& game = rig.open("learncolors");
        program.clock.advance(100);
        program.audio.clear();
        // A notify flag still set would make the close raise a done event.
        game.playbackmusiccontrol->setNotify(true);
        QSignalSpy done(game.playbackmusiccontrol, &SoundPlayer::done);
        whenDialogOpens([&]() {
            options* dialog = openOptions();
            QVERIFY(dialog);
            if (toggle)
                change(*dialog, "playmusiccheck");
            if (byOkay)
                QTest::mouseClick(dialog->okaybutglobal, Qt::LeftButton);
            else
                dialog->close();
        });
        game.optionsmenu_click();
        program.clock.advance(100);
        QCoreApplication::processEvents();

        QCOMPARE(program.module1.settings.playmusic, toggle && byOkay ? !before : before);
        QStringList given;
        for (const auto& entry : program.audio.entriesFor("playbackmusiccontrol"))
            given << entry.command;
        // Switched on, a tune starts at once; otherwise the music is left as it was.
        QCOMPARE(given, commands);
        QCOMPARE(done.count(), 0);
    }

    void unreadableStoreDoesNotEndTheProgram_data() {
        QTest::addColumn<bool>("damaged");
        QTest::newRow("damaged file") << true;
        QTest::newRow("text that does not convert") << false;
    }
    void unreadableStoreDoesNotEndTheProgram() {
        QFETCH(bool, damaged);
        GameRig rig;
        TestProgram& program = rig.program;
        mainform& game = rig.open("playcolors");
        program.clock.advance(100);
        whenDialogOpens([&]() {
            options* dialog = openOptions();
            QVERIFY(dialog);
            if (damaged) {
                damageStore(program);
            } else {
                program.storeText("backchange", "20");
                program.storeText("howmanytimes", "many");
                program.storeText("fxspeed", "30");
            }
            dialog->close();
        });
        game.optionsmenu_click();

        QVERIFY(program.desktop.endedWith.isEmpty());
        QVERIFY(program.desktop.errors.isEmpty());
        if (!damaged) {
            // The keys before the failing one were read, those after it not.
            QCOMPARE(program.module1.settings.backchange, qint16(20));
            QCOMPARE(program.module1.settings.fxspeed, qint16(10));
        }
        QVERIFY(game.Timer1->enabled());
        QCOMPARE(game.Timer1->interval(), 1);
        QCOMPARE(optionsAlive(), 0);
    }

    void failedSaveIsReportedAndEnds() {
        GameRig rig;
        TestProgram& program = rig.program;
        mainform& game = rig.open("learnshapes");
        const QString file = program.store.fileFor(kApplicationName);
        bool stillOpen = false;
        whenDialogOpens([&]() {
            options* dialog = openOptions();
            QVERIFY(dialog);
            damageStore(program);
            QTest::mouseClick(dialog->okaybutglobal, Qt::LeftButton);
            stillOpen = dialog->isVisible();
            // The recording desktop does not end the program; the test closes the dialog.
            dialog->close();
        });
        game.optionsmenu_click();
        QCOMPARE(program.desktop.endedWith, QList<int>{1});
        QCOMPARE(program.desktop.errors.size(), 1);
        QVERIFY2(program.desktop.errors[0].contains(file), qPrintable(program.desktop.errors[0]));
        QVERIFY(stillOpen);
    }

    void altOOpensTheDialog() {
        GameRig rig;
        mainform& game = rig.open("learncolors");
        QVERIFY(QTest::qWaitForWindowActive(&game));
        bool seen = false;
        QTimer poll;
        poll.setInterval(0);
        connect(&poll, &QTimer::timeout, [&]() {
            if (options* dialog = openOptions()) {
                seen = true;
                poll.stop();
                dialog->close();
            }
        });
        poll.start();
        QTest::keyClick(&game, Qt::Key_O, Qt::AltModifier);
        QTRY_VERIFY(seen);
        QTRY_COMPARE(optionsAlive(), 0);
    }
};

QTEST_MAIN(TestOptions)
#include "test_options.moc"
