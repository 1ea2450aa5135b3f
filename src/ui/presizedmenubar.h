#pragma once

#include <QMenuBar>

namespace qv {

// A menu bar that can be told its height in advance, from an earlier run.
// Measuring a menu bar loads the font database, which costs more than
// everything else a window does before it is mapped; told its height, the bar
// lets its window be mapped at its final size first and measures itself just
// after. If the measured height differs, the window follows it.
class PresizedMenuBar : public QMenuBar {
    Q_OBJECT
public:
    explicit PresizedMenuBar(QWidget* parent = nullptr);

    // Heights of 0 or less mean none is known; the bar then measures itself
    // as any menu bar does.
    void setExpectedHeight(int height);
    int expectedHeight() const { return expectedHeight_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    int heightForWidth(int width) const override;

signals:
    // The height the bar measured, once it has been shown.
    void measured(int height);

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool presized() const;
    void measure();

    int expectedHeight_ = 0;
    bool measured_ = false;
    bool measurePosted_ = false;
};

}  // namespace qv
