#pragma once

#include <QImage>
#include <QWidget>

namespace qv {

// A plain picture control that stretches its picture over its whole area,
// without keeping the picture's proportions.
class StretchPicture final : public QWidget {
public:
    explicit StretchPicture(QWidget* parent = nullptr);

    QImage picture() const { return picture_; }
    void setPicture(const QImage& picture);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage picture_;
    QPixmap scaled_;  // the picture at the control's size, made once per size
};

}  // namespace qv
