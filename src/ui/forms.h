#pragma once

#include <memory>

#include "startoptions.h"

class QWidget;

namespace qv {

struct Module1;
struct Platform;
class Aboutform;
class Backdrop;
class selectform;
class mainform;
class ToddlerLock;

// The program's windows. Each is created the first time it is needed and
// lives until the program ends; hidden windows keep their state.
class Forms {
public:
    Forms(Platform& platform, Module1& module1, StartOptions options = {});
    ~Forms();

    Aboutform& about();
    selectform& select();
    mainform& game();
    bool gameCreated() const { return game_ != nullptr; }

    Platform& platform() { return platform_; }
    Module1& module1() { return module1_; }

    const StartOptions& startOptions() const { return options_; }
    // A child can neither leave nor change anything (see ToddlerLock).
    bool locked() const { return options_.locked; }
    // The lock's watch of the keys, while locked.
    ToddlerLock* toddlerLock() const { return lock_.get(); }

    // The very first run's About box, as the first-run screen.
    void showFirstRunScreen();
    // Where a start leads once the settings are there: the game window on
    // the activity the command line named, or else the selection screen.
    void openChoice();
    // The game window fills the screen now: the backdrop behind the window
    // the program started with goes.
    void leaveBackdrop();

private:
    // Fills the screen behind window, when the program is to fill it.
    void showBackdropBehind(QWidget& window);

    Platform& platform_;
    Module1& module1_;
    const StartOptions options_;
    std::unique_ptr<Aboutform> about_;
    std::unique_ptr<selectform> select_;
    std::unique_ptr<mainform> game_;
    std::unique_ptr<Backdrop> backdrop_;
    std::unique_ptr<ToddlerLock> lock_;
};

}  // namespace qv
