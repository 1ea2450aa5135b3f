#include "options.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include <algorithm>

#include "app/module1.h"
#include "links/desktop.h"
#include "panel.h"
#include "tabcontrol.h"
#include "titledframe.h"
#include "ui/accessibility.h"
#include "ui/appicon.h"
#include "ui/builtinpicture.h"
#include "ui/focusframe.h"
#include "ui/fonts.h"
#include "ui/forms.h"
#include "ui/mainform/mainform.h"
#include "ui/platform.h"
#include "ui/toplevelwindows.h"

namespace qv {

namespace {

const QString kStandardShapes = QStringLiteral("\\shapes\\");
const QString kPlasticShapes = QStringLiteral("\\shapes1\\");
const QString kSavesChanges = QStringLiteral("Saves changes.");

const QList<int> kBackgroundEntries{1, 5, 10, 15, 20, 25, 30};
const QList<int> kRepeatEntries{1, 2, 3, 4, 5, 6, 7, 8};
const QList<int> kSpeedEntries{1, 5, 10, 15, 20, 25, 30, 35, 40};

// Where a control may grow to on the right: up to the next control on its
// row, or to its frame's edge, short of either by the focus ring's side.
int roomToTheRight(const QWidget& control) {
    const int kGap = FocusFrame::sideOutside(control);
    const QWidget* parent = control.parentWidget();
    int limit = parent->contentsRect().right() + 1 - kGap;
    for (const QObject* object : parent->children()) {
        const auto* other = qobject_cast<const QWidget*>(object);
        if (!other || other == &control || other->isWindow() || isDecorative(*other))
            continue;
        const bool sameRow = other->y() < control.y() + control.height() &&
                             control.y() < other->y() + other->height();
        if (sameRow && other->x() >= control.x() + control.width())
            limit = std::min(limit, other->x() - kGap);
    }
    return limit - control.x();
}

// Shows a check box's or option button's whole caption: the control grows
// into the room beside it first, and only where the room ends is the
// caption's font narrowed, just enough. A larger screen scale measures a
// caption a little wider than its place.
void fitCaption(QAbstractButton& button) {
    const int wanted = button.sizeHint().width();
    if (wanted > button.width())
        button.resize(std::max(button.width(), std::min(wanted, roomToTheRight(button))),
                      button.height());
    QFont font = button.font();
    for (int stretch = 100; stretch >= 70; stretch -= 2) {
        font.setStretch(stretch);
        button.setFont(font);
        if (button.sizeHint().width() <= button.width())
            break;
    }
}

// Every caption once the page's controls are all in place.
void fitCaptions(QWidget& dialog) {
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button))
            fitCaption(*button);
    }
}

template <typename Button>
Button* captioned(QWidget* parent, const char* name, const QRect& geometry, const QString& caption,
                  const QString& tooltip) {
    auto* button = new Button(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setToolTip(tooltip);
    button->setFont(sansSerif(12));
    return button;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QRect& geometry,
                    const QString& caption, const QString& tooltip) {
    return captioned<QCheckBox>(parent, name, geometry, caption, tooltip);
}

QRadioButton* optionButton(QWidget* parent, const char* name, const QRect& geometry,
                           const QString& caption, const QString& tooltip,
                           const char* picture = nullptr) {
    auto* button = new QRadioButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setToolTip(tooltip);
    button->setFont(sansSerif(12));
    if (picture) {
        // The heart keeps its proportions and fits the button's height.
        const int side = std::min(100, geometry.height() - 4);
        button->setIcon(QIcon(QPixmap::fromImage(builtInPicture(QString::fromLatin1(picture)))));
        button->setIconSize(QSize(side, side));
    }
    return button;
}

QComboBox* dropDownList(QWidget* parent, const char* name, const QRect& geometry,
                        const QString& tooltip) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setGeometry(geometry);
    list->setToolTip(tooltip);
    list->setFont(sansSerif(9.75));
    list->setEditable(false);
    return list;
}

// A panel with its caption and the list it holds.
Panel* panelWithList(QWidget* parent, const char* name, const QRect& geometry,
                     const QString& caption, Qt::Alignment alignment, const QString& tooltip,
                     QComboBox*& list, const char* listName, const QRect& listGeometry,
                     const QString& listTooltip) {
    auto* panel = new Panel(parent, name, geometry, caption, alignment);
    panel->setToolTip(tooltip);
    list = dropDownList(panel, listName, listGeometry, listTooltip);
    panel->hold(list);
    return panel;
}

