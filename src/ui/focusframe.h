#pragma once

#include <QPointer>
#include <QWidget>

namespace qv {

// Shows where the keyboard focus is in one window: a thick ring around the
// control that has it, drawn above the window's other controls and half
// outside the control's edge, so that no control's own look can hide it or
// muddy it. Controls that draw the ring themselves (a picture that rings the
// picture it shows, the tabs that ring the chosen tab) are left to do so.
class FocusFrame final : public QWidget {
    Q_OBJECT
public:
    // Watches window's focus for as long as the window lives.
    explicit FocusFrame(QWidget* window);

    // control draws its own focus ring.
    static void drawnByControl(QWidget& control);

    // The control the ring is around; null while it is hidden.
    QWidget* control() const { return control_; }

    // The ring's width, and how much of it lies outside the control's edge:
    // at the top and bottom kOutside, at the sides sideOutside(control).
    static constexpr int kThickness = 6;
    static constexpr int kOutside = 3;
    static int sideOutside(const QWidget& control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void follow(QWidget* control);
    void place();

    QPointer<QWidget> control_;
};

}  // namespace qv
