#include "menubarheightmemo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProxyStyle>
#include <QSaveFile>
#include <QWidget>
#include <QtGlobal>

#include <utility>

namespace qv {

namespace {

// Well beyond any menu bar; anything larger is a damaged file.
constexpr int kTallestBelievable = 400;
// The file holds one short line; a longer one is not ours.
constexpr qint64 kLongestFile = 4096;

QString styleName(const QStyle* style) {
    while (const auto* proxy = qobject_cast<const QProxyStyle*>(style)) {
        if (proxy->baseStyle() == nullptr || proxy->baseStyle() == style)
            break;
        style = proxy->baseStyle();
    }
    return style == nullptr
               ? QString()
               : QString::fromLatin1(style->metaObject()->className()) + u'/' + style->name();
}

}  // namespace

MenuBarHeightMemo::MenuBarHeightMemo(QString file) : file_(std::move(file)) {}

int MenuBarHeightMemo::recall(const QString& setup) const {
    if (file_.isEmpty())
        return 0;
    QFile file(file_);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray content = file.read(kLongestFile + 1);
    if (content.size() > kLongestFile || !content.endsWith('\n'))
        return 0;
    const QString line = QString::fromUtf8(content.chopped(1));
    const qsizetype space = line.indexOf(u' ');
    if (space <= 0 || line.mid(space + 1) != setup)
        return 0;
    bool ok = false;
    const int height = line.left(space).toInt(&ok);
    return ok && height > 0 && height <= kTallestBelievable ? height : 0;
}

void MenuBarHeightMemo::remember(const QString& setup, int height) const {
    if (file_.isEmpty() || height <= 0 || height > kTallestBelievable || setup.contains(u'\n'))
        return;
    if (recall(setup) == height)
        return;
    QDir().mkpath(QFileInfo(file_).absolutePath());
    QSaveFile file(file_);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(QString(QString::number(height) + u' ' + setup + u'\n').toUtf8());
    file.commit();
}

QString MenuBarHeightMemo::setupOf(const QWidget& menuBar) {
    return QStringLiteral("Qt %1; %2; %3; %4 dpi; x%5")
        .arg(QString::fromLatin1(qVersion()), styleName(menuBar.style()), menuBar.font().key())
        .arg(menuBar.logicalDpiY())
        .arg(menuBar.devicePixelRatioF());
}

}  // namespace qv
