#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>

namespace qvtest {

// What a started program gets in a test: a home folder of its own (so its
// settings store is fresh), windows off screen and the silent sound driver.
QProcessEnvironment programEnvironment(const QString& home);

// The settings store of a program started with that home.
QString storeFileIn(const QString& home);

// Writes a settings store there, folders included.
bool writeStoreIn(const QString& home, const QByteArray& text);

// The store as the first run's OK leaves it: every default, runonce True.
extern const QByteArray kStoredDefaults;

}  // namespace qvtest
