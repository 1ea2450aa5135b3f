#pragma once

#include <QImage>
#include <QWidget>

#include <memory>

class QPainter;

namespace qv {

class Clock;

// The largest rectangle with the proportions of `picture` that fits in
// `area`, placed in it by `alignment` (centred unless told otherwise); empty
// when either is empty.
QRect fittedPictureRect(QSize picture, QRect area, Qt::Alignment alignment = Qt::AlignCenter);

// A picture control that brings a new picture in through a numbered
// transition effect (see transitioneffects.h for the looks).
//
// Assignments:
// - While armed, setPicture() starts a transition from the picture shown so far
//   (or from nothing, if the control was empty: the new picture then appears
//   through the effect over whatever lies behind the control) to the new one,
//   with the current effect number and speed. transitionFinished() is raised
//   exactly once when it ends, always later from a Clock callback and never
//   inside setPicture(). A null picture while armed takes the old picture away
//   through the effect, and reports its end the same way.
// - While not armed, setPicture() shows the picture at once and raises nothing.
// - Any assignment, armed or not, made while a transition is still running
//   supersedes it: that transition stops at once and raises NO event, so a
//   chain of transitions driven by transitionFinished() ends there. An armed
//   assignment starts its own transition from the picture the superseded one
//   was bringing in.
// Changing the effect number or speed, or disarming, affects the next
// assignment only: a running transition goes on to its end and reports it.
//
// The animation runs on the injected Clock, one frame about every 16 ms,
// whether or not the control is visible. A picture keeps its own proportions:
// it is drawn as large as fits, centred in the control (a circle must never
// become an oval) unless its alignment says otherwise, and every effect covers
// exactly that area. Where there is
// no picture the control is transparent. On a scaled screen the picture is
// scaled for the screen's own pixels.
//
// clicked() is raised for a left-button release anywhere in the control,
// beside the drawn picture too, only while the control is enabled.
// With the keyboard focus the control rings its picture (or, while it shows
// none, its own edge) with the focus ring.
class TransitionPicture : public QWidget {
    Q_OBJECT
public:
    explicit TransitionPicture(Clock& clock, QWidget* parent = nullptr);
    ~TransitionPicture() override;

    QImage picture() const;
    void setPicture(const QImage& picture);  // a null image clears the control

    int effectNumber() const;
    void setEffectNumber(int effect);

    int effectSpeed() const;
    void setEffectSpeed(int speed);

    bool armed() const;
    void setArmed(bool armed);

    bool transitionRunning() const;

    // Where in the control a picture of other proportions stands: centred by
    // default; a picture that is to meet its neighbour's goes to that edge.
    Qt::Alignment pictureAlignment() const;
    void setPictureAlignment(Qt::Alignment alignment);

    // Where the picture is drawn, in the control's coordinates: the picture
    // shown (or, while it is being taken away, the one going) fitted to the
    // control. Empty when there is neither.
    QRect pictureArea() const;

    // Duration of a transition at the given speed: 50 ms per unit, so 1 lasts
    // 50 ms, 10 lasts 500 ms and 40 lasts 2000 ms. Lower speeds are faster.
    // Speeds below kMinSpeed count as kMinSpeed and those above kMaxSpeed as
    // kMaxSpeed, so no stored value can make a transition last for ever.
    static int durationMs(int speed);
    static constexpr int kMsPerSpeedUnit = 50;
    static constexpr int kMinSpeed = 1;
    static constexpr int kMaxSpeed = 60;

    // Time between animation frames.
    static constexpr int kFrameMs = 16;

signals:
    void transitionFinished();
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void nextFrame();
    void paintPicture(QPainter& painter, const QRect& area);

    struct Private;
    std::unique_ptr<Private> d;
};

}  // namespace qv
