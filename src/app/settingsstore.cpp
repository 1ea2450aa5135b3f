#include "settingsstore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace qv {

namespace {

QString statusReason(QSettings::Status status) {
    switch (status) {
        case QSettings::AccessError:
            return QStringLiteral("the settings file cannot be read or written");
        case QSettings::FormatError:
            return QStringLiteral("the settings file is damaged");
        case QSettings::NoError:
            break;
    }
    return {};
}

void throwOnError(const QSettings& settings, const QString& file) {
    if (settings.status() != QSettings::NoError) throw StoreError(file, statusReason(settings.status()));
}

}  // namespace

StoreError::StoreError(const QString& file_, const QString& reason_)
    : std::runtime_error(QStringLiteral("%1 (%2)").arg(reason_, file_).toStdString()),
      file(file_),
      reason(reason_) {}

SettingsStore::SettingsStore(QString root) : root_(std::move(root)) {}

SettingsStore SettingsStore::forCurrentUser() {
    return SettingsStore(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

QString SettingsStore::fileFor(const QString& application) const {
    return QDir(root_).filePath(application + QLatin1Char('/') + application + QStringLiteral(".ini"));
}

QString SettingsStore::readsetting(const QString& application, const QString& section,
                                   const QString& key, const QString& defaultText) const {
    const QString file = fileFor(application);
    QSettings settings(file, QSettings::IniFormat);
    throwOnError(settings, file);
    const QVariant value = settings.value(section + QLatin1Char('/') + key);
    if (!value.isValid()) return defaultText;
    // An unquoted comma in a hand-edited file makes QSettings read a list; the
    // stored text is what stood in the file.
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

void SettingsStore::writesetting(const QString& application, const QString& section,
                                 const QString& key, const QString& text) {
    const QString file = fileFor(application);
    QSettings settings(file, QSettings::IniFormat);
    // Refuse to rewrite a damaged file: that would throw away what it holds.
    throwOnError(settings, file);
    settings.setValue(section + QLatin1Char('/') + key, text);
    settings.sync();
    throwOnError(settings, file);
    if (!QFileInfo::exists(file)) throw StoreError(file, statusReason(QSettings::AccessError));
}

}  // namespace qv
