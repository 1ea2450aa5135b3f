#pragma once

#include <QImage>
#include <QMainWindow>

#include <array>

class QAction;

namespace qv {

class Forms;
class PictureButton;
class SoundPlayer;

// The selection screen: four big picture buttons, one per activity.
class selectform final : public QMainWindow {
    Q_OBJECT
public:
    explicit selectform(Forms& forms);
    ~selectform() override;

    // Shows the screen as an ordinary window (start-up, first run).
    void showAsWindow();
    // Shows it as the game window's modal dialog; returns when it is hidden or closed.
    void showAsDialog(QWidget* owner);

    void soundplay();
    void testyellow();

    void Helpmnu_click();

    PictureButton* lcbut = nullptr;
    PictureButton* lsbut = nullptr;
    PictureButton* playcbut = nullptr;
    PictureButton* playshapes = nullptr;
    SoundPlayer* soundplayer = nullptr;
    QAction* Helpmnu = nullptr;

    bool yellowcleared = false;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Choice {
        PictureButton* button;
        QString mode;
        QString highlightPicture;
        QString plainPicture;
        QImage builtInPicture;
    };

    void form_load();
    void pointerEntered(const Choice& choice);
    void pointerLeft(const Choice& choice);
    void highlight(const Choice& choice, bool byFocus);
    void showPlain(const Choice& choice);
    void click(const Choice& choice);
    bool setButtonPicture(PictureButton* button, const QString& relativePath);

    Forms& forms_;
    std::array<Choice, 4> choices_;
    bool loaded_ = false;
    bool shownAsDialog_ = false;
    // From each showing until the focus highlight, a pointer found resting on
    // a button waits, so that the focus lights its button first.
    bool focusHighlightDue_ = false;
    const Choice* restingPointer_ = nullptr;
};

}  // namespace qv
