// The game window: its controls, menus and layout.
#include "mainform.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>

#include "app/module1.h"
#include "catalogue/mediapaths.h"
#include "pictures/transitionpicture.h"
#include "resizer.h"
#include "sound/soundplayer.h"
#include "stretchpicture.h"
#include "timing/timer.h"
#include "ui/accessibility.h"
#include "ui/appicon.h"
#include "ui/forms.h"
#include "ui/inputgate.h"
#include "ui/menubar.h"
#include "ui/platform.h"
#include "ui/toplevelwindows.h"

namespace qv {

namespace {

// The design client area in twips; every control's geometry is given against it.
constexpr QSize kDesignClientTwips{9570, 7245};

TransitionPicture* transitionPicture(Clock& clock, QWidget* parent, const char* name) {
    auto* picture = new TransitionPicture(clock, parent);
    picture->setObjectName(QString::fromLatin1(name));
    picture->setVisible(false);
    return picture;
}

QAction* menuItem(QMenu* menu, const char* name, const QString& caption,
                  const QKeySequence& shortcut) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

}  // namespace

mainform::mainform(Forms& forms)
    : QMainWindow(nullptr), forms_(forms), platform_(forms.platform()), module1_(forms.module1()) {
    setObjectName(QStringLiteral("mainform"));
    setWindowTitle(QStringLiteral("Learn Colors and Shapes"));
    setWindowIcon(appIcon());
    setAccessibleRole(*this, QAccessible::Window);
    buildControls();
    buildMenus();
    // Only now that the menus exist does the menu bar know its height.
    resize(restoredSize());
    if (forms_.locked())
        lockDown();
    // Key preview: every key press in this window reaches Form_KeyPress
    // first, whichever control has the focus.
    qApp->installEventFilter(this);
    // Installed after the key preview, so it sees every event first: a key
    // dropped while the game is held does not move a learn activity on either.
    inputGate_ = new InputGate(platform_.clock, this);
    inputGate_->letThrough(eitmenu);
}

mainform::~mainform() {
    qApp->removeEventFilter(this);
    // Nothing may call back into the window while its base class tears it down.
    disconnectControls();
    hide();
    // The window object goes away: the music stops with it.
    playbackmusiccontrol->setCommand(QStringLiteral("close"));
}

void mainform::buildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setAutoFillBackground(true);
    QPalette white = client->palette();
    white.setColor(QPalette::Window, Qt::white);
    client->setPalette(white);
    setCentralWidget(client);

    Clock& clock = platform_.clock;
    SSResizer1 = new Resizer(client, kDesignClientTwips);
    connect(SSResizer1, &Resizer::resized, this, &mainform::SSResizer1_resize);

    mainimage = new StretchPicture(client);
    mainimage->setObjectName(QStringLiteral("mainimage"));
    markDecorative(*mainimage);
    SSResizer1->add(mainimage, QRect(0, -105, 9600, 7425));

    Learnimage = transitionPicture(clock, client, "Learnimage");
    SSResizer1->add(Learnimage, QRect(1620, 735, 6345, 5640));
    image0 = transitionPicture(clock, client, "image0");
    SSResizer1->add(image0, QRect(1200, 600, 3585, 3000));
    Image1 = transitionPicture(clock, client, "Image1");
    SSResizer1->add(Image1, QRect(4800, 600, 3585, 3000));
    image2 = transitionPicture(clock, client, "image2");
    SSResizer1->add(image2, QRect(1200, 3600, 3585, 3000));
    image3 = transitionPicture(clock, client, "image3");
    SSResizer1->add(image3, QRect(4800, 3600, 3585, 3000));
    // Empty answer pictures take no clicks until a question has been built.
    // They are what a child presses: buttons named after what they show.
    for (TransitionPicture* picture : answerPictures()) {
        picture->setEnabled(false);
        setAccessibleRole(*picture, QAccessible::Button);
    }
    // The two rows meet where their design rectangles meet. A picture
    // narrower in proportion than its control keeps to that edge, so that
    // the cards still meet, at any window shape and on any scale.
    for (TransitionPicture* top : {image0, Image1})
        top->setPictureAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    for (TransitionPicture* bottom : {image2, image3})
        bottom->setPictureAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // Tab goes round them in reading order.
    setTabOrder(image0, Image1);
    setTabOrder(Image1, image2);
    setTabOrder(image2, image3);

