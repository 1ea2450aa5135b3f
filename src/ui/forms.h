#pragma once

#include <memory>

namespace qv {

struct Module1;
struct Platform;
class Aboutform;
class selectform;
class mainform;

// The program's windows. Each is created the first time it is needed and
// lives until the program ends; hidden windows keep their state.
class Forms {
public:
    Forms(Platform& platform, Module1& module1);
    ~Forms();

    Aboutform& about();
    selectform& select();
    mainform& game();
    bool gameCreated() const { return game_ != nullptr; }

    Platform& platform() { return platform_; }
    Module1& module1() { return module1_; }

private:
    Platform& platform_;
    Module1& module1_;
    std::unique_ptr<Aboutform> about_;
    std::unique_ptr<selectform> select_;
    std::unique_ptr<mainform> game_;
};

}  // namespace qv
