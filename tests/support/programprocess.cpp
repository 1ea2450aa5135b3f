#include "programprocess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qvtest {

const QByteArray kStoredDefaults =
    "[colors]\nrunonce=True\nchangebackground=True\nbackchange=5\nshapedirectory=\\\\shapes\\\\\n"
    "playmusic=True\nsameobject=False\nhowmanytimes=1\nhowtochangepictures=timer\nfxspeed=10\n"
    "playsameobj=False\nrepeatquestion=True\nfxplayspeed=10\n";

QProcessEnvironment programEnvironment(const QString& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home);
    env.remove("XDG_CONFIG_HOME");
    env.insert("XDG_RUNTIME_DIR", home);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("SDL_AUDIODRIVER", "dummy");
    return env;
}

QString storeFileIn(const QString& home) {
    return QDir(home).filePath(".config/quorvellearning/quorvellearning.ini");
}

bool writeStoreIn(const QString& home, const QByteArray& text) {
    const QString file = storeFileIn(home);
    QFile out(file);
    return QDir().mkpath(QFileInfo(file).path()) && out.open(QIODevice::WriteOnly) &&
           out.write(text) == text.size();
}

}  // namespace qvtest
