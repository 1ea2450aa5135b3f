#include "forms.h"

#include "about/aboutform.h"
#include "accessibility.h"
#include "mainform/mainform.h"
#include "selectform/selectform.h"

namespace qv {

Forms::Forms(Platform& platform, Module1& module1) : platform_(platform), module1_(module1) {
    // Before any window exists, so that a screen reader meets each one as
    // what it is from the start.
    installAccessibility();
}

Forms::~Forms() {
    // The game window goes first: it may still refer to the others.
    game_.reset();
    select_.reset();
    about_.reset();
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
    if (!game_)
        game_ = std::make_unique<mainform>(*this);
    return *game_;
}

}  // namespace qv
