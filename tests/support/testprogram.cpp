#include "testprogram.h"

namespace qvtest {

TestProgram::TestProgram(const QString& programFolder)
    : store(configRoot.path()),
      // No web site, as the program is built by default; a test may set one.
      platform{clock, audio, desktop, random, store, programFolder, QString()},
      forms(std::make_unique<qv::Forms>(platform, module1)) {}

TestProgram::~TestProgram() {
    forms.reset();
}

void TestProgram::startWith(const qv::StartOptions& options) {
    forms.reset();
    forms = std::make_unique<qv::Forms>(platform, module1, options);
}

void TestProgram::storeDefaults() {
    for (const auto& key : qv::kSettingKeys)
        storeText(QString::fromLatin1(key.key), QString::fromLatin1(key.defaultText));
}

void TestProgram::useSettings(const QMap<QString, QString>& changed) {
    storeDefaults();
    for (auto it = changed.begin(); it != changed.end(); ++it)
        storeText(it.key(), it.value());
    qv::loadsettings(module1.settings, store);
}

void TestProgram::storeText(const QString& key, const QString& text) {
    store.writesetting(qv::kApplicationName, qv::kSettingsSection, key, text);
}

QString TestProgram::storedText(const QString& key) const {
    return store.readsetting(qv::kApplicationName, qv::kSettingsSection, key,
                             QStringLiteral("<missing>"));
}

}  // namespace qvtest
