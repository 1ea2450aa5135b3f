#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <vector>

namespace qv {

// Keeps every control's design geometry, given in twips of a design client
// area, proportional to the client area at any size. Every layout, the first
// one included, raises resized().
class Resizer final : public QObject {
    Q_OBJECT
public:
    // client: the area whose size is watched; designTwips: its size at design time.
    Resizer(QWidget* client, QSize designTwips);

    // Places control at the given design geometry (left, top, width, height in twips).
    void add(QWidget* control, QRect twips);

    // The pixel geometry that design geometry takes in a client of the given size.
    QRect scaled(QRect twips, QSize clientPixels) const;

    void layoutNow();

signals:
    void resized();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Placement {
        QPointer<QWidget> control;
        QRect twips;
    };

    QWidget* client_;
    QSize designTwips_;
    std::vector<Placement> placements_;
};

}  // namespace qv
