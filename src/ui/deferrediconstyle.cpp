#include "deferrediconstyle.h"

#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>

#include <optional>

namespace qv {

namespace {

// Stands for one of the base style's standard icons and asks the base style
// for it the first time it is needed.
class DeferredStandardIcon : public QIconEngine {
public:
    DeferredStandardIcon(const QStyle* base, QStyle::StandardPixmap which,
                         const QStyleOption* option, const QWidget* widget)
        : base_(const_cast<QStyle*>(base)), which_(which), widget_(const_cast<QWidget*>(widget)) {
        if (option != nullptr)
            option_.emplace(*option);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return icon().isNull(); }
    QString key() const override { return QStringLiteral("qv.deferredstandardicon"); }
    QIconEngine* clone() const override { return new DeferredStandardIcon(*this); }

private:
    const QIcon& icon() {
        if (!icon_) {
            const QStyleOption* option = option_ ? &*option_ : nullptr;
            icon_ = base_ ? base_->standardIcon(which_, option, widget_) : QIcon();
        }
        return *icon_;
    }

    QPointer<QStyle> base_;
    QStyle::StandardPixmap which_;
    std::optional<QStyleOption> option_;
    QPointer<QWidget> widget_;
    std::optional<QIcon> icon_;
};

}  // namespace

QIcon DeferredIconStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                      const QWidget* widget) const {
    return QIcon(new DeferredStandardIcon(baseStyle(), icon, option, widget));
}

}  // namespace qv
