#include "settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
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
    if (settings.status() != QSettings::NoError)
        throw StoreError(file, statusReason(settings.status()));
}

// QSettings reports a damaged file only to the first reader in a process, so
// the file is looked at here before each use: every line must be blank, a
// comment, a [section] or a key=value pair, and the whole of it text.
void throwIfDamaged(const QString& file) {
    QFile in(file);
    if (!in.exists())
        return;
    if (!in.open(QIODevice::ReadOnly))
        throw StoreError(file, statusReason(QSettings::AccessError));
    const QByteArray bytes = in.readAll();
    const auto damaged = [&file]() {
        throw StoreError(file, statusReason(QSettings::FormatError));
    };
    if (bytes.contains('\0'))
        damaged();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError())
        damaged();
    for (const QString& rawLine : text.split(QLatin1Char('\n'))) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) ||
            line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')))
                damaged();
            continue;
        }
        if (!line.contains(QLatin1Char('=')))
            damaged();
    }
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
    return QDir(root_).filePath(application + QLatin1Char('/') + application +
                                QStringLiteral(".ini"));
}

QString SettingsStore::readsetting(const QString& application, const QString& section,
                                   const QString& key, const QString& defaultText) const {
    const QString file = fileFor(application);
    throwIfDamaged(file);
    QSettings settings(file, QSettings::IniFormat);
    throwOnError(settings, file);
    const QVariant value = settings.value(section + QLatin1Char('/') + key);
    if (!value.isValid())
        return defaultText;
    // An unquoted comma in a hand-edited file makes QSettings read a list; the
    // stored text is what stood in the file.
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

void SettingsStore::writesetting(const QString& application, const QString& section,
                                 const QString& key, const QString& text) {
    writesettings(application, section, {{key, text}});
}

void SettingsStore::writesettings(const QString& application, const QString& section,
                                  const KeyTexts& keyTexts) {
    const QString file = fileFor(application);
    // Refuse to rewrite a damaged file: that would throw away what it holds.
    throwIfDamaged(file);
    QSettings settings(file, QSettings::IniFormat);
    // Only ever replace the file whole; never write into it in place.
    settings.setAtomicSyncRequired(true);
    throwOnError(settings, file);
    for (const auto& [key, text] : keyTexts)
        settings.setValue(section + QLatin1Char('/') + key, text);
    settings.sync();
    throwOnError(settings, file);
    if (!QFileInfo::exists(file))
        throw StoreError(file, statusReason(QSettings::AccessError));
}

}  // namespace qv
