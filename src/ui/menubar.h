#pragma once

#include <QMenuBar>

namespace qv {

// The windows' menu bar, with one unbroken line along its bottom edge at any
// scale. The desktop style draws that line item by item, and on a scaled
// screen each piece stops a pixel short, which leaves a notch after every
// caption.
class MenuBar final : public QMenuBar {
    Q_OBJECT
public:
    explicit MenuBar(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace qv
