#pragma once

#include <QMap>
#include <QString>
#include <QTemporaryDir>

#include <memory>

#include "app/module1.h"
#include "app/settingsstore.h"
#include "recordingaudio.h"
#include "recordingdesktop.h"
#include "scriptedrandom.h"
#include "ui/forms.h"
#include "ui/platform.h"
#include "virtualclock.h"

namespace qvtest {

// The whole program on fakes: virtual clock, recording audio and desktop,
// scripted draws, a settings store in a temporary folder, and a program
// folder of the test's choosing (by default the generated media library).
class TestProgram {
public:
    explicit TestProgram(const QString& programFolder = QStringLiteral(QUORVEL_PROGRAM_DIR));
    ~TestProgram();

    // Writes the twelve defaults into the store, as the first run's OK does.
    void storeDefaults();
    // Stores the defaults with some keys changed and loads them, as a run
    // after the first one starts.
    void useSettings(const QMap<QString, QString>& changed);
    // Writes one key straight into the store.
    void storeText(const QString& key, const QString& text);
    QString storedText(const QString& key) const;
    // Makes the windows anew, as a start with these command-line options
    // does. Call it before any window is shown.
    void startWith(const qv::StartOptions& options);

    QTemporaryDir configRoot;
    VirtualClock clock;
    RecordingAudio audio{clock};
    RecordingDesktop desktop;
    ScriptedRandom random;
    qv::SettingsStore store;
    qv::Platform platform;
    qv::Module1 module1;
    std::unique_ptr<qv::Forms> forms;
};

}  // namespace qvtest
