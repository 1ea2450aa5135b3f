#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>
#include <stdexcept>

namespace qv {

// The twelve user settings. Every window reads this record directly; only
// loadsettings and the start-up read of runonce assign it.
struct Settings {
    bool runonce = false;
    bool changebackground = false;
    qint16 backchange = 0;
    QString shapedirectory;
    bool playmusic = false;
    bool sameobject = false;
    qint16 howmanytimes = 0;
    QString howtochangepictures;
    qint16 fxspeed = 0;
    bool playsameobj = false;
    bool repeatquestion = false;
    qint16 fxplayspeed = 0;

    bool operator==(const Settings&) const = default;
};

// Stored text to value. "True"/"False" in any letter case, or a decimal number
// (0 is False, anything else True).
std::optional<bool> textToBoolean(const QString& text);

// A decimal number with blanks around it allowed, rounded to the nearest whole
// number with an exact half going to the even neighbour; it must fit 16 bits.
std::optional<qint16> textToInteger(const QString& text);

QString booleanToText(bool value);
QString integerToText(qint16 value);

// A stored text that does not convert to its field's type.
class ConversionError : public std::runtime_error {
public:
    ConversionError(const QString& key, const QString& storedText, const QString& storeFile);
    QString key;
    QString storedText;
    QString storeFile;
};

}  // namespace qv