    AudioBackend& audio = platform_.audio;
    soundplayer = new SoundPlayer(audio, clock, QStringLiteral("mainform.soundplayer"), this);
    answerplay = new SoundPlayer(audio, clock, QStringLiteral("answerplay"), this);
    playbackmusiccontrol =
        new SoundPlayer(audio, clock, QStringLiteral("playbackmusiccontrol"), this);

    Timer1 = new Timer(clock, this);
    Timer1->setInterval(3000);
    playgametimer = new Timer(clock, this);
    playgametimer->setInterval(1000);
    connectControls();
}

void mainform::connectControls() {
    connect(Timer1, &Timer::tick, this, &mainform::Timer1_tick);
    connect(playgametimer, &Timer::tick, this, &mainform::playgametimer_tick);
    connect(playbackmusiccontrol, &SoundPlayer::done, this, &mainform::playbackmusiccontrol_done);
    connect(Learnimage, &TransitionPicture::transitionFinished, this,
            &mainform::Learnimage_transitionFinished);
    // Clicking the learn picture does nothing.
    const std::array<TransitionPicture*, 4> answers{image0, Image1, image2, image3};
    const std::array<void (mainform::*)(), 4> finished{
        &mainform::image0_transitionFinished, &mainform::Image1_transitionFinished,
        &mainform::image2_transitionFinished, &mainform::image3_transitionFinished};
    const std::array<void (mainform::*)(), 4> clicked{
        &mainform::image0_click, &mainform::Image1_click, &mainform::image2_click,
        &mainform::image3_click};
    for (size_t k = 0; k < answers.size(); ++k) {
        connect(answers[k], &TransitionPicture::transitionFinished, this, finished[k]);
        connect(answers[k], &TransitionPicture::clicked, this, clicked[k]);
    }
}

void mainform::disconnectControls() {
    for (QObject* control : std::initializer_list<QObject*>{
             SSResizer1, Timer1, playgametimer, playbackmusiccontrol, soundplayer, answerplay,
             Learnimage, image0, Image1, image2, image3})
        control->disconnect(this);
}

