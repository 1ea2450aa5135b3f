#include "aboutform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>

#include "app/module1.h"
#include "catalogue/mediapaths.h"
#include "links/desktop.h"
#include "links/visiturl.h"
#include "sound/soundplayer.h"
#include "ui/accessibility.h"
#include "ui/builtinpicture.h"
#include "ui/focusframe.h"
#include "ui/fonts.h"
#include "ui/forms.h"
#include "ui/mainform/mainform.h"
#include "ui/picturebutton.h"
#include "ui/platform.h"
#include "ui/selectform/selectform.h"
#include "ui/toplevelwindows.h"

namespace qv {

namespace {

QLabel* textPanel(QWidget* parent, const QRect& geometry, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

}  // namespace

Aboutform::Aboutform(Forms& forms) : QWidget(nullptr), forms_(forms) {
    setObjectName(QStringLiteral("Aboutform"));
    setWindowTitle(QStringLiteral("About"));
    useFixedWindowFrame(*this);
    setAccessibleRole(*this, QAccessible::Dialog);
    // No icon of its own.
    QPixmap noIcon(16, 16);
    noIcon.fill(Qt::transparent);
    setWindowIcon(QIcon(noIcon));
    setFixedSize(540, 539);

    auto* background = new QLabel(this);
    background->setPixmap(QPixmap::fromImage(builtInPicture(QStringLiteral("aboutback"))));
    background->setGeometry(0, 0, 540, 540);
    markDecorative(*background);

    okaybut = new PictureButton(this);
    okaybut->setObjectName(QStringLiteral("okaybut"));
    okaybut->setGeometry(208, 384, 131, 68);
    okaybut->setPicture(builtInPicture(QStringLiteral("aboutokay")));
    okaybut->setToolTip(QStringLiteral("Closes about box"));
    okaybut->setAccessibleName(QStringLiteral("Okay"));
    connect(okaybut, &PictureButton::clicked, this, &Aboutform::okaybut_click);

    SSPanel1 =
        textPanel(this, QRect(177, 164, 176, 19), QStringLiteral("Version " QUORVEL_VERSION));
    SSPanel1->setObjectName(QStringLiteral("SSPanel1"));
    SSPanel1->setAlignment(Qt::AlignCenter);

    Text =
        textPanel(this, QRect(73, 212, 398, 120),
                  QStringLiteral("This program will help kids learn their colors and shapes. This "
                                 "program is free and everything is enabled with no nag screens "
                                 ",but donations are greatly accepted."));
    Text->setObjectName(QStringLiteral("Text"));
    Text->setFont(sansSerif(12));
    Text->setWordWrap(true);
    Text->setAlignment(Qt::AlignCenter);

    registerpanel =
        textPanel(this, QRect(152, 464, 241, 17), QStringLiteral("Click Here To Donate Money"));
    registerpanel->setObjectName(QStringLiteral("registerpanel"));
    QFont link = sansSerif(12, true);
    link.setUnderline(true);
    registerpanel->setFont(narrowedToFit(link, registerpanel->text(), registerpanel->width()));
    registerpanel->setAlignment(Qt::AlignCenter);
    registerpanel->setStyleSheet(QStringLiteral("color: blue;"));
    registerpanel->setCursor(Qt::PointingHandCursor);
    registerpanel->installEventFilter(this);
    // No web site, no donation page to open; nor a browser for a locked child.
    registerpanel->setVisible(!forms_.platform().website.isEmpty() && !forms_.locked());

    Platform& platform = forms_.platform();
    playdonate =
        new SoundPlayer(platform.audio, platform.clock, QStringLiteral("playdonate"), this);

    // okaybut is the only control that takes the focus.
    setFocusProxy(okaybut);
    new FocusFrame(this);
}

Aboutform::~Aboutform() {
    okaybut->disconnect(this);
    hide();
}

void Aboutform::showAsWindow() {
    show();
    centerOnScreen(*this);
    okaybut->setFocus();
}

void Aboutform::showAsDialog(QWidget* owner) {
    okaybut->setFocus();
    showModal(*this, owner);
}

void Aboutform::okaybut_click() {
    Module1& module1 = forms_.module1();
    Platform& platform = forms_.platform();
    if (module1.settings.runonce) {
        // Opened from the game window: it goes on.
        hide();
        if (forms_.gameCreated())
            forms_.game().show();
        return;
    }
    // First run: store the defaults. A failing step is skipped and the next runs.
    try {
        loadsettings(module1.settings, platform.store);
    } catch (const std::exception&) {
    }
    try {
        savesettings(module1.settings, platform.store);
    } catch (const std::exception&) {
    }
    okaybut->hide();
    QApplication::processEvents();
    playdonate->setFileName(
        nativeMediaPath(platform.programFolder, QStringLiteral("\\sounds\\thanks.wav")));
    playdonate->setCommand(QStringLiteral("sound"));
    hide();
    okaybut->show();
    forms_.openChoice();
}

void Aboutform::registerpanel_click() {
    visiturl(forms_.platform().desktop, this, donationPageAddress(forms_.platform().website));
}

void Aboutform::keyPressEvent(QKeyEvent* event) {
    // Escape closes the game window's About dialog, as its close button does.
    // The first-run screen stays: closing it would end the program unasked.
    if (event->key() == Qt::Key_Escape && isModal()) {
        event->accept();
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Aboutform::closeEvent(QCloseEvent* event) {
    // Locked, the first-run screen is left by its OK only.
    if (forms_.locked()) {
        event->ignore();
        return;
    }
    event->accept();
    // The first-run screen is the only window: closing it without OK ends the
    // program and leaves the store untouched, so the next start asks again.
    if (!forms_.module1().settings.runonce && !isModal())
        forms_.platform().desktop.endProgram(0);
}

bool Aboutform::eventFilter(QObject* watched, QEvent* event) {
    if (watched == registerpanel && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        registerpanel_click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace qv
