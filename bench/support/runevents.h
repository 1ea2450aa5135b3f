// Running the event loop in a benchmark until something has happened, so
// that the sound back end's news from its threads is delivered meanwhile.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace qvbench {

// Runs events until done() holds; false once timeoutMs has passed.
template <typename Done>
bool runEventsUntil(Done done, int timeoutMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// Runs events for ms milliseconds.
inline void runEventsFor(int ms) {
    runEventsUntil([] { return false; }, ms);
}

}  // namespace qvbench
