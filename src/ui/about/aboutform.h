#pragma once

#include <QWidget>

class QLabel;

namespace qv {

class Forms;
class PictureButton;
class SoundPlayer;

// The About box. On the very first run it is the first-run screen whose OK
// stores the default settings; later it is the game window's About dialog.
class Aboutform final : public QWidget {
    Q_OBJECT
public:
    explicit Aboutform(Forms& forms);
    ~Aboutform() override;

    // Shows the box as an ordinary window, centred.
    void showAsWindow();
    // Shows the box as the game window's modal dialog; returns when it is hidden or closed.
    void showAsDialog(QWidget* owner);

    // The OK step.
    void okaybut_click();
    // The donation link.
    void registerpanel_click();

    PictureButton* okaybut = nullptr;
    QLabel* SSPanel1 = nullptr;
    QLabel* Text = nullptr;
    QLabel* registerpanel = nullptr;
    SoundPlayer* playdonate = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Forms& forms_;
};

}  // namespace qv
