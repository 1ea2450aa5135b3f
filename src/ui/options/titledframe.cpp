#include "titledframe.h"

#include <QPainter>

#include "ui/accessibility.h"
#include "ui/fonts.h"

namespace qv {

namespace {

constexpr int kTitleIndent = 8;
constexpr int kTitlePadding = 3;

}  // namespace

TitledFrame::TitledFrame(QWidget* parent, const char* name, const QRect& geometry,
                         const QString& title)
    : QWidget(parent), title_(title) {
    setObjectName(QString::fromLatin1(name));
    setGeometry(geometry);
    setFont(sansSerif(12, true));
    // A screen reader hears the title as the group's name.
    setAccessibleRole(*this, QAccessible::Grouping);
    setAccessibleName(title);
}

void TitledFrame::setTitleBackground(const QColor& colour) {
    titleBackground_ = colour;
    update();
}

QRect TitledFrame::titleRect() const {
    const QFontMetrics metrics(font());
    return QRect(kTitleIndent, 0, metrics.horizontalAdvance(title_) + 2 * kTitlePadding,
                 metrics.height());
}

void TitledFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect title = titleRect();
    const QRect border = rect().adjusted(0, title.height() / 2, -2, -2);
    // The border runs behind the title only where the title has no background of its own.
    painter.save();
    painter.setClipRegion(QRegion(rect()) - QRegion(title));
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(border);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(border.translated(1, 1));
    painter.restore();
    if (titleBackground_.isValid())
        painter.fillRect(title, titleBackground_);
    painter.setPen(Qt::black);
    painter.drawText(title, Qt::AlignCenter, title_);
}

}  // namespace qv