// The frame of the same-object choice, the same on the learn and the play page.
TitledFrame* sameObjectFrame(QWidget* page, const char* name, const QRect& geometry,
                             QCheckBox*& box, const char* boxName) {
    auto* frame = new TitledFrame(page, name, geometry, QStringLiteral("Color and Shape Options"));
    box = checkBox(frame, boxName, QRect(22, 36, 172, 24), QStringLiteral("&Use the Same Object"),
                   QStringLiteral("Repeat object to inforce colors or shapes."));
    return frame;
}

// The frame of the transition speed, the same on the learn and the play page.
TitledFrame* effectsFrame(QWidget* page, const char* name, const QRect& geometry, Panel*& panel,
                          const char* panelName, QComboBox*& list, const char* listName) {
    auto* frame = new TitledFrame(page, name, geometry, QStringLiteral("Special Effects Options"));
    const QString faster = QStringLiteral("The lower the value the faster the effect.");
    panel = panelWithList(frame, panelName, QRect(11, 27, 197, 30),
                          QStringLiteral(" &Special Effects "), Qt::AlignLeft | Qt::AlignVCenter,
                          faster, list, listName, QRect(120, 2, 61, 24), faster);
    return frame;
}

// An OKAY button: Return presses it as Space does, whatever the dialog's
// default would be.
class OkayButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            event->accept();
            if (!event->isAutoRepeat())
                click();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

QPushButton* okayButton(QWidget* parent, const char* name, QPoint topLeft) {
    auto* button = new OkayButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(QRect(topLeft, QSize(86, 54)));
    button->setToolTip(kSavesChanges);
    // The word on its picture, and what it does.
    button->setAccessibleName(QStringLiteral("Okay, save options"));
    button->setIcon(QIcon(QPixmap::fromImage(builtInPicture(QStringLiteral("optionsokay")))));
    button->setIconSize(QSize(80, 48));
    button->setAutoDefault(false);
    QPalette pink = button->palette();
    pink.setColor(QPalette::Button, QColor(255, 192, 192));
    button->setPalette(pink);
    return button;
}

// Appends the entries, then selects the one that shows value. A value that is
// not among them (only a store edited by hand can hold one) is shown as an
// entry of its own in its numeric place, so that OKAY keeps it.
void fillList(QComboBox& list, const QList<int>& entries, qint16 value) {
    for (int entry : entries)
        list.addItem(integerToText(static_cast<qint16>(entry)), entry);
    int selected = list.findText(integerToText(value));
    if (selected < 0) {
        selected = 0;
        while (selected < list.count() && list.itemData(selected).toInt() < value)
            ++selected;
        list.insertItem(selected, integerToText(value), static_cast<int>(value));
    }
    list.setCurrentIndex(selected);
}

qint16 selectedEntry(const QComboBox& list) {
    return static_cast<qint16>(list.currentData().toInt());
}

}  // namespace

options::options(Forms& forms) : QWidget(nullptr), forms_(forms) {
    setObjectName(QStringLiteral("options"));
    setWindowTitle(QStringLiteral("Options "));
    setAccessibleName(QStringLiteral("Options"));
    useFixedWindowFrame(*this);
    setAccessibleRole(*this, QAccessible::Dialog);
    // A dialog of the game window: the desktop keeps it out of the task bar.
    setWindowFlag(Qt::Dialog);
    setWindowIcon(appIcon());
    setFixedSize(kClientSize);

    vaTabPro1 = new TabControl(this, "vaTabPro1", QRect(0, -2, 522, 415), QPoint(4, 47));
    vaTabPro1->tabBar()->setFont(sansSerif(8.25));
    vaTabPro1->setToolTip(kSavesChanges);
    vaTabPro1->setPictures(QImage(QStringLiteral(":/art/gradientaqua.png")),
                           QImage(QStringLiteral(":/art/gradientyellowgreen.png")),
                           QImage(QStringLiteral(":/art/gradientgreen.png")));
    buildGlobalPage(vaTabPro1->addPage("globalpage", QStringLiteral("&Global Options")));
    buildLearnPage(vaTabPro1->addPage("learnpage", QStringLiteral("&Learn Options")));
    buildPlayPage(vaTabPro1->addPage("playpage", QStringLiteral("&Play Options")));
    setTabOrderOfControls();
    fitCaptions(*this);

    connect(changebackcheck, &QCheckBox::clicked, this, &options::changebackcheck_click);
    connect(okaybutglobal, &QPushButton::clicked, this, &options::okaybutglobal_click);
    connect(okayclose2, &QPushButton::clicked, this, &options::okayclose2_click);
    connect(okayclose3, &QPushButton::clicked, this, &options::okayclose3_click);

    Form_Load();
    vaTabPro1->setCurrentIndex(2);
    playusessameobject->setFocus();
    new FocusFrame(this);
}

