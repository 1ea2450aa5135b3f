#pragma once

#include <QList>
#include <QString>

#include "links/desktop.h"

class QWidget;

namespace qvtest {

// Records what the program asks of the desktop instead of doing it.
class RecordingDesktop final : public qv::Desktop {
public:
    struct Opened {
        QWidget* owner;
        QString address;
    };

    void openInDefaultProgram(QWidget* owner, const QString& address) override {
        opened.append({owner, address});
    }
    void showFatalError(const QString& title, const QString& message) override {
        errors.append(title + QLatin1Char('\n') + message);
    }
    void endProgram(int exitStatus) override { endedWith.append(exitStatus); }

    QList<Opened> opened;
    QStringList errors;
    QList<int> endedWith;
};

}  // namespace qvtest
