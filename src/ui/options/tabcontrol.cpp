#include "tabcontrol.h"

#include <QPainter>
#include <QStackedWidget>
#include <QStyleOptionTab>
#include <QTabBar>

#include "pictures/focusring.h"
#include "ui/accessibility.h"
#include "ui/focusframe.h"

namespace qv {

namespace {

// Room for the page's edge right of and below the page area.
constexpr int kPageMargin = 4;
// How far a tab that is not chosen stands lower than the chosen one.
constexpr int kBackTabDrop = 4;
// The focus ring inside the chosen tab.
constexpr int kTabFocusRing = 5;

// Tabs drawn on a picture: the chosen tab stands taller and brighter.
class PictureTabBar final : public QTabBar {
public:
    explicit PictureTabBar(QWidget* parent) : QTabBar(parent) {
        // The ring goes round the chosen tab, not the whole row.
        FocusFrame::drawnByControl(*this);
    }

    void setPicture(const QImage& picture) {
        picture_ = picture;
        update();
    }

protected:
    QSize tabSizeHint(int index) const override {
        const QSize text = fontMetrics().size(Qt::TextShowMnemonic, tabText(index));
        return QSize(text.width() + 28, text.height() + 16 + kBackTabDrop);
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        for (int index = 0; index < count(); ++index) {
            const bool chosen = index == currentIndex();
            QRect tab = tabRect(index);
            if (!chosen)
                tab.setTop(tab.top() + kBackTabDrop);
            if (!picture_.isNull())
                painter.drawImage(tab, picture_);
            if (!chosen)
                painter.fillRect(tab, QColor(0, 0, 0, 40));
            painter.setPen(palette().color(QPalette::Light));
            painter.drawLine(tab.bottomLeft(), tab.topLeft());
            painter.drawLine(tab.topLeft(), tab.topRight());
            painter.setPen(palette().color(QPalette::Shadow));
            painter.drawLine(tab.topRight(), tab.bottomRight());
            QStyleOptionTab option;
            initStyleOption(&option, index);
            style()->drawItemText(&painter, tab, Qt::AlignCenter | Qt::TextShowMnemonic,
                                  option.palette, isTabEnabled(index), tabText(index),
                                  QPalette::WindowText);
            if (chosen && hasFocus())
                drawFocusRing(painter, tab.adjusted(1, 1, -1, -1), kTabFocusRing);
        }
    }

private:
    QImage picture_;
};

}  // namespace

TabControl::TabControl(QWidget* parent, const char* name, const QRect& geometry, QPoint pageOffset)
    : QWidget(parent),
      tabs_(new PictureTabBar(this)),
      pages_(new QStackedWidget(this)),
      pageOffset_(pageOffset) {
    setObjectName(QString::fromLatin1(name));
    setGeometry(geometry);
    tabs_->setObjectName(QStringLiteral("tabs"));
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
    pages_->setGeometry(pageArea());
    // Only the pages hold anything to read: the stack of them is no layer a
    // screen reader should name on the way to a control.
    setAccessibleRole(*pages_, QAccessible::Client);
    connect(tabs_, &QTabBar::currentChanged, pages_, &QStackedWidget::setCurrentIndex);
}

QRect TabControl::pageArea() const {
    return QRect(pageOffset_, QPoint(width() - kPageMargin - 1, height() - kPageMargin - 1));
}

QWidget* TabControl::addPage(const char* name, const QString& caption) {
    auto* page = new QWidget(pages_);
    page->setObjectName(QString::fromLatin1(name));
    setAccessibleRole(*page, QAccessible::Pane);
    page->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    pages_->addWidget(page);
    tabs_->addTab(caption);
    // The tabs stand on the page area's top edge, left-aligned with it.
    const int height = tabs_->sizeHint().height();
    tabs_->setGeometry(pageOffset_.x(), pageOffset_.y() - height, pageArea().width(), height);
    return page;
}

int TabControl::currentIndex() const {
    return tabs_->currentIndex();
}

void TabControl::setCurrentIndex(int index) {
    tabs_->setCurrentIndex(index);
}

QWidget* TabControl::currentPage() const {
    return pages_->currentWidget();
}

QWidget* TabControl::page(int index) const {
    return pages_->widget(index);
}

int TabControl::count() const {
    return pages_->count();
}

void TabControl::setPictures(const QImage& control, const QImage& tab, const QImage& page) {
    controlPicture_ = control;
    pagePicture_ = page;
    static_cast<PictureTabBar*>(tabs_)->setPicture(tab);
    update();
}

void TabControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!controlPicture_.isNull())
        painter.drawImage(rect(), controlPicture_);
    const QRect area = pageArea();
    if (!pagePicture_.isNull())
        painter.drawImage(area, pagePicture_);
    // A raised edge around the page area.
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(area.topLeft() - QPoint(1, 1), area.topRight() + QPoint(1, -1));
    painter.drawLine(area.topLeft() - QPoint(1, 1), area.bottomLeft() + QPoint(-1, 1));
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawLine(area.bottomLeft() + QPoint(-1, 1), area.bottomRight() + QPoint(1, 1));
    painter.drawLine(area.topRight() + QPoint(1, -1), area.bottomRight() + QPoint(1, 1));
}

}  // namespace qv
