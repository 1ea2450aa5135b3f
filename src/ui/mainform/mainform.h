#pragma once

#include <QMainWindow>
#include <QString>

#include <array>

#include "catalogue/pickers.h"

class QAction;
class QKeyEvent;
class QMenu;

namespace qv {

class Forms;
class InputGate;
class Resizer;
class SoundPlayer;
class StretchPicture;
class Timer;
class TransitionPicture;
struct Module1;
struct Platform;

// The game window that runs the activities. Its behaviour is split by job
// over several files: the window and its controls (mainform.cpp), the
// activity flow (_flow), the backgrounds (_background), learning (_learn),
// building a play question (_question), judging answers (_answers), music
// (_music), the options dialog (_options) and the Help menu's links (_links).
class mainform final : public QMainWindow {
    Q_OBJECT
public:
    explicit mainform(Forms& forms);
    ~mainform() override;

    // Shows the window maximised, so a child gets big pictures, or full
    // screen when the command line asked for it; restoring it brings back its
    // design size. The first showing runs the load step.
    void showAsWindow();
    // F11: full screen, or back to maximised.
    void toggleFullScreen();

    // Activity flow.
    void userselection();
    void mmcsetup();
    void Timer1_tick();
    void Form_KeyPress();
    void newmenu_click();
    void aboutmenu_click();
    void eitmenu_click();
    void optionsmenu_click();

    // Links.
    void abounmenu_click();
    void webmenu_click();
    void donatemenu_click();

    // Backgrounds.
    void getbackgrounpicture();
    void checkbackground();

    // Learn colours and learn shapes.
    void learncollorssub();
    void learnshapessub();
    void Learnimage_transitionFinished();

    // Play colours and play shapes: building a question.
    void playcolors();
    void playshapes();
    void image0_transitionFinished();
    void Image1_transitionFinished();
    void image2_transitionFinished();
    void image3_transitionFinished();

    // Play: judging answers and asking the question.
    void image0_click();
    void Image1_click();
    void image2_click();
    void image3_click();
    void checkcolorcorrect();
    void checkshapecorrect();
    void playgametimer_tick();

    // Background music.
    void playmusicsub();
    void playbackmusiccontrol_done(int notifyCode);

    // The resizer's notification after each layout.
    void SSResizer1_resize();

    // Keys of the play activities (mainform_keys.cpp). True when key answered
    // the question or moved the focus between its pictures.
    bool answerKey(const QKeyEvent& key);
    // Whether the keys answer: with the timer they do; with "keyboard" every
    // key asks for a new question instead.
    bool keysAnswer() const;

    // Controls.
    StretchPicture* mainimage = nullptr;
    TransitionPicture* Learnimage = nullptr;
    TransitionPicture* image0 = nullptr;
    TransitionPicture* Image1 = nullptr;
    TransitionPicture* image2 = nullptr;
    TransitionPicture* image3 = nullptr;
    SoundPlayer* soundplayer = nullptr;
    SoundPlayer* answerplay = nullptr;
    SoundPlayer* playbackmusiccontrol = nullptr;
    Timer* Timer1 = nullptr;
    Timer* playgametimer = nullptr;
    Resizer* SSResizer1 = nullptr;

    QMenu* filemenu = nullptr;
    QAction* newmenu = nullptr;
    QAction* space = nullptr;
    QAction* eitmenu = nullptr;
    QAction* optionsmenu = nullptr;
    QMenu* Helpmenu = nullptr;
    QAction* abounmenu = nullptr;
    QAction* webmenu = nullptr;
    QAction* spacer2 = nullptr;
    QAction* donatemenu = nullptr;
    QAction* aboutmenu = nullptr;
    // F11, in no menu.
    QAction* fullScreenAction = nullptr;

    // Form-level variables; none is saved.
    qint16 timesshown = 0;
    PickerState pick;  // colorcounter, shapecounter, currentcolor, currentshape, randomnumber
    qint16 effectnumber = 0;
    bool playstarted = false;
    QString rightcolor;
    QString rightshape;
    QString lastquestion;
    std::array<QString, 4> pictureshapes;
    std::array<QString, 4> picturecolors;
    qint16 rightpicture = 0;
    qint16 pickedpicture = 0;
    bool musicstarted = false;

    // The client area at design size, in pixels (9570 x 7245 twips at 15 twips a pixel).
    static constexpr QSize kDesignClientPixels{638, 483};

signals:
    // Raised after the resizer has laid the window out; the music listens here.
    void laidOut();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void lockDown();
    QSize restoredSize() const;
    void connectControls();
    void disconnectControls();
    void Form_Load();
    void showPictures(bool learn, bool visible);
    void hideAndClearPictures();
    QString mediaPath(const QString& relative) const;

    // Learn and play helpers shared by the twin procedures.
    void learnStep(bool teachColours);
    QString shapePicturePath(const QString& stem, const QString& colour) const;
    std::array<TransitionPicture*, 4> answerPictures() const;
    void buildQuestion(bool askColours);
    void bringInAnswer(int index);
    void answerArrived(int index, bool arrived);
    void playEffectSound();
    void answerClicked(int index);
    void judgeAnswer(bool colours);

    // What a picture shows, and its name for a screen reader, change together.
    static void showNamed(TransitionPicture* picture, const QImage& image, const QString& name);
    static void clearPicture(TransitionPicture* picture);

    // The keys' share of a question: which picture has the focus, moving it,
    // answering with a picture, putting the focus aside while the pictures
    // are away and giving it back to where it was when the next question
    // opens.
    bool questionOpen() const;
    int focusedAnswer() const;
    void moveAnswerFocus(int key);
    void answerWith(int index);
    void putAnswerFocusAside();
    void giveBackAnswerFocus();

    Forms& forms_;
    Platform& platform_;
    InputGate* inputGate_ = nullptr;
    Module1& module1_;
    // The answer picture that had the keyboard focus when the last open
    // question was taken away; -1 when none had it.
    int answerFocus_ = -1;
    bool loaded_ = false;
    // The load step has run; layouts before it are not announced.
    bool loadStepDone_ = false;
};

}  // namespace qv
