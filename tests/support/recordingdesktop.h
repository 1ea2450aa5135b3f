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
    struct Notice {
        QWidget* owner;
        QString text;  // the title, a line break, the message
    };

    void openInDefaultProgram(QWidget* owner, const QString& address) override {
        opened.append({owner, address});
    }
    void showNotice(QWidget* owner, const QString& title, const QString& message) override {
        notices.append({owner, title + QLatin1Char('\n') + message});
    }
    void showFatalError(const QString& title, const QString& message) override {
        errors.append(title + QLatin1Char('\n') + message);
    }
    void endProgram(int exitStatus) override { endedWith.append(exitStatus); }

    QList<Opened> opened;
    QList<Notice> notices;
    QStringList errors;
    QList<int> endedWith;
};

}  // namespace qvtest
