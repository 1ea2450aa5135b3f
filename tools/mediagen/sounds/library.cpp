#include "sounds/library.h"

#include <QDir>
#include <QFile>

#include <cstdio>

#include "catalogue/tables.h"
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

    // The game draws from as many of each as the catalogue says.
    const auto effects = effectSounds();
    if (effects.size() != size_t(qv::kEffectSoundCount))
        return report(QString("%1 effect sounds, the game draws from %2")
                          .arg(effects.size())
                          .arg(qv::kEffectSoundCount));
    for (size_t i = 0; i < effects.size(); ++i) {
        const QString path = QString("%1/e%2.wav").arg(sounds).arg(i);
        if (!writeWav16(path, effects[i]))
            return report("cannot write " + path);
    }
    const QString chime = backgrounds + "/select.wav";
    if (!writeWav16(chime, selectionChime()))
        return report("cannot write " + chime);

    const auto& tunes = backgroundTunes();
    if (tunes.size() != size_t(qv::kTuneCount))
        return report(
            QString("%1 tunes, the game draws from %2").arg(tunes.size()).arg(qv::kTuneCount));
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
