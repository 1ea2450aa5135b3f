// Saves two different settings records into the store under argv[1], one
// after the other, for ever: the settings test kills it at random moments.
#include <QCoreApplication>

#include <cstdio>

#include "app/module1.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    qv::SettingsStore store(QString::fromLocal8Bit(argv[1]));
    // The defaults, whatever the store holds now.
    qv::Settings a;
    qv::loadsettings(a, qv::SettingsStore(QStringLiteral("/nonexistent")));
    qv::Settings b = a;
    b.runonce = !a.runonce;
    b.changebackground = !a.changebackground;
    b.backchange = 25;
    b.shapedirectory = QStringLiteral("\\shapes1\\");
    b.playmusic = !a.playmusic;
    b.sameobject = !a.sameobject;
    b.howmanytimes = 7;
    b.howtochangepictures = QStringLiteral("keyboard");
    b.fxspeed = 35;
    b.playsameobj = !a.playsameobj;
    b.repeatquestion = !a.repeatquestion;
    b.fxplayspeed = 40;
    std::puts("writing");
    std::fflush(stdout);
    for (bool second = true;; second = !second)
        qv::savesettings(second ? b : a, store);
}
