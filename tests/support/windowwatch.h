#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

class QWidget;

namespace qvtest {

// Notes every window that opens besides the ones expected (a dialog, a menu,
// another screen) and hides it at once, so that a modal window's own event
// loop ends instead of waiting for a click that never comes; a menu, which
// waits for nothing, stays open. Tooltips are not windows a child can use,
// and are let be.
class WindowWatch final : public QObject {
public:
    explicit WindowWatch(QList<QWidget*> expected);
    ~WindowWatch() override;

    // "objectName (class)" of each window that opened, in order.
    QStringList opened;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QPointer<QWidget>> expected_;
};

}  // namespace qvtest
