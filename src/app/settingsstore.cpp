#include "settingsstore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
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

// The last size and time at which QSettings found each file damaged.
struct DamagedFile {
    qint64 size = 0;
    QDateTime modified;
};

QHash<QString, DamagedFile>& damagedFiles() {
    static QHash<QString, DamagedFile> files;
    return files;
}

// QSettings reads a section's lines only when the section is first used, and
// reports the damage it finds there only to that reader: later readers of the
// unchanged file get its earlier reading and no error. So every section is
// read at once here, and a damaged file is remembered for as long as it
// keeps its size and time, which is also as long as QSettings keeps its reading.
void throwIfReaderFindsDamage(QSettings& settings, const QString& file) {
    const QFileInfo info(file);
    const QString path = info.absoluteFilePath();
    const auto known = damagedFiles().constFind(path);
    if (known != damagedFiles().cend() && known->size == info.size() &&
        known->modified == info.lastModified())
        throw StoreError(file, statusReason(QSettings::FormatError));
    settings.allKeys();
    if (settings.status() == QSettings::FormatError)
        damagedFiles().insert(path, {info.size(), info.lastModified()});
    throwOnError(settings, file);
}

// QSettings takes bytes that are no text without a word, and the next save
// would throw away what they held; and it reports its own damage only to the
// first reader (above). So the file is looked at here before each use too:
// every line must be blank, a comment, a [section] or a key=value pair, and
// the whole of it text.
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
    throwIfReaderFindsDamage(settings, file);
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
    throwIfReaderFindsDamage(settings, file);
    for (const auto& [key, text] : keyTexts)
        settings.setValue(section + QLatin1Char('/') + key, text);
    settings.sync();
    throwOnError(settings, file);
    if (!QFileInfo::exists(file))
        throw StoreError(file, statusReason(QSettings::AccessError));
}

}  // namespace qv
