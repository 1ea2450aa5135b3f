#pragma once

#include <QProxyStyle>

namespace qv {

// The application's own style, except that its standard icons are decoded
// when first drawn rather than when asked for. Every menu bar asks for its
// overflow button's icon as it is built, though that button seldom shows;
// decoding it loads every image-format plugin, which would hold up the first
// window.
class DeferredIconStyle : public QProxyStyle {
public:
    // Without a base, the style the user asked for, or the desktop's.
    explicit DeferredIconStyle(QStyle* base = nullptr) : QProxyStyle(base) {}

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

}  // namespace qv