options::~options() {
    hide();
}

void options::buildGlobalPage(QWidget* page) {
    SSFrame1 = new TitledFrame(page, "SSFrame1", QRect(20, 11, 471, 87),
                               QStringLiteral("Background Options"));
    SSFrame1->setTitleBackground(QColor(255, 255, 0));
    changebackcheck = checkBox(SSFrame1, "changebackcheck", QRect(16, 35, 172, 24),
                               QStringLiteral("&Change Background"),
                               QStringLiteral("Specifies if the background changes."));
    changelabel = panelWithList(
        SSFrame1, "changelabel", QRect(232, 24, 209, 49),
        QStringLiteral("Change &Background after"), Qt::AlignHCenter | Qt::AlignTop,
        QStringLiteral("The lower the value more it changes."), backlistcount, "backlistcount",
        QRect(17, 15, 48, 24), QStringLiteral("Specifies how much the background changes."));
    piclabel = new QLabel(QStringLiteral("Pictures."), changelabel);
    piclabel->setObjectName(QStringLiteral("piclabel"));
    piclabel->setGeometry(71, 22, 88, 17);
    usePanelLook(*piclabel);
    // "Change Background after 5 Pictures.", as it reads.
    setAccessibleUnit(*backlistcount, piclabel->text());

    SSFrame4 =
        new TitledFrame(page, "SSFrame4", QRect(20, 99, 471, 133), QStringLiteral("Shapes to Use"));
    standardopt =
        optionButton(SSFrame4, "standardopt", QRect(15, 19, 212, 95), QStringLiteral("&Standard"),
                     QStringLiteral("Uses standard color shapes"), "heartstandard");
    // Alt+P belongs to the "Play Options" tab, which is on every page.
    plasticopt =
        optionButton(SSFrame4, "plasticopt", QRect(279, 18, 212, 95), QStringLiteral("Pl&astic"),
                     QStringLiteral("Uses plastic color shapes"), "heartplastic");

    SSFrame6 = new TitledFrame(page, "SSFrame6", QRect(20, 235, 471, 54), QStringLiteral("Music"));
    playmusiccheck =
        checkBox(SSFrame6, "playmusiccheck", QRect(16, 21, 210, 24),
                 QStringLiteral("Play Background &Music"), QStringLiteral("Allow music to play"));
    okaybutglobal = okayButton(page, "okaybutglobal", QPoint(404, 300));
}

void options::buildLearnPage(QWidget* page) {
    SSFrame2 =
        sameObjectFrame(page, "SSFrame2", QRect(21, 24, 471, 87), usesamecheck, "usesamecheck");
    SSPanel3 = panelWithList(
        SSFrame2, "SSPanel3", QRect(222, 29, 239, 38),
        QStringLiteral(" &Repeat Object                 Times"), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("The lower the value more it changes."), repeatobj, "repeatobj",
        QRect(110, 9, 61, 24), QStringLiteral("How many time to repeat the same color or shape."));

    SSFrame5 =
        new TitledFrame(page, "SSFrame5", QRect(21, 123, 471, 60), QStringLiteral("Change Shapes"));
    timeropt = optionButton(SSFrame5, "timeropt", QRect(25, 25, 93, 21), QStringLiteral("&Timer"),
                            QStringLiteral("Allow the timer to change the objects."));
    keyboardopt =
        optionButton(SSFrame5, "keyboardopt", QRect(338, 25, 93, 21), QStringLiteral("&Keyboard"),
                     QStringLiteral("Allow the user to cycle through the objects."));

    SSFrame3 = effectsFrame(page, "SSFrame3", QRect(22, 188, 470, 68), SSPanel1, "SSPanel1",
                            fxspeedlist, "fxspeedlist");
    okayclose2 = okayButton(page, "okayclose2", QPoint(404, 300));
}

