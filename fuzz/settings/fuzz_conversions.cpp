// Fuzzes the four settings conversions with arbitrary texts against the
// reference model. Fast, so that a run reaches millions of texts.
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

#include "app/settings.h"
#include "checks.h"
#include "model.h"

using namespace fuzzcheck;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Every 16-bit value is stored in its one form and read back.
    for (int v = -32768; v <= 32767; ++v) {
        const QString text = qv::integerToText(static_cast<qint16>(v));
        check(text == qv::model::integerText(v), "integerToText", text);
        check(qv::textToInteger(text) == static_cast<qint16>(v), "integer round trip", text);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The input is one stored text, as readsetting would return it.
    checkConversions(
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    return 0;
}
