#pragma once

#include <QString>

#include <stdexcept>

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

    QString fileFor(const QString& application) const;

private:
    QString root_;
};

}  // namespace qv
