#include "settings.h"

#include <QRegularExpression>

#include <algorithm>

namespace qv {

namespace {

// A decimal number split into its digits and the position of the decimal
// point, so that rounding is exact: "2.5000000000000001" must round up, which
// a double cannot tell apart from 2.5.
struct Decimal {
    bool negative = false;
    QString digits;   // without sign or point, at least one digit
    int pointAt = 0;  // number of digits before the decimal point; may be < 0 or > size
};

std::optional<Decimal> parseDecimal(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^([+-]?)(\d*)(?:\.(\d*))?(?:[eE]([+-]?)(\d+))?$)"));
    // The same blanks as around "True" and "False": any white space.
    const auto m = pattern.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const QString whole = m.captured(2);
    const QString fraction = m.captured(3);
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    Decimal d;
    d.negative = m.captured(1) == QLatin1String("-");
    d.digits = whole + fraction;
    // An exponent of any length is a number; saturating it keeps the sum in range.
    qint64 exponent = 0;
    for (QChar c : m.captured(5))
        exponent = std::min<qint64>(exponent * 10 + c.digitValue(), 1'000'000'000);
    if (m.captured(4) == QLatin1String("-"))
        exponent = -exponent;
    // Further left every value lies below one tenth, further right every value
    // but zero passes 16 bits: moving the point further changes no result.
    d.pointAt = static_cast<int>(
        std::clamp<qint64>(static_cast<qint64>(whole.size()) + exponent, -1, d.digits.size() + 6));
    return d;
}

bool isZero(const QString& digits) {
    for (QChar c : digits)
        if (c != QLatin1Char('0'))
            return false;
    return true;
}

// The decimal rounded half-to-even, or nullopt if its magnitude passes limit.
std::optional<qint64> roundHalfEven(const Decimal& d, qint64 limit) {
    qint64 whole = 0;
    for (int i = 0; i < d.pointAt; ++i) {
        const int digit = i < d.digits.size() ? d.digits[i].digitValue() : 0;
        whole = whole * 10 + digit;
        if (whole > limit)
            return std::nullopt;
    }
    // The digits after the point decide the rounding: above, below or exactly one half.
    QString rest;
    if (d.pointAt < 0)
        rest = QString(-d.pointAt, QLatin1Char('0')) + d.digits;
    else if (d.pointAt < d.digits.size())
        rest = d.digits.mid(d.pointAt);
    if (!rest.isEmpty()) {
        const int first = rest[0].digitValue();
        const bool tailZero = isZero(rest.mid(1));
        const bool roundUp =
            first > 5 || (first == 5 && !tailZero) || (first == 5 && tailZero && whole % 2 == 1);
        if (roundUp)
            ++whole;
    }
    if (whole > limit)
        return std::nullopt;
    return d.negative ? -whole : whole;
}

}  // namespace

std::optional<bool> textToBoolean(const QString& text) {
    const QString word = text.trimmed();
    if (word.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    const auto number = parseDecimal(text);
    if (!number)
        return std::nullopt;
    return !isZero(number->digits);
}

std::optional<qint16> textToInteger(const QString& text) {
    const auto number = parseDecimal(text);
    if (!number)
        return std::nullopt;
    // -32768 is allowed, +32768 is not: check the magnitude against the wider bound first.
    const auto rounded = roundHalfEven(*number, 32768);
    if (!rounded || *rounded > 32767 || *rounded < -32768)
        return std::nullopt;
    return static_cast<qint16>(*rounded);
}

QString booleanToText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString integerToText(qint16 value) {
    return QString::number(value);
}

ConversionError::ConversionError(const QString& key_, const QString& storedText_,
                                 const QString& storeFile_)
    : std::runtime_error(
          QStringLiteral(
              "The setting \"%1\" holds \"%2\", which is not a valid value (settings file: %3)")
              .arg(key_, storedText_, storeFile_)
              .toStdString()),
      key(key_),
      storedText(storedText_),
      storeFile(storeFile_) {}

}  // namespace qv
