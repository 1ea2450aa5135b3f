#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace qv {

// A frame that groups controls under a title: an etched border with the title
// set into its top edge. Its inside is see-through, so the page shows behind
// the controls it holds; their positions are relative to its top-left corner.
class TitledFrame final : public QWidget {
    Q_OBJECT
public:
    TitledFrame(QWidget* parent, const char* name, const QRect& geometry, const QString& title);

    QString title() const { return title_; }
    // The title's own background; an invalid colour leaves it see-through.
    void setTitleBackground(const QColor& colour);
    QRect titleRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title_;
    QColor titleBackground_;
};

}  // namespace qv
