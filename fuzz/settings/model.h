// A reference model of the settings conversions, written plainly from their
// rules and apart from the program's own code, for the fuzz targets to check
// the program against.
#pragma once

#include <QChar>
#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <optional>
#include <string>

#include "app/module1.h"

namespace qv::model {

// The blanks allowed around a stored value: any white space.
inline bool isBlank(char16_t c) {
    return QChar(c).isSpace();
}

inline bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

inline std::u16string trimmed(const QString& text) {
    std::u16string s = text.toStdU16String();
    size_t begin = 0;
    size_t end = s.size();
    while (begin < end && isBlank(s[begin]))
        ++begin;
    while (end > begin && isBlank(s[end - 1]))
        --end;
    return s.substr(begin, end - begin);
}

// A decimal number as 0.<significant> × 10^exponent, with neither leading nor
// trailing zeros in significant; significant is empty for zero.
struct Number {
    bool negative = false;
    std::string significant;
    long long exponent = 0;
};

// [sign] digits [. digits] [e|E [sign] digits], at least one digit before the
// exponent, blanks around.
inline std::optional<Number> readNumber(const QString& text) {
    const std::u16string s = trimmed(text);
    size_t i = 0;
    Number n;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        n.negative = s[i] == u'-';
        ++i;
    }
    std::string digits;
    long long beforePoint = 0;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (isDigit(s[i])) {
            digits += static_cast<char>(s[i]);
            if (!point)
                ++beforePoint;
        } else if (s[i] == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits.empty())
        return std::nullopt;
    long long exponent = 0;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
            negativeExponent = s[i] == u'-';
            ++i;
        }
        const size_t first = i;
        for (; i < s.size() && isDigit(s[i]); ++i)
            exponent = std::min(exponent * 10 + (s[i] - u'0'), 1'000'000'000LL);
        if (i == first)
            return std::nullopt;
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != s.size())
        return std::nullopt;
    const size_t lead = digits.find_first_not_of('0');
    if (lead == std::string::npos)
        return n;
    n.significant = digits.substr(lead, digits.find_last_not_of('0') + 1 - lead);
    n.exponent = beforePoint - static_cast<long long>(lead) + exponent;
    return n;
}

// In any letter case: each character is the word's letter in upper case or
// a character whose upper case it is (a long s is a small S).
inline bool equalsIgnoringCase(const std::u16string& text, const char* upperWord) {
    size_t i = 0;
    for (; upperWord[i] != 0; ++i) {
        if (i >= text.size())
            return false;
        if (QChar(text[i]).toUpper().unicode() != static_cast<char16_t>(upperWord[i]))
            return false;
    }
    return i == text.size();
}

inline std::optional<bool> toBoolean(const QString& text) {
    const std::u16string word = trimmed(text);
    if (equalsIgnoringCase(word, "TRUE"))
        return true;
    if (equalsIgnoringCase(word, "FALSE"))
        return false;
    const auto n = readNumber(text);
    if (!n)
        return std::nullopt;
    return !n->significant.empty();
}

inline std::optional<int> toInteger(const QString& text) {
    const auto n = readNumber(text);
    if (!n)
        return std::nullopt;
    if (n->significant.empty())
        return 0;
    // 0.1 × 10^6 is already far past 16 bits.
    if (n->exponent > 6)
        return std::nullopt;
    long long whole = 0;
    for (long long k = 0; k < n->exponent; ++k)
        whole = whole * 10 + (k < static_cast<long long>(n->significant.size())
                                  ? n->significant[static_cast<size_t>(k)] - '0'
                                  : 0);
    // What follows the point, compared with one half. With a negative
    // exponent it starts with a zero, so it is below one half.
    std::string fraction;
    if (n->exponent >= 0 && n->exponent < static_cast<long long>(n->significant.size()))
        fraction = n->significant.substr(static_cast<size_t>(n->exponent));
    else if (n->exponent < 0)
        fraction = "0";
    if (!fraction.empty()) {
        if (fraction[0] > '5' || (fraction[0] == '5' && fraction.size() > 1))
            ++whole;
        else if (fraction == "5" && whole % 2 == 1)
            ++whole;
    }
    const long long value = n->negative ? -whole : whole;
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return static_cast<int>(value);
}

inline QString booleanText(bool value) {
    return QString::fromLatin1(value ? "True" : "False");
}

inline QString integerText(int value) {
    return QString::fromStdString(std::to_string(value));
}

// The twelve keys in the order loadsettings handles them, with their
// defaults for a missing key.
struct Field {
    const char* key;
    const char* fallback;
    bool Settings::*boolean;
    qint16 Settings::*integer;
    QString Settings::*text;
};

inline const Field kFields[] = {
    {"runonce", "True", &Settings::runonce, nullptr, nullptr},
    {"changebackground", "True", &Settings::changebackground, nullptr, nullptr},
    {"backchange", "5", nullptr, &Settings::backchange, nullptr},
    {"shapedirectory", "\\shapes\\", nullptr, nullptr, &Settings::shapedirectory},
    {"playmusic", "True", &Settings::playmusic, nullptr, nullptr},
    {"sameobject", "False", &Settings::sameobject, nullptr, nullptr},
    {"howmanytimes", "1", nullptr, &Settings::howmanytimes, nullptr},
    {"howtochangepictures", "timer", nullptr, nullptr, &Settings::howtochangepictures},
    {"fxspeed", "10", nullptr, &Settings::fxspeed, nullptr},
    {"playsameobj", "False", &Settings::playsameobj, nullptr, nullptr},
    {"repeatquestion", "True", &Settings::repeatquestion, nullptr, nullptr},
    {"fxplayspeed", "10", nullptr, &Settings::fxplayspeed, nullptr},
};

// The text savesettings must store for the field.
inline QString storedText(const Settings& settings, const Field& field) {
    if (field.boolean)
        return booleanText(settings.*field.boolean);
    if (field.integer)
        return integerText(settings.*field.integer);
    return settings.*field.text;
}

}  // namespace qv::model
