#pragma once

#include <QMainWindow>

namespace qv {

class Forms;

// The game window that runs the activities.
class mainform final : public QMainWindow {
    Q_OBJECT
public:
    explicit mainform(Forms& forms);
    ~mainform() override;

    void showAsWindow();

private:
    Forms& forms_;
};

}  // namespace qv
