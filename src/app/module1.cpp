#include "module1.h"

#include <variant>

namespace qv {

namespace {

using FieldRef = std::variant<bool Settings::*, qint16 Settings::*, QString Settings::*>;

struct Field {
    SettingKey name;
    FieldRef member;
};

const Field kFields[] = {
    {{"runonce", "True"}, &Settings::runonce},
    {{"changebackground", "True"}, &Settings::changebackground},
    {{"backchange", "5"}, &Settings::backchange},
    {{"shapedirectory", "\\shapes\\"}, &Settings::shapedirectory},
    {{"playmusic", "True"}, &Settings::playmusic},
    {{"sameobject", "False"}, &Settings::sameobject},
    {{"howmanytimes", "1"}, &Settings::howmanytimes},
    {{"howtochangepictures", "timer"}, &Settings::howtochangepictures},
    {{"fxspeed", "10"}, &Settings::fxspeed},
    {{"playsameobj", "False"}, &Settings::playsameobj},
    {{"repeatquestion", "True"}, &Settings::repeatquestion},
    {{"fxplayspeed", "10"}, &Settings::fxplayspeed},
};

template <typename T>
T convertOrThrow(const std::optional<T>& value, const QString& key, const QString& text,
                 const SettingsStore& store) {
    if (!value)
        throw ConversionError(key, text, store.fileFor(kApplicationName));
    return *value;
}

}  // namespace

const SettingKey kSettingKeys[12] = {
    kFields[0].name, kFields[1].name, kFields[2].name,  kFields[3].name,
    kFields[4].name, kFields[5].name, kFields[6].name,  kFields[7].name,
    kFields[8].name, kFields[9].name, kFields[10].name, kFields[11].name,
};

void loadsettings(Settings& settings, const SettingsStore& store) {
    for (const Field& field : kFields) {
        const QString key = QString::fromLatin1(field.name.key);
        const QString text = store.readsetting(kApplicationName, kSettingsSection, key,
                                               QString::fromLatin1(field.name.defaultText));
        std::visit(
            [&](auto member) {
                using T = std::remove_reference_t<decltype(settings.*member)>;
                if constexpr (std::is_same_v<T, bool>)
                    settings.*member = convertOrThrow(textToBoolean(text), key, text, store);
                else if constexpr (std::is_same_v<T, qint16>)
                    settings.*member = convertOrThrow(textToInteger(text), key, text, store);
                else
                    settings.*member = text;
            },
            field.member);
    }
}

void savesettings(const Settings& settings, SettingsStore& store) {
    SettingsStore::KeyTexts texts;
    for (const Field& field : kFields) {
        const QString text = std::visit(
            [&](auto member) -> QString {
                const auto& value = settings.*member;
                using T = std::remove_cvref_t<decltype(value)>;
                if constexpr (std::is_same_v<T, bool>)
                    return booleanToText(value);
                else if constexpr (std::is_same_v<T, qint16>)
                    return integerToText(value);
                else
                    return value;
            },
            field.member);
        texts.append({QString::fromLatin1(field.name.key), text});
    }
    // All twelve in one replacement of the file: never half old, half new.
    store.writesettings(kApplicationName, kSettingsSection, texts);
}

bool readRunonce(const SettingsStore& store) {
    const QString text = store.readsetting(kApplicationName, kSettingsSection,
                                           QStringLiteral("runonce"), QStringLiteral("False"));
    return convertOrThrow(textToBoolean(text), QStringLiteral("runonce"), text, store);
}

}  // namespace qv
