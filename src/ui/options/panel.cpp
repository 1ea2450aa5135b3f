#include "panel.h"

#include <QFontMetrics>
#include <QRegularExpression>

#include "ui/accessibility.h"
#include "ui/fonts.h"

namespace qv {

void usePanelLook(QLabel& label) {
    label.setFont(sansSerif(9.75, true));
    label.setAutoFillBackground(true);
    QPalette colours = label.palette();
    colours.setColor(QPalette::Window, QColor(192, 255, 255));
    colours.setColor(QPalette::Active, QPalette::WindowText, QColor(0, 0, 192));
    colours.setColor(QPalette::Inactive, QPalette::WindowText, QColor(0, 0, 192));
    colours.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
    label.setPalette(colours);
}

Panel::Panel(QWidget* parent, const char* name, const QRect& geometry, const QString& caption,
             Qt::Alignment alignment)
    : QLabel(caption, parent) {
    setObjectName(QString::fromLatin1(name));
    setGeometry(geometry);
    usePanelLook(*this);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    // The caption starts at the edge it is aligned to, not a half letter in.
    setIndent(0);
    setAlignment(alignment);
    // Read without the blanks that make room for the control it holds.
    setAccessibleName(QString(caption).remove(QLatin1Char('&')).simplified());
}

void Panel::hold(QWidget* control) {
    setBuddy(control);
    QString shown = text();
    shown.remove(QLatin1Char('&'));
    const int inside = contentsRect().width();
    QFont fitted = narrowedToFit(font(), shown, inside);
    // Words that stand before a run of blanks on the control's line belong left of it.
    if (!(alignment() & Qt::AlignTop)) {
        static const QRegularExpression gap(QStringLiteral("\\S {3,}"));
        const QRegularExpressionMatch match = gap.match(shown);
        const QString before = match.hasMatch() ? shown.left(match.capturedStart() + 1) : shown;
        if (match.hasMatch()) {
            // Read as the eye reads it: the words before the control label
            // it, the words after it follow its value.
            setAccessibleName(before.simplified());
            setAccessibleUnit(*control, shown.mid(match.capturedEnd()).simplified());
        }
        const int room = control->x() - contentsRect().left() - 2;
        const QFont beside = narrowedToFit(font(), before, room);
        if (beside.stretch() < fitted.stretch())
            fitted = beside;
    }
    setFont(fitted);
}

}  // namespace qv
