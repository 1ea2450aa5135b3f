// What both settings fuzz targets check, and how they report a mismatch:
// libFuzzer keeps the input of any abort as a crash.
#pragma once

#include <QString>

#include <cstdio>
#include <cstdlib>

#include "app/settings.h"
#include "model.h"

namespace fuzzcheck {

[[noreturn]] inline void fail(const char* what, const QString& detail) {
    std::fprintf(stderr, "MISMATCH: %s: %s\n", what, qPrintable(detail));
    std::abort();
}

inline void check(bool ok, const char* what, const QString& detail = {}) {
    if (!ok)
        fail(what, detail);
}

inline QString shown(const QString& text) {
    return QStringLiteral("\"%1\" (%2)").arg(text, QString::fromLatin1(text.toUtf8().toHex(' ')));
}

inline void checkConversions(const QString& text) {
    const auto boolean = qv::textToBoolean(text);
    const auto expectedBoolean = qv::model::toBoolean(text);
    check(boolean == expectedBoolean, "textToBoolean", shown(text));
    if (boolean) {
        check(qv::booleanToText(*boolean) == qv::model::booleanText(*boolean), "booleanToText");
        check(qv::textToBoolean(qv::booleanToText(*boolean)) == boolean, "boolean round trip");
    }
    const auto integer = qv::textToInteger(text);
    const auto expectedInteger = qv::model::toInteger(text);
    check(integer.has_value() == expectedInteger.has_value() &&
              (!integer || int(*integer) == *expectedInteger),
          "textToInteger", shown(text));
    if (integer) {
        check(qv::integerToText(*integer) == qv::model::integerText(*integer), "integerToText",
              shown(text));
        check(qv::textToInteger(qv::integerToText(*integer)) == integer, "integer round trip",
              shown(text));
    }
}

}  // namespace fuzzcheck