void options::buildPlayPage(QWidget* page) {
    SSFrame7 = sameObjectFrame(page, "SSFrame7", QRect(16, 23, 471, 87), playusessameobject,
                               "playusessameobject");
    SSFrame9 = new TitledFrame(page, "SSFrame9", QRect(16, 122, 471, 87),
                               QStringLiteral("Repeat Question"));
    repeatoption =
        checkBox(SSFrame9, "repeatoption", QRect(22, 35, 172, 24), QStringLiteral("&Repeat"),
                 QStringLiteral("If checked the question will be repeated after a long pause."));
    SSFrame8 = effectsFrame(page, "SSFrame8", QRect(16, 222, 470, 68), SSPanel2, "SSPanel2",
                            Playfxspeedlist, "Playfxspeedlist");
    okayclose3 = okayButton(page, "okayclose3", QPoint(398, 300));
}

void options::setTabOrderOfControls() {
    const QList<QWidget*> order{changebackcheck,    backlistcount, standardopt,     plasticopt,
                                playmusiccheck,     okaybutglobal, usesamecheck,    repeatobj,
                                timeropt,           keyboardopt,   fxspeedlist,     okayclose2,
                                playusessameobject, repeatoption,  Playfxspeedlist, okayclose3,
                                vaTabPro1->tabBar()};
    for (qsizetype k = 1; k < order.size(); ++k)
        setTabOrder(order[k - 1], order[k]);
}

void options::Form_Load() {
    const Settings& settings = forms_.module1().settings;
    setuplist();
    changebackcheck->setChecked(settings.changebackground);
    if (!settings.changebackground) {
        changelabel->setEnabled(false);
        backlistcount->setEnabled(false);
        piclabel->setEnabled(false);
    }
    // Exact comparisons: any other spelling shows the second choice.
    if (settings.shapedirectory == kStandardShapes)
        standardopt->setChecked(true);
    else
        plasticopt->setChecked(true);
    playmusiccheck->setChecked(settings.playmusic);
    usesamecheck->setChecked(settings.sameobject);
    if (settings.howtochangepictures == QLatin1String("timer"))
        timeropt->setChecked(true);
    else
        keyboardopt->setChecked(true);
    playusessameobject->setChecked(settings.playsameobj);
    repeatoption->setChecked(settings.repeatquestion);
}

void options::setuplist() {
    const Settings& settings = forms_.module1().settings;
    fillList(*backlistcount, kBackgroundEntries, settings.backchange);
    fillList(*repeatobj, kRepeatEntries, settings.howmanytimes);
    fillList(*fxspeedlist, kSpeedEntries, settings.fxspeed);
    fillList(*Playfxspeedlist, kSpeedEntries, settings.fxplayspeed);
}

void options::changebackcheck_click() {
    const bool on = changebackcheck->isChecked();
    changelabel->setEnabled(on);
    backlistcount->setEnabled(on);
    piclabel->setEnabled(on);
}

void options::okaybutglobal_click() {
    okay();
}

void options::okayclose2_click() {
    okay();
}

void options::okayclose3_click() {
    okay();
}

void options::okay() {
    Settings& settings = forms_.module1().settings;
    settings.changebackground = changebackcheck->isChecked();
    settings.backchange = selectedEntry(*backlistcount);
    settings.shapedirectory = standardopt->isChecked() ? kStandardShapes : kPlasticShapes;
    settings.playmusic = playmusiccheck->isChecked();
    settings.sameobject = usesamecheck->isChecked();
    settings.howmanytimes = selectedEntry(*repeatobj);
    settings.howtochangepictures =
        timeropt->isChecked() ? QStringLiteral("timer") : QStringLiteral("keyboard");
    settings.fxspeed = selectedEntry(*fxspeedlist);
    settings.fxplayspeed = selectedEntry(*Playfxspeedlist);
    settings.playsameobj = playusessameobject->isChecked();
    settings.repeatquestion = repeatoption->isChecked();
    Platform& platform = forms_.platform();
    try {
        savesettings(settings, platform.store);
    } catch (const std::exception& failure) {
        // The settings could not be written: the program says so and ends,
        // as it does when it cannot read them at start.
        platform.desktop.showFatalError(
            QStringLiteral("Quorvel Learning"),
            QStringLiteral("Quorvel Learning cannot save its settings.\n\n%1")
                .arg(QString::fromStdString(failure.what())));
        platform.desktop.endProgram(1);
        return;
    }
    close();
    if (forms_.gameCreated())
        forms_.game().showAsWindow();
}

void options::keyPressEvent(QKeyEvent* event) {
    // Escape closes the dialog as its close button does: nothing is stored.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void options::showAsDialog(QWidget* owner) {
    showModal(*this, owner);
}

}  // namespace qv
