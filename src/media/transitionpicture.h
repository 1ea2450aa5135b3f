#pragma once

#include <QImage>
#include <QWidget>

namespace qv {

class Clock;

// A picture control that brings a new picture in through a numbered
// transition effect. An assignment while armed runs the effect and raises
// transitionFinished() exactly once at its end; an unarmed assignment shows the
// picture at once and raises nothing. Clicks are reported only while enabled.
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

    // Duration of a transition at the given speed. Lower speeds are faster.
    static int durationMs(int speed);

signals:
    void transitionFinished();
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Private;
    Private* d;
};

}  // namespace qv
