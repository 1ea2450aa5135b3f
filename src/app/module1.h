#pragma once

#include <QString>
#include <QtGlobal>

#include "settings.h"
#include "settingsstore.h"

namespace qv {

inline const QString kApplicationName = QStringLiteral("quorvellearning");
inline const QString kSettingsSection = QStringLiteral("colors");

// The state shared by all windows for the whole run.
struct Module1 {
    Settings settings;
    // "learncolors", "learnshapes", "playcolors" or "playshapes".
    QString selectedmode;
    // Learn pictures or play questions counted since the last background change.
    qint16 backgroundcount = 0;
};

// Reads the twelve keys into settings in table order. Throws ConversionError at
// the first text that does not convert (the fields before it keep their new
// values, the rest keep what they held) and StoreError when the store fails.
void loadsettings(Settings& settings, const SettingsStore& store);

// Writes all twelve fields in table order, in one replacement of the store's
// file. Throws StoreError.
void savesettings(const Settings& settings, SettingsStore& store);

// The start-up read of runonce: a missing key means the program has not run yet.
bool readRunonce(const SettingsStore& store);

// The twelve keys in table order with the texts loadsettings assumes when missing.
struct SettingKey {
    const char* key;
    const char* defaultText;
};
extern const SettingKey kSettingKeys[12];

}  // namespace qv
