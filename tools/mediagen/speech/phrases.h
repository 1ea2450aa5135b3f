#pragma once

#include <QString>

#include <vector>

namespace speechgen {

struct Phrase {
    QString stem;  // file name without ".wav"
    QString text;  // what the voice is given to say
};

// Every spoken phrase of the library, in a fixed order.
std::vector<Phrase> allPhrases();

}  // namespace speechgen
