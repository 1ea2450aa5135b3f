// Fuzzes the whole loadsettings path from the raw bytes of the store's file:
// each input is written as the file, loaded, saved and loaded again, and every
// field is checked against the reference model's conversion of what
// readsetting returns for its key, not only for crashes.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/module1.h"
#include "app/settings.h"
#include "app/settingsstore.h"
#include "checks.h"
#include "model.h"

using namespace qv;

namespace {

using namespace fuzzcheck;

std::unique_ptr<QTemporaryDir> gFolder;
quint64 gRun = 0;

// Values unlike any default, so that the fields a load assigns show.
Settings untouched() {
    Settings s;
    s.runonce = false;
    s.changebackground = false;
    s.backchange = -12345;
    s.shapedirectory = QStringLiteral("<untouched>");
    s.playmusic = false;
    s.sameobject = true;
    s.howmanytimes = -12345;
    s.howtochangepictures = QStringLiteral("<untouched>");
    s.fxspeed = -12345;
    s.playsameobj = true;
    s.repeatquestion = false;
    s.fxplayspeed = -12345;
    return s;
}

enum class Outcome { Loaded, ConversionFailed, StoreFailed };

struct Expected {
    Outcome outcome = Outcome::Loaded;
    Settings settings;
    QString failingKey;
    QString failingText;
};

// What loadsettings must do, from readsetting's texts and the model's conversions.
Expected expectedLoad(const SettingsStore& store, const Settings& before) {
    Expected e;
    e.settings = before;
    for (const model::Field& field : model::kFields) {
        const QString key = QString::fromLatin1(field.key);
        QString text;
        try {
            text = store.readsetting(QStringLiteral("quorvellearning"), QStringLiteral("colors"),
                                     key, QString::fromLatin1(field.fallback));
        } catch (const StoreError&) {
            e.outcome = Outcome::StoreFailed;
            return e;
        }
        checkConversions(text);
        if (field.text) {
            e.settings.*field.text = text;
            continue;
        }
        if (field.boolean) {
            if (const auto value = model::toBoolean(text)) {
                e.settings.*field.boolean = *value;
                continue;
            }
        } else if (const auto value = model::toInteger(text)) {
            e.settings.*field.integer = static_cast<qint16>(*value);
            continue;
        }
        e.outcome = Outcome::ConversionFailed;
        e.failingKey = key;
        e.failingText = text;
        return e;
    }
    return e;
}

QByteArray contents(const QString& file) {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<unreadable>");
}

void checkLoad(const QByteArray& bytes) {
    const QString root = gFolder->filePath(QString::number(gRun++));
    const QString file = root + QStringLiteral("/quorvellearning/quorvellearning.ini");
    QDir().mkpath(root + QStringLiteral("/quorvellearning"));
    {
        QFile out(file);
        check(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size(), "fixture");
    }
    SettingsStore store(root);
    check(store.fileFor(kApplicationName) == file, "store file");

    const Settings before = untouched();
    const Expected expected = expectedLoad(store, before);
    Settings loaded = before;
    Outcome outcome = Outcome::Loaded;
    try {
        loadsettings(loaded, store);
    } catch (const ConversionError& failure) {
        outcome = Outcome::ConversionFailed;
        check(failure.key == expected.failingKey, "failing key", failure.key);
        check(failure.storedText == expected.failingText, "failing text", failure.storedText);
        check(failure.storeFile == file, "failing file", failure.storeFile);
    } catch (const StoreError& failure) {
        outcome = Outcome::StoreFailed;
        check(failure.file == file, "store error file", failure.file);
    }
    check(outcome == expected.outcome, "outcome", QString::number(int(outcome)));
    check(loaded == expected.settings, "loaded fields");

    // The start-up read of runonce, which has a default of its own.
    if (expected.outcome != Outcome::StoreFailed) {
        const QString text =
            store.readsetting(QStringLiteral("quorvellearning"), QStringLiteral("colors"),
                              QStringLiteral("runonce"), QStringLiteral("False"));
        std::optional<bool> runonce;
        try {
            runonce = readRunonce(store);
        } catch (const ConversionError&) {
        }
        check(runonce == model::toBoolean(text), "readRunonce", shown(text));
    }

    if (expected.outcome == Outcome::StoreFailed) {
        // A damaged store is not overwritten: what it holds may still be mended.
        bool refused = false;
        try {
            savesettings(loaded, store);
        } catch (const StoreError&) {
            refused = true;
        }
        check(refused, "save over a damaged store");
        check(contents(file) == bytes, "damaged store rewritten");
        QDir(root).removeRecursively();
        return;
    }

    // After a load, failed or not, a save stores every field in its own
    // form and a second load brings back the same record.
    try {
        savesettings(loaded, store);
    } catch (const StoreError& failure) {
        fail("save", QString::fromStdString(failure.what()));
    }
    for (const model::Field& field : model::kFields) {
        const QString stored =
            store.readsetting(QStringLiteral("quorvellearning"), QStringLiteral("colors"),
                              QString::fromLatin1(field.key), QStringLiteral("<missing>"));
        const QString wanted = model::storedText(loaded, field);
        check(stored == wanted, field.key, shown(stored) + QStringLiteral(" for ") + shown(wanted));
    }
    Settings again = untouched();
    try {
        loadsettings(again, store);
    } catch (const std::exception& failure) {
        fail("load after save", QString::fromStdString(failure.what()));
    }
    check(again == loaded, "load after save");
    QDir(root).removeRecursively();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    gFolder = std::make_unique<QTemporaryDir>();
    check(gFolder->isValid(), "temporary folder");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    checkLoad(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    return 0;
}
