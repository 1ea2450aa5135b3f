#include "selectform.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "app/module1.h"
#include "catalogue/mediapaths.h"
#include "links/desktop.h"
#include "links/visiturl.h"
#include "pictures/pictureloader.h"
#include "sound/soundplayer.h"
#include "ui/accessibility.h"
#include "ui/builtinpicture.h"
#include "ui/focusframe.h"
#include "ui/forms.h"
#include "ui/mainform/mainform.h"
#include "ui/menubar.h"
#include "ui/picturebutton.h"
#include "ui/platform.h"
#include "ui/toplevelwindows.h"

namespace qv {

namespace {

// The width of a button's picture on the screen.
constexpr int kButtonPictureWidth = 202;

PictureButton* pictureButton(QWidget* parent, const char* name, QPoint topLeft,
                             const QString& words, const QString& tooltip) {
    auto* button = new PictureButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    // The words on its picture.
    button->setAccessibleName(words);
    button->setGeometry(QRect(topLeft, QSize(208, 50)));
    if (!tooltip.isEmpty())
        button->setToolTip(tooltip);
    return button;
}

}  // namespace

selectform::selectform(Forms& forms) : QMainWindow(nullptr), forms_(forms) {
    setObjectName(QStringLiteral("selectform"));
    setWindowTitle(QStringLiteral("Quorvel Learning Selection"));
    useFixedWindowFrame(*this);
    setAccessibleRole(*this, QAccessible::Window);

    setMenuBar(new MenuBar(this));
    Helpmnu = menuBar()->addAction(QStringLiteral("Help"));
    Helpmnu->setObjectName(QStringLiteral("Helpmnu"));
    connect(Helpmnu, &QAction::triggered, this, &selectform::Helpmnu_click);
    // The help page would open a browser: out of a locked child's reach.
    menuBar()->setVisible(!forms_.locked());

    auto* client = new QWidget(this);
    client->setFixedSize(306, 400);
    setCentralWidget(client);
    auto* background = new QLabel(client);
    background->setPixmap(QPixmap::fromImage(builtInPicture(QStringLiteral("selectback"))));
    background->setGeometry(0, 0, 305, 402);
    markDecorative(*background);

    lcbut = pictureButton(client, "lcbut", {50, 98}, QStringLiteral("Learn Colors"),
                          QStringLiteral("Click this button to learn about different colors."));
    lsbut = pictureButton(client, "lsbut", {50, 153}, QStringLiteral("Learn Shapes"),
                          QStringLiteral("Click this button to learn about different shapes."));
    playcbut = pictureButton(
        client, "playcbut", {48, 240}, QStringLiteral("Play Colors"),
        QStringLiteral("Click this button to play a game where you select different colors."));
    playshapes =
        pictureButton(client, "playshapes", {50, 300}, QStringLiteral("Play Shapes"), QString());
    setTabOrder(lcbut, lsbut);
    setTabOrder(lsbut, playcbut);
    setTabOrder(playcbut, playshapes);

    choices_ = {{
        {lcbut, QStringLiteral("learncolors"), QStringLiteral("\\backgrounds\\lcy.jpg"),
         QStringLiteral("\\backgrounds\\lcw.jpg"), builtInPicture(QStringLiteral("lcbut"))},
        {lsbut, QStringLiteral("learnshapes"), QStringLiteral("\\backgrounds\\lsy.jpg"),
         QStringLiteral("\\backgrounds\\lsw.jpg"), builtInPicture(QStringLiteral("lsbut"))},
        {playcbut, QStringLiteral("playcolors"), QStringLiteral("\\backgrounds\\pcy.jpg"),
         QStringLiteral("\\backgrounds\\pcw.jpg"), builtInPicture(QStringLiteral("playcbut"))},
        {playshapes, QStringLiteral("playshapes"), QStringLiteral("\\backgrounds\\psy.jpg"),
         QStringLiteral("\\backgrounds\\psw.jpg"), builtInPicture(QStringLiteral("playshapes"))},
    }};
    for (const Choice& choice : choices_) {
        PictureButton* b = choice.button;
        b->setPicture(choice.builtInPicture);
        // choices_ never moves, so its elements can be captured by address.
        const Choice* c = &choice;
        connect(b, &PictureButton::focusGained, this, [this, c]() { highlight(*c, true); });
        connect(b, &PictureButton::pointerEntered, this, [this, c]() { pointerEntered(*c); });
        connect(b, &PictureButton::focusLost, this, [this, c]() { showPlain(*c); });
        connect(b, &PictureButton::pointerLeft, this, [this, c]() { pointerLeft(*c); });
        connect(b, &PictureButton::clicked, this, [this, c]() { click(*c); });
    }

    Platform& platform = forms_.platform();
    soundplayer = new SoundPlayer(platform.audio, platform.clock,
                                  QStringLiteral("selectform.soundplayer"), this);

    // The menu bar sits above the 306 x 400 client area; the window keeps that size.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    new FocusFrame(this);
}

selectform::~selectform() {
    // Closing a visible window moves the focus out of its buttons; by then
    // this object is half gone, so the buttons must not reach it any more.
    for (const Choice& choice : choices_)
        choice.button->disconnect(this);
    hide();
}

void selectform::form_load() {
    loaded_ = true;
    // A loaded screen starts from its built-in pictures, whatever an earlier
    // showing left on the buttons.
    for (const Choice& choice : choices_)
        choice.button->setPicture(choice.builtInPicture);
    soundplayer->setNotify(false);
    soundplayer->setWait(false);
    soundplayer->setShareable(true);
    soundplayer->setDeviceType(QStringLiteral("WaveAudio"));
}

void selectform::showAsWindow() {
    shownAsDialog_ = false;
    show();
    centerOnScreen(*this);
    activateWindow();
}

void selectform::showAsDialog(QWidget* owner) {
    shownAsDialog_ = true;
    showModal(*this, owner);
    shownAsDialog_ = false;
}

void selectform::showEvent(QShowEvent* event) {
    const bool loading = !loaded_;
    if (loading)
        form_load();
    // The window system may report the pointer resting on a button before
    // the window is active and its focus arrives; that highlight waits.
    if (!event->spontaneous()) {
        focusHighlightDue_ = true;
        restingPointer_ = nullptr;
    }
    QMainWindow::showEvent(event);
    // A freshly loaded screen gives the focus to the first button in the tab
    // order, which lights it up; a screen shown again gives it back to the
    // button that had it.
    if (loading)
        lcbut->setFocus(Qt::OtherFocusReason);
}

void selectform::keyPressEvent(QKeyEvent* event) {
    // Escape closes the game window's dialog, as its close button does. On
    // its own the screen is the program's only window, and stays.
    if (event->key() == Qt::Key_Escape && shownAsDialog_) {
        event->accept();
        close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void selectform::closeEvent(QCloseEvent* event) {
    if (forms_.locked()) {
        event->ignore();
        return;
    }
    event->accept();
    if (shownAsDialog_) {
        // Closing the dialog unloads the window: its load steps run again at
        // the next showing. The game window restarts the activity itself.
        loaded_ = false;
        return;
    }
    forms_.platform().desktop.endProgram(0);
}

void selectform::soundplay() {
    soundplayer->setFileName(nativeMediaPath(forms_.platform().programFolder,
                                             QStringLiteral("\\backgrounds\\select.wav")));
    soundplayer->setCommand(QStringLiteral("sound"));
}

bool selectform::setButtonPicture(PictureButton* button, const QString& relativePath) {
    auto picture = loadPicture(nativeMediaPath(forms_.platform().programFolder, relativePath));
    if (!picture)
        return false;
    // The library's pictures take the built-in ones' place at their size on
    // the screen; drawn with more pixels, they stay sharp on a scaled screen.
    picture->setDevicePixelRatio(std::max(1.0, qreal(picture->width()) / kButtonPictureWidth));
    button->setPicture(*picture);
    return true;
}

void selectform::testyellow() {
    if (yellowcleared)
        return;
    yellowcleared = true;
    setButtonPicture(lcbut, QStringLiteral("\\backgrounds\\lcw.jpg"));
}

void selectform::pointerEntered(const Choice& choice) {
    if (focusHighlightDue_ && isVisible()) {
        restingPointer_ = &choice;
        return;
    }
    highlight(choice, false);
}

void selectform::pointerLeft(const Choice& choice) {
    if (restingPointer_) {
        // The held-back highlight never happened, so there is nothing to
        // undo; from now on the pointer is the child's own doing.
        restingPointer_ = nullptr;
        focusHighlightDue_ = false;
        return;
    }
    showPlain(choice);
}

void selectform::highlight(const Choice& choice, bool byFocus) {
    // Hiding the screen after a click can hand the focus on inside it; only
    // what happens on a visible screen is the child's doing.
    if (!isVisible())
        return;
    if (byFocus && (choice.button == playcbut || choice.button == playshapes))
        forms_.module1().selectedmode = choice.mode;
    if (choice.button != lcbut)
        testyellow();
    // A missing highlight picture leaves the button as it was.
    setButtonPicture(choice.button, choice.highlightPicture);
    soundplay();
    if (byFocus && focusHighlightDue_) {
        focusHighlightDue_ = false;
        if (const Choice* resting = std::exchange(restingPointer_, nullptr))
            highlight(*resting, false);
    }
}

void selectform::showPlain(const Choice& choice) {
    // A missing plain picture keeps the button's current picture: a child
    // moving the mouse must never bring the program down.
    setButtonPicture(choice.button, choice.plainPicture);
}

void selectform::click(const Choice& choice) {
    forms_.module1().selectedmode = choice.mode;
    hide();
    if (shownAsDialog_)
        return;  // the game window starts the chosen activity itself
    forms_.game().showAsWindow();
}

void selectform::Helpmnu_click() {
    visiturl(forms_.platform().desktop, this, helpPageAddress(forms_.platform().programFolder));
}

}  // namespace qv
