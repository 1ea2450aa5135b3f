#pragma once

#include <QImage>
#include <QWidget>

class QStackedWidget;
class QTabBar;

namespace qv {

// A tab control: a row of tabs along the top and one page area beneath them
// that shows the chosen page. The page area starts at a fixed offset from the
// control's top-left corner, so the pages' controls sit at fixed positions.
class TabControl final : public QWidget {
    Q_OBJECT
public:
    TabControl(QWidget* parent, const char* name, const QRect& geometry, QPoint pageOffset);

    // Adds an empty page under a tab and returns it; its controls go inside.
    QWidget* addPage(const char* name, const QString& caption);

    int currentIndex() const;
    void setCurrentIndex(int index);
    QWidget* currentPage() const;
    QWidget* page(int index) const;
    int count() const;
    QTabBar* tabBar() const { return tabs_; }
    QRect pageArea() const;

    // Decoration: one picture behind the whole control, one on each tab and
    // one behind the page area, each stretched to its place.
    void setPictures(const QImage& control, const QImage& tab, const QImage& page);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTabBar* tabs_;
    QStackedWidget* pages_;
    QPoint pageOffset_;
    QImage controlPicture_;
    QImage pagePicture_;
};

}  // namespace qv