void mainform::buildMenus() {
    setMenuBar(new MenuBar(this));
    filemenu = menuBar()->addMenu(QStringLiteral("&File"));
    filemenu->setObjectName(QStringLiteral("filemenu"));
    newmenu =
        menuItem(filemenu, "newmenu", QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N));
    space = filemenu->addSeparator();
    space->setObjectName(QStringLiteral("space"));
    eitmenu =
        menuItem(filemenu, "eitmenu", QStringLiteral("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_E));

    optionsmenu = menuBar()->addAction(QStringLiteral("&Options"));
    optionsmenu->setObjectName(QStringLiteral("optionsmenu"));

    Helpmenu = menuBar()->addMenu(QStringLiteral("&Help"));
    Helpmenu->setObjectName(QStringLiteral("Helpmenu"));
    abounmenu = menuItem(Helpmenu, "abounmenu", QStringLiteral("&Contents"),
                         QKeySequence(Qt::CTRL | Qt::Key_O));
    webmenu = menuItem(Helpmenu, "webmenu", QStringLiteral("&Web Site"),
                       QKeySequence(Qt::CTRL | Qt::Key_W));
    spacer2 = Helpmenu->addSeparator();
    spacer2->setObjectName(QStringLiteral("spacer2"));
    donatemenu = menuItem(Helpmenu, "donatemenu", QStringLiteral("&Donate"),
                          QKeySequence(Qt::CTRL | Qt::Key_R));
    aboutmenu = menuItem(Helpmenu, "aboutmenu", QStringLiteral("&About"),
                         QKeySequence(Qt::CTRL | Qt::Key_A));
    // Without a web site there is nothing to open; a hidden item's shortcut is off too.
    const bool website = !platform_.website.isEmpty();
    webmenu->setVisible(website);
    donatemenu->setVisible(website);

    // Queued, so that a menu closes before its dialog opens.
    connect(newmenu, &QAction::triggered, this, &mainform::newmenu_click, Qt::QueuedConnection);
    connect(eitmenu, &QAction::triggered, this, &mainform::eitmenu_click, Qt::QueuedConnection);
    connect(optionsmenu, &QAction::triggered, this, &mainform::optionsmenu_click,
            Qt::QueuedConnection);
    connect(abounmenu, &QAction::triggered, this, &mainform::abounmenu_click);
    connect(webmenu, &QAction::triggered, this, &mainform::webmenu_click);
    connect(donatemenu, &QAction::triggered, this, &mainform::donatemenu_click);
    connect(aboutmenu, &QAction::triggered, this, &mainform::aboutmenu_click, Qt::QueuedConnection);

    // In no menu: a key of the window's own.
    fullScreenAction = new QAction(QStringLiteral("Full Screen"), this);
    fullScreenAction->setObjectName(QStringLiteral("fullscreen"));
    fullScreenAction->setShortcut(QKeySequence(Qt::Key_F11));
    addAction(fullScreenAction);
    connect(fullScreenAction, &QAction::triggered, this, &mainform::toggleFullScreen);
}

void mainform::lockDown() {
    // Nothing for a child to leave by or change: no menu bar to click, and
    // every shortcut off (those of a hidden menu bar's items are off anyway).
    menuBar()->hide();
    for (QAction* action : findChildren<QAction*>())
        action->setEnabled(false);
}

QSize mainform::restoredSize() const {
    // The window's layout gives the menu bar this height at the design width.
    const int width = kDesignClientPixels.width();
    int menuHeight = menuBar()->heightForWidth(width);
    if (menuHeight < 0)
        menuHeight = menuBar()->sizeHint().height();
    return {width, kDesignClientPixels.height() + menuHeight};
}

void mainform::showAsWindow() {
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    // Restoring the maximised window brings back the design size, centred.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen && !loaded_) {
        QRect normal(QPoint(0, 0), size());
        normal.moveCenter(screen->availableGeometry().center());
        move(normal.topLeft());
    }
    if (forms_.startOptions().fillsScreen())
        showFillingScreen(*this);
    else
        showMaximized();
    forms_.leaveBackdrop();
}

void mainform::toggleFullScreen() {
    if (isFullScreen())
        showMaximized();
    else
        showFillingScreen(*this);
}

void mainform::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!loaded_) {
        loaded_ = true;
        Form_Load();
        // The first layout notification, which starts the music, comes after
        // the background and the introduction.
        loadStepDone_ = true;
        SSResizer1->layoutNow();
    }
}

bool mainform::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        // A key travels from the focus widget up to the window; count it once,
        // where it starts.
        QWidget* start = QApplication::focusWidget();
        if (!start || start->window() != this)
            start = this;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool modifierOnly = key->key() == Qt::Key_Shift || key->key() == Qt::Key_Control ||
                                  key->key() == Qt::Key_Alt || key->key() == Qt::Key_Meta;
        // Alt or F10 gives the menu bar the keys: they walk its menus then.
        const bool inMenuBar = start == menuBar();
        if (widget == start && widget->window() == this && !inMenuBar) {
            if (!modifierOnly)
                Form_KeyPress();
            if (answerKey(*key))
                return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void mainform::showNamed(TransitionPicture* picture, const QImage& image, const QString& name) {
    picture->setPicture(image);
    // A screen reader hears of a new name; the same name again is no news.
    if (picture->accessibleName() != name)
        picture->setAccessibleName(name);
}

void mainform::clearPicture(TransitionPicture* picture) {
    showNamed(picture, QImage(), QString());
}

QString mainform::mediaPath(const QString& relative) const {
    return nativeMediaPath(platform_.programFolder, relative);
}

}  // namespace qv
