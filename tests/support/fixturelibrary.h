#pragma once

#include <QString>
#include <QTemporaryDir>

namespace qvtest {

// A media library for flow tests that is quick to load: tiny pictures for
// every shape (both sets), background and reward, and the generated sounds and
// tunes as links. Files can be taken away to show what a missing one does.
class FixtureLibrary {
public:
    FixtureLibrary();

    QString path() const { return dir_.path(); }

    // Removes a file given as a path relative to the library ("sounds/red.wav").
    void remove(const QString& relative);
    // Replaces a file with bytes that are no picture or sound at all.
    void corrupt(const QString& relative);

private:
    QTemporaryDir dir_;
};

}  // namespace qvtest
