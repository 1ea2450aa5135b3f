#pragma once

#include <QList>
#include <QString>

#include <stdexcept>
#include <utility>

namespace qv {

// The store itself failed: its file is damaged, unreadable or cannot be written.
class StoreError : public std::runtime_error {
public:
    StoreError(const QString& file, const QString& reason);
    QString file;
    QString reason;
};

// The per-user settings store: one INI file per application,
// <root>/<application>/<application>.ini, with one group per section.
class SettingsStore {
public:
    // root: the user's configuration folder (~/.config), or a test's folder.
    explicit SettingsStore(QString root);

    // The production store under the user's configuration folder.
    static SettingsStore forCurrentUser();

    // The stored text of the key, or defaultText when the key does not exist.
    QString readsetting(const QString& application, const QString& section, const QString& key,
                        const QString& defaultText) const;

    // Creates or replaces the key and writes it through to disk at once.
    void writesetting(const QString& application, const QString& section, const QString& key,
                      const QString& text);

    // Creates or replaces several keys, in the order given, and writes them
    // through to disk in one go: the file is replaced whole (written beside
    // it, then renamed over it), so that a program killed meanwhile leaves
    // either the file as it was or the file with every one of these keys.
    using KeyTexts = QList<std::pair<QString, QString>>;
    void writesettings(const QString& application, const QString& section,
                       const KeyTexts& keyTexts);

    QString fileFor(const QString& application) const;

private:
    QString root_;
};

}  // namespace qv
