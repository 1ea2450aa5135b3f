#include "sounds/library.h"

#include <QDir>
#include <QFile>

#include <cstdio>

#include "sounds/arrangement.h"
#include "sounds/effects.h"
#include "sounds/tunes.h"
#include "sounds/wavfile.h"

namespace mediagen {

namespace {

bool report(const QString& message) {
    std::fprintf(stderr, "quorvel-mediagen sounds: %s\n", qPrintable(message));
    return false;
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

}  // namespace

bool writeSoundLibrary(const QString& programDir) {
    const QDir root(programDir);
    const QString sounds = root.filePath("sounds");
    const QString backgrounds = root.filePath("backgrounds");
    if (!QDir().mkpath(sounds) || !QDir().mkpath(backgrounds))
        return report("cannot create the sound folders under " + programDir);

    const auto effects = effectSounds();
    for (size_t i = 0; i < effects.size(); ++i) {
        const QString path = QString("%1/e%2.wav").arg(sounds).arg(i);
        if (!writeWav16(path, effects[i]))
            return report("cannot write " + path);
    }
    const QString chime = backgrounds + "/select.wav";
    if (!writeWav16(chime, selectionChime()))
        return report("cannot write " + chime);

    const auto& tunes = backgroundTunes();
    for (size_t i = 0; i < tunes.size(); ++i) {
        QString error;
        const QByteArray midi = arrangeTune(tunes[i], static_cast<int>(i), &error);
        if (midi.isEmpty())
            return report(error);
        const QString path = QString("%1/%2.mid").arg(sounds).arg(i);
        if (!writeBytes(path, midi))
            return report("cannot write " + path);
    }
    return true;
}

}  // namespace mediagen
