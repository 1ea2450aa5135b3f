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

    // What a test does to a file.
    enum class Damage {
        Removed,  // the file is gone
        Corrupt,  // its bytes are no picture or sound at all
    };

    // Damages a file given as a path relative to the library ("sounds/red.wav").
    void damage(const QString& relative, Damage how);

private:
    QTemporaryDir dir_;
};

}  // namespace qvtest
