#include "forms.h"

#include <QApplication>

#include "about/aboutform.h"
#include "accessibility.h"
#include "app/module1.h"
#include "backdrop.h"
#include "links/desktop.h"
#include "mainform/mainform.h"
#include "platform.h"
#include "selectform/selectform.h"
#include "toddlerlock.h"

namespace qv {

Forms::Forms(Platform& platform, Module1& module1, StartOptions options)
    : platform_(platform), module1_(module1), options_(std::move(options)) {
    // Before any window exists, so that a screen reader meets each one as
    // what it is from the start.
    installAccessibility();
    if (options_.locked)
        lock_ = std::make_unique<ToddlerLock>(
            platform_.clock,
            [this] {
                // Leaving ends the program as Exit does.
                if (game_)
                    game_->eitmenu_click();
                else
                    platform_.desktop.endProgram(0);
            },
            [this](QWidget* over, const QString& why) {
                // The parent is still at the keys when the locked window opens.
                platform_.desktop.showNotice(over ? over : QApplication::activeWindow(),
                                             QStringLiteral("Quorvel Learning"),
                                             ToddlerLock::notHeldNotice(why));
            });
}

Forms::~Forms() {
    lock_.reset();
    // The game window goes first: it may still refer to the others.
    game_.reset();
    select_.reset();
    about_.reset();
    backdrop_.reset();
}

Aboutform& Forms::about() {
    if (!about_)
        about_ = std::make_unique<Aboutform>(*this);
    return *about_;
}

selectform& Forms::select() {
    if (!select_)
        select_ = std::make_unique<selectform>(*this);
    return *select_;
}

mainform& Forms::game() {
    if (!game_) {
        game_ = std::make_unique<mainform>(*this);
        // The game window watches the keys too (its key preview, its input
        // gate); the lock must see them first.
        if (lock_)
            lock_->watchFirst();
    }
    return *game_;
}

void Forms::showFirstRunScreen() {
    showBackdropBehind(about());
    about().showAsWindow();
}

void Forms::openChoice() {
    if (!options_.activity.isEmpty()) {
        module1_.selectedmode = options_.activity;
        game().showAsWindow();
        return;
    }
    showBackdropBehind(select());
    select().showAsWindow();
}

void Forms::showBackdropBehind(QWidget& window) {
    if (!options_.fillsScreen())
        return;
    if (!backdrop_)
        backdrop_ = std::make_unique<Backdrop>(*this);
    backdrop_->showBehind(window);
}

void Forms::leaveBackdrop() {
    if (backdrop_)
        backdrop_->leave();
}

}  // namespace qv
