#include "firstpaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>

#include <utility>

namespace qv {

namespace {

class FirstPaintWatcher final : public QObject {
public:
    FirstPaintWatcher(std::function<void()> then, int fallbackMs) : then_(std::move(then)) {
        QCoreApplication::instance()->installEventFilter(this);
        QTimer::singleShot(fallbackMs, this, [this] { fire(); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A window paints while it handles its expose event, which this filter
        // sees first: the work waits until the event loop comes round again.
        if (event->type() == QEvent::Expose && !fired_) {
            const auto* window = qobject_cast<const QWindow*>(watched);
            if (window != nullptr && window->isExposed()) {
                fired_ = true;
                QTimer::singleShot(0, this, [this] { fire(); });
            }
        }
        return false;
    }

private:
    void fire() {
        if (then_ == nullptr)
            return;
        QCoreApplication::instance()->removeEventFilter(this);
        std::exchange(then_, nullptr)();
        deleteLater();
    }

    std::function<void()> then_;
    bool fired_ = false;
};

}  // namespace

void afterFirstWindowPainted(std::function<void()> then, int fallbackMs) {
    // Owned by the application, so it goes with it should it never fire.
    auto* watcher = new FirstPaintWatcher(std::move(then), fallbackMs);
    watcher->setParent(QCoreApplication::instance());
}

}  // namespace qv
