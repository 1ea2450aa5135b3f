#pragma once

#include <QAbstractButton>
#include <QImage>

namespace qv {

// A button without caption that shows one picture, centred at its device
// independent size, and reports focus and pointer movements as well as clicks.
// Space and Return press it; the arrows move the focus on, as Tab does. Its window's focus frame
// shows its focus; its accessible name says what it does, as the words on its picture do.
class PictureButton final : public QAbstractButton {
    Q_OBJECT
public:
    explicit PictureButton(QWidget* parent = nullptr);

    QImage picture() const { return picture_; }
    void setPicture(const QImage& picture);

    QSize sizeHint() const override;

signals:
    void focusGained();
    void focusLost();
    void pointerEntered();
    void pointerLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QSize shownSize() const;

    QImage picture_;
};

}  // namespace qv
